#include "KVFunctionContainer.h"

#include "KVActionValues.h"
#include "KVFunction.h"

#include "Reporter.h"

#include <QJsonArray>

KVFunctionContainer::KVFunctionContainer()
    : m_nCurrentId(0)
{
}

KVFunctionContainer::~KVFunctionContainer()
{
    qDeleteAll(m_functions);
}

int KVFunctionContainer::insert(KVFunction *pFunction, int nIndex)
{
    if (!pFunction || m_functions.contains(pFunction))
        return -1;
    if (!KVFunction::isValidName(pFunction->name())) {
        Reporter::error(KVFunction::invalidNameMessage(pFunction->name()));
        return -1;
    }
    pFunction->setName(uniqueName(pFunction->name(), pFunction));
    if (pFunction->id() == -1)
        pFunction->setId(++m_nCurrentId);
    else if (pFunction->id() > m_nCurrentId)
        m_nCurrentId = pFunction->id();
    if (nIndex >= 0 && nIndex < m_functions.size()) {
        m_functions.insert(nIndex, pFunction);
        return nIndex;
    }
    m_functions.append(pFunction);
    return m_functions.size() - 1;
}

int KVFunctionContainer::remove(KVFunction *pFunction)
{
    const int nIndex = m_functions.indexOf(pFunction);
    if (nIndex >= 0)
        m_functions.removeAt(nIndex);
    return nIndex;
}

void KVFunctionContainer::clear()
{
    qDeleteAll(m_functions);
    m_functions.clear();
}

KVFunction *KVFunctionContainer::findById(int nId) const
{
    for (KVFunction *pFunction : m_functions) {
        if (pFunction->id() == nId)
            return pFunction;
    }
    return nullptr;
}

KVFunction *KVFunctionContainer::findByUuid(const QUuid &uuid) const
{
    for (KVFunction *pFunction : m_functions) {
        if (pFunction->uuid() == uuid)
            return pFunction;
    }
    return nullptr;
}

KVFunction *KVFunctionContainer::findByName(const QString &strName) const
{
    for (KVFunction *pFunction : m_functions) {
        if (pFunction->name() == strName)
            return pFunction;
    }
    return nullptr;
}

bool KVFunctionContainer::isNameTaken(const QString &strName, const KVFunction *pExcept) const
{
    for (const KVFunction *pFunction : m_functions) {
        if (pFunction != pExcept && pFunction->name() == strName)
            return true;
    }
    return false;
}

QString KVFunctionContainer::uniqueName(const QString &strName, const KVFunction *pExcept) const
{
    QString strCandidate = strName;
    for (int n = 0; isNameTaken(strCandidate, pExcept); ++n)
        strCandidate += QStringLiteral("_%1").arg(n);
    return strCandidate;
}

QString KVFunctionContainer::nameProblem(const QString &strName, const KVFunction *pFunction) const
{
    if (strName.isEmpty())
        return tr("Function name is empty!");
    if (!KVFunction::isValidName(strName))
        return tr("Function name is invalid!");
    if (isNameTaken(strName, pFunction))
        return tr("Function name is duplicated!");
    return QString();
}

QHash<int, int> KVFunctionContainer::carryFunctions(const QMap<int, const KVFunction *> &functions)
{
    QHash<int, int> idMap;
    for (auto it = functions.cbegin(); it != functions.cend(); ++it) {
        const KVFunction *pSource = it.value();
        if (!pSource)
            continue;
        if (const KVFunction *pHere = findByUuid(pSource->uuid())) {
            idMap.insert(it.key(), pHere->id());
            continue;
        }
        KVFunction *pCopy = pSource->clone();
        pCopy->setId(-1);
        if (!KVFunction::isValidName(pCopy->name()))
            pCopy->setName(KVFunction::validNameFrom(pCopy->name()));
        insert(pCopy);
        idMap.insert(it.key(), pCopy->id());
    }
    return idMap;
}

QJsonObject KVFunctionContainer::toJson() const
{
    QJsonArray functions;
    for (const KVFunction *pFunction : m_functions)
        functions.append(pFunction->toJson());
    QJsonObject jo;
    jo.insert(QStringLiteral("current_id"), m_nCurrentId);
    jo.insert(QStringLiteral("functions"), functions);
    return jo;
}

void KVFunctionContainer::fromJson(const QJsonObject &jo)
{
    clear();
    m_nCurrentId = KVActionValues::toInt(jo.value(QLatin1String("current_id")), 0);
    const QJsonArray functions = jo.value(QLatin1String("functions")).toArray();
    for (const QJsonValue &value : functions) {
        if (!value.isObject())
            continue;
        auto *pFunction = new KVFunction;
        pFunction->fromJson(value.toObject());
        if (!KVFunction::isValidName(pFunction->name())) {
            const QString strOld = pFunction->name();
            pFunction->setName(uniqueName(KVFunction::validNameFrom(strOld)));
            Reporter::warning(tr("The function \"%1\" has a name that JavaScript cannot use; it was "
                                 "renamed to \"%2\".")
                                  .arg(strOld, pFunction->name()));
        }
        if (pFunction->id() > m_nCurrentId)
            m_nCurrentId = pFunction->id();
        m_functions.append(pFunction);
    }
}

QString KVFunctionContainer::functionsTable() const
{
    QString strTable = QStringLiteral("var f = [];");
    for (const KVFunction *pFunction : m_functions) {
        strTable += QLatin1Char('\n');
        strTable += QStringLiteral("var ") + pFunction->name() + QStringLiteral(" = ") + pFunction->text(true)
                    + QLatin1Char(';');
        strTable += QLatin1Char('\n');
        strTable += QStringLiteral("f.push([%1, \"%2\", %3]);")
                        .arg(QString::number(pFunction->id()), pFunction->name(), pFunction->name());
    }
    return strTable;
}
