#include "KVElementContainer.h"

#include "model/KVElementType.h"

#include <algorithm>
#include <functional>

namespace {

QString candidate(const QString &strStem, int n)
{
    return QStringLiteral("%1_%2").arg(strStem).arg(n);
}

// Splits "<stem>_<n>" (n written without leading zeros, 1 or more); false for any other name.
bool splitNumbered(const QString &strName, QString &strStem, int &n)
{
    const int nSep = strName.lastIndexOf(QLatin1Char('_'));
    if (nSep < 0 || nSep + 1 >= strName.size() || strName.at(nSep + 1) == QLatin1Char('0'))
        return false;
    bool bOk = false;
    const QStringRef suffix = strName.midRef(nSep + 1);
    for (const QChar ch : suffix) {
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return false;
    }
    n = suffix.toInt(&bOk);
    if (!bOk)
        return false;
    strStem = strName.left(nSep);
    return true;
}

} // namespace

KVElementContainer::KVElementContainer() = default;

KVElementContainer::~KVElementContainer() = default;

int KVElementContainer::type() const
{
    return KVElementType::Scene;
}

KVElement *KVElementContainer::clone() const
{
    return copyContainerInto(new KVElementContainer);
}

KVElementContainer *KVElementContainer::copyContainerInto(KVElementContainer *pTarget) const
{
    copyElementInto(pTarget);
    pTarget->m_nNextChildId = m_nNextChildId;
    return pTarget;
}

void KVElementContainer::init()
{
    KVElement::init();
    m_nNextChildId = 1;
}

void KVElementContainer::makeUniqueName()
{
    if (name().isEmpty())
        setName(firstNameCandidate());
    for (KVElement *pChild : children())
        pChild->makeUniqueName();
}

double KVElementContainer::parentWidth(const KVLayoutKey &layout) const
{
    return widthPixels(layout);
}

double KVElementContainer::parentHeight(const KVLayoutKey &layout) const
{
    return heightPixels(layout);
}

int KVElementContainer::addElement(KVElement *pElement, int nIndex, KVElement *pParent)
{
    if (!pElement)
        return -1;
    pElement->assignIds(m_nNextChildId);
    KVElement *pTarget = pParent && pParent->container() == this ? pParent : this;
    const int nUsed = pTarget->insertChild(pElement, nIndex);
    if (nUsed >= 0)
        pElement->makeUniqueName();
    return nUsed;
}

bool KVElementContainer::isNameTaken(const QString &strName, const KVElement *pExcept) const
{
    if (strName == name())
        return true;
    int nCount = m_hashNameCounts.value(strName, 0);
    if (nCount == 0)
        return false;
    if (pExcept && pExcept != this && pExcept->container() == this) {
        pExcept->forEachInSubtree([&](const KVElement *pElement) {
            if (pElement->name() == strName)
                --nCount;
        });
    }
    return nCount > 0;
}

KVElement *KVElementContainer::elementReadAs(int nId, int nOccurrence) const
{
    if (m_hashReadIds.isEmpty())
        return findElement(nId);
    const auto it = m_hashReadIds.constFind(nId);
    return it != m_hashReadIds.cend() ? it->value(nOccurrence, it->first()) : nullptr;
}

QStringList KVElementContainer::renumberRepeatedIds()
{
    m_hashReadIds.clear();
    QHash<int, QList<KVElement *>> &byId = m_hashReadIds;
    QList<int> order;
    QList<KVElement *> stack;
    for (auto it = children().crbegin(); it != children().crend(); ++it)
        stack.append(*it);
    int nNext = m_nNextChildId;
    while (!stack.isEmpty()) {
        KVElement *pElement = stack.takeLast();
        QList<KVElement *> &carriers = byId[pElement->id()];
        if (carriers.isEmpty())
            order.append(pElement->id());
        carriers.append(pElement);
        nNext = std::max(nNext, pElement->id() + 1);
        const QList<KVElement *> &kids = pElement->children();
        for (auto it = kids.crbegin(); it != kids.crend(); ++it)
            stack.append(*it);
    }
    QStringList repairs;
    for (int nId : qAsConst(order)) {
        const QList<KVElement *> carriers = byId.value(nId);
        if (carriers.size() < 2)
            continue;
        for (int n = 1; n < carriers.size(); ++n) {
            carriers.at(n)->setId(nNext++);
            repairs << tr("Element id %1 is used %2 times; element \"%3\" gets the new id %4.")
                           .arg(nId)
                           .arg(carriers.size())
                           .arg(carriers.at(n)->name())
                           .arg(carriers.at(n)->id());
        }
    }
    m_nNextChildId = nNext;
    return repairs;
}

KVElement *KVElementContainer::findElement(int nId) const
{
    KVElement *pFound = nullptr;
    // Pre-order, stopping at the first match.
    std::function<bool(KVElement *)> visit = [&](KVElement *pElement) {
        for (KVElement *pChild : pElement->children()) {
            if (pChild->id() == nId) {
                pFound = pChild;
                return true;
            }
            if (visit(pChild))
                return true;
        }
        return false;
    };
    visit(const_cast<KVElementContainer *>(this));
    return pFound;
}

QString KVElementContainer::uniqueNameFor(const KVElement *pElement) const
{
    // The names of the element's own subtree do not count against it; they are gathered once.
    QHash<QString, int> ownNames;
    if (pElement != this && pElement->container() == this) {
        pElement->forEachInSubtree([&](const KVElement *p) {
            if (!p->name().isEmpty())
                ++ownNames[p->name()];
        });
    }
    const auto taken = [&](const QString &strName) {
        if (strName == name())
            return true;
        const int nCount = m_hashNameCounts.value(strName, 0);
        return nCount > 0 && nCount - ownNames.value(strName, 0) > 0;
    };

    const QString strName = pElement->name();
    if (!strName.isEmpty() && !taken(strName))
        return strName;
    const QString strStem = strName.isEmpty() ? KVElementType::name(pElement->type()) : strName;

    int &nNext = m_hashStemNext[strStem];
    if (nNext < 1)
        nNext = 1;
    // Every "<stem>_<k>" below nNext is taken by some element, but one held only by the element's
    // own subtree is free for it.
    int n = nNext;
    for (auto it = ownNames.cbegin(); it != ownNames.cend(); ++it) {
        QString strOwnStem;
        int k = 0;
        if (splitNumbered(it.key(), strOwnStem, k) && k < n && strOwnStem == strStem)
            n = k;
    }
    QString strCandidate = candidate(strStem, n);
    while (taken(strCandidate))
        strCandidate = candidate(strStem, ++n);
    nNext = std::max(nNext, n);
    return strCandidate;
}

void KVElementContainer::registerSubtree(const KVElement *pElement)
{
    pElement->forEachInSubtree([this](const KVElement *p) { addName(p->name()); });
}

void KVElementContainer::unregisterSubtree(const KVElement *pElement)
{
    pElement->forEachInSubtree([this](const KVElement *p) { removeName(p->name()); });
}

void KVElementContainer::elementRenamed(const KVElement *pElement, const QString &strOld,
                                        const QString &strNew)
{
    if (pElement == this) {
        nameFreed(strOld);
        return;
    }
    removeName(strOld);
    addName(strNew);
}

void KVElementContainer::addName(const QString &strName)
{
    if (!strName.isEmpty())
        ++m_hashNameCounts[strName];
}

void KVElementContainer::removeName(const QString &strName)
{
    if (strName.isEmpty())
        return;
    auto it = m_hashNameCounts.find(strName);
    if (it == m_hashNameCounts.end())
        return;
    if (--it.value() > 0)
        return;
    m_hashNameCounts.erase(it);
    nameFreed(strName);
}

void KVElementContainer::nameFreed(const QString &strName)
{
    QString strStem;
    int n = 0;
    if (!splitNumbered(strName, strStem, n))
        return;
    auto it = m_hashStemNext.find(strStem);
    if (it != m_hashStemNext.end() && n < it.value())
        it.value() = n;
}
