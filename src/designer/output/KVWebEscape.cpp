#include "KVWebEscape.h"

#include <QRegularExpression>
#include <QUrl>

namespace {
QString hex4(ushort u)
{
    return QStringLiteral("\\u%1").arg(u, 4, 16, QLatin1Char('0'));
}
} // namespace

QString KVWebEscape::html(const QString &str)
{
    QString out;
    out.reserve(str.size() + str.size() / 8);
    for (const QChar ch : str) {
        switch (ch.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        case '\'': out += QLatin1String("&#39;"); break;
        default: out += ch; break;
        }
    }
    return out;
}

QString KVWebEscape::jsString(const QString &str)
{
    QString out;
    out.reserve(str.size() + str.size() / 8);
    for (const QChar ch : str) {
        const ushort u = ch.unicode();
        switch (u) {
        case '\\': out += QLatin1String("\\\\"); break;
        case '\'': out += QLatin1String("\\'"); break;
        case '"': out += QLatin1String("\\\""); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\t': out += QLatin1String("\\t"); break;
        case '<':
        case '>':
        case '&':
        case 0x2028:
        case 0x2029: out += hex4(u); break;
        default:
            if (u < 0x20 || u == 0x7f)
                out += hex4(u);
            else
                out += ch;
            break;
        }
    }
    return out;
}

QString KVWebEscape::jsonInScript(const QString &strJson)
{
    QString out = strJson;
    out.replace(QLatin1Char('<'), QLatin1String("\\u003c"));
    out.replace(QLatin1Char('>'), QLatin1String("\\u003e"));
    out.replace(QLatin1Char('&'), QLatin1String("\\u0026"));
    out.replace(QChar(0x2028), QLatin1String("\\u2028"));
    out.replace(QChar(0x2029), QLatin1String("\\u2029"));
    return out;
}

QString KVWebEscape::urlPath(const QString &strPath)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(strPath, "/"));
}

QString KVWebEscape::safeUrl(const QString &strUrl)
{
    const QString strTrimmed = strUrl.trimmed();
    // A scheme is letters, digits, "+", "-" and "." before the first ":" that comes before any "/".
    static const QRegularExpression reScheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):"));
    const QRegularExpressionMatch match = reScheme.match(strTrimmed);
    if (match.hasMatch()) {
        const QString strScheme = match.captured(1).toLower();
        if (strScheme != QLatin1String("http") && strScheme != QLatin1String("https"))
            return QString();
    }
    // Control characters could hide a scheme from the check above.
    for (const QChar ch : strTrimmed) {
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7f)
            return QString();
    }
    return strTrimmed;
}
