#include "KVFunction.h"

#include "KVActionValues.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QSet>

namespace {
// Words a JavaScript variable may not be named (reserved in any mode), and the names the generated
// data and load scripts declare next to the functions: a function with one of these names would
// replace them and break every function of the file.
const QSet<QString> &forbiddenNames()
{
    static const QSet<QString> names = {
        QStringLiteral("await"), QStringLiteral("break"), QStringLiteral("case"),
        QStringLiteral("catch"), QStringLiteral("class"), QStringLiteral("const"),
        QStringLiteral("continue"), QStringLiteral("debugger"), QStringLiteral("default"),
        QStringLiteral("delete"), QStringLiteral("do"), QStringLiteral("else"),
        QStringLiteral("enum"), QStringLiteral("export"), QStringLiteral("extends"),
        QStringLiteral("false"), QStringLiteral("finally"), QStringLiteral("for"),
        QStringLiteral("function"), QStringLiteral("if"), QStringLiteral("implements"),
        QStringLiteral("import"), QStringLiteral("in"), QStringLiteral("instanceof"),
        QStringLiteral("interface"), QStringLiteral("let"), QStringLiteral("new"),
        QStringLiteral("null"), QStringLiteral("package"), QStringLiteral("private"),
        QStringLiteral("protected"), QStringLiteral("public"), QStringLiteral("return"),
        QStringLiteral("static"), QStringLiteral("super"), QStringLiteral("switch"),
        QStringLiteral("this"), QStringLiteral("throw"), QStringLiteral("true"),
        QStringLiteral("try"), QStringLiteral("typeof"), QStringLiteral("var"),
        QStringLiteral("void"), QStringLiteral("while"), QStringLiteral("with"),
        QStringLiteral("yield"),
        // names of the generated scripts
        QStringLiteral("f"), QStringLiteral("docData"), QStringLiteral("preloaderDocData"),
        QStringLiteral("li"), QStringLiteral("Kavio"),
    };
    return names;
}

const QRegularExpression &identifierPattern()
{
    static const QRegularExpression pattern(QStringLiteral("^[_$a-zA-Z][_$a-zA-Z0-9]*$"));
    return pattern;
}
} // namespace

KVFunction::KVFunction()
    : m_strName(defaultName(General))
    , m_nType(General)
    , m_nId(-1)
    , m_uuid(QUuid::createUuid())
{
}

KVFunction::~KVFunction() = default;

KVFunction *KVFunction::create(int nType)
{
    auto *pFunction = new KVFunction;
    pFunction->m_nType = nType;
    pFunction->m_strName = defaultName(nType);
    if (nType >= DocumentHandler && nType <= PreloaderHandler)
        pFunction->m_lstParams = QStringList{QStringLiteral("doc"), QStringLiteral("e")};
    return pFunction;
}

QString KVFunction::defaultName(int nType)
{
    switch (nType) {
    case DocumentHandler:
        return QStringLiteral("documentEventHandler");
    case TimelineHandler:
        return QStringLiteral("timelineEventHandler");
    case SceneHandler:
        return QStringLiteral("sceneEventHandler");
    case ElementHandler:
        return QStringLiteral("elementEventHandler");
    case PreloaderHandler:
        return QStringLiteral("preloaderEventHandler");
    default:
        break;
    }
    return QStringLiteral("untitledFunction");
}

KVFunction *KVFunction::clone() const
{
    return new KVFunction(*this);
}

QString KVFunction::text(bool bWithName) const
{
    QString strText = QStringLiteral("function");
    if (bWithName)
        strText += QLatin1Char(' ') + m_strName;
    strText += QLatin1Char('(') + m_lstParams.join(QStringLiteral(", ")) + QStringLiteral(") {\n");
    strText += m_strContent;
    strText += QStringLiteral("\n}");
    return strText;
}

QJsonObject KVFunction::toJson() const
{
    QJsonObject jo;
    jo.insert(QStringLiteral("id"), m_nId);
    jo.insert(QStringLiteral("uuid"), m_uuid.toString(QUuid::WithBraces));
    jo.insert(QStringLiteral("name"), m_strName);
    jo.insert(QStringLiteral("content"), m_strContent);
    jo.insert(QStringLiteral("type"), m_nType);
    jo.insert(QStringLiteral("params"), QJsonArray::fromStringList(m_lstParams));
    return jo;
}

void KVFunction::fromJson(const QJsonObject &jo)
{
    const QUuid uuid = QUuid::fromString(jo.value(QLatin1String("uuid")).toString());
    if (!uuid.isNull())
        m_uuid = uuid;
    m_nId = KVActionValues::toInt(jo.value(QLatin1String("id")), -1);
    m_strName = jo.value(QLatin1String("name")).toString();
    m_strContent = jo.value(QLatin1String("content")).toString();
    m_nType = KVActionValues::toInt(jo.value(QLatin1String("type")), General);
    m_lstParams.clear();
    const QJsonArray params = jo.value(QLatin1String("params")).toArray();
    for (const QJsonValue &value : params) {
        if (value.isString())
            m_lstParams << value.toString();
    }
}

bool KVFunction::isValidName(const QString &strName)
{
    return identifierPattern().match(strName).hasMatch() && !forbiddenNames().contains(strName);
}

QString KVFunction::invalidNameMessage(const QString &strName)
{
    return tr("The function name \"%1\" cannot be used: a function name must start with a letter, "
              "\"_\" or \"$\", go on with letters, digits, \"_\" or \"$\", and must not be a reserved "
              "word of JavaScript or one of the names f, docData, preloaderDocData, li and Kavio.")
        .arg(strName);
}

QString KVFunction::validNameFrom(const QString &strName)
{
    QString strValid;
    for (const QChar ch : strName) {
        const bool bAllowed = (ch >= QLatin1Char('a') && ch <= QLatin1Char('z'))
                              || (ch >= QLatin1Char('A') && ch <= QLatin1Char('Z'))
                              || (ch >= QLatin1Char('0') && ch <= QLatin1Char('9'))
                              || ch == QLatin1Char('_') || ch == QLatin1Char('$');
        strValid += bAllowed ? ch : QLatin1Char('_');
    }
    if (strValid.isEmpty())
        return defaultName(General);
    if (strValid.at(0).isDigit())
        strValid.prepend(QLatin1Char('_'));
    if (forbiddenNames().contains(strValid))
        strValid += QLatin1Char('_');
    return strValid;
}
