#include "KVScopeInjection.h"

#include "output/KVOutputPaths.h"

#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QStringList>

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

// Whether a "/" after this text starts a regular expression rather than a division: after an
// operator, an opening bracket, a separator, the start of the text or a keyword that takes an
// expression.
bool slashStartsRegex(const QString &strOut)
{
    int i = strOut.size() - 1;
    while (i >= 0 && strOut.at(i).isSpace())
        --i;
    if (i < 0)
        return true;
    const QChar c = strOut.at(i);
    if (QStringLiteral("(,=:[!&|?{};+-*%~^<>").contains(c))
        return true;
    if (!isWordChar(c))
        return false;
    int nStart = i;
    while (nStart > 0 && isWordChar(strOut.at(nStart - 1)))
        --nStart;
    static const QStringList keywords{QStringLiteral("return"), QStringLiteral("typeof"),
                                      QStringLiteral("case"),   QStringLiteral("do"),
                                      QStringLiteral("else"),   QStringLiteral("in"),
                                      QStringLiteral("instanceof"), QStringLiteral("new"),
                                      QStringLiteral("void"),   QStringLiteral("delete"),
                                      QStringLiteral("throw"),  QStringLiteral("yield")};
    return keywords.contains(strOut.mid(nStart, i - nStart + 1));
}

// Copies a quoted literal starting at nPos (the opening quote) to strOut; returns the index after it.
int copyQuoted(const QString &strIn, int nPos, QString &strOut)
{
    const QChar quote = strIn.at(nPos);
    strOut += quote;
    int i = nPos + 1;
    while (i < strIn.size()) {
        const QChar c = strIn.at(i);
        strOut += c;
        ++i;
        if (c == QLatin1Char('\\') && i < strIn.size()) {
            strOut += strIn.at(i);
            ++i;
        } else if (c == quote) {
            break;
        } else if (c == QLatin1Char('\n') && quote != QLatin1Char('`')) {
            break; // an unterminated string ends at the line
        }
    }
    return i;
}

// Copies a regular expression literal starting at nPos (its "/"); returns the index after its flags.
int copyRegex(const QString &strIn, int nPos, QString &strOut)
{
    strOut += strIn.at(nPos);
    int i = nPos + 1;
    bool bInClass = false;
    while (i < strIn.size()) {
        const QChar c = strIn.at(i);
        if (c == QLatin1Char('\n'))
            return i;
        strOut += c;
        ++i;
        if (c == QLatin1Char('\\') && i < strIn.size()) {
            strOut += strIn.at(i);
            ++i;
        } else if (c == QLatin1Char('[')) {
            bInClass = true;
        } else if (c == QLatin1Char(']')) {
            bInClass = false;
        } else if (c == QLatin1Char('/') && !bInClass) {
            break;
        }
    }
    while (i < strIn.size() && isWordChar(strIn.at(i)))
        strOut += strIn.at(i++);
    return i;
}

void trimLineEnd(QString &strOut)
{
    int n = strOut.size();
    while (n > 0 && (strOut.at(n - 1) == QLatin1Char(' ') || strOut.at(n - 1) == QLatin1Char('\t')))
        --n;
    strOut.truncate(n);
}

// Drops the line being written when a comment removal left it blank, so that no empty line stays
// where a comment line was.
void dropBlankLine(QString &strOut, bool &bLineHadComment)
{
    const int nLineStart = strOut.lastIndexOf(QLatin1Char('\n')) + 1;
    if (bLineHadComment && strOut.midRef(nLineStart).trimmed().isEmpty())
        strOut.truncate(nLineStart > 0 ? nLineStart - 1 : 0);
    bLineHadComment = false;
}

} // namespace

QString KVScopeInjection::stripComments(const QString &strSource)
{
    QString strIn = strSource;
    strIn.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QString strOut;
    strOut.reserve(strIn.size());
    bool bLineHadComment = false;
    int i = 0;
    while (i < strIn.size()) {
        const QChar c = strIn.at(i);
        const QChar next = i + 1 < strIn.size() ? strIn.at(i + 1) : QChar();
        if (c == QLatin1Char('"') || c == QLatin1Char('\'') || c == QLatin1Char('`')) {
            i = copyQuoted(strIn, i, strOut);
        } else if (c == QLatin1Char('/') && next == QLatin1Char('/')) {
            while (i < strIn.size() && strIn.at(i) != QLatin1Char('\n'))
                ++i;
            trimLineEnd(strOut);
            bLineHadComment = true;
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            const int nEnd = strIn.indexOf(QStringLiteral("*/"), i + 2);
            const int nAfter = nEnd < 0 ? strIn.size() : nEnd + 2;
            const bool bMultiLine = strIn.midRef(i, nAfter - i).contains(QLatin1Char('\n'));
            // Keeps tokens apart that the comment separated.
            const QChar before = strOut.isEmpty() ? QChar() : strOut.at(strOut.size() - 1);
            const QChar after = nAfter < strIn.size() ? strIn.at(nAfter) : QChar();
            if (bMultiLine) {
                bLineHadComment = true;
                dropBlankLine(strOut, bLineHadComment);
                strOut += QLatin1Char('\n');
            } else if (isWordChar(before) && isWordChar(after)) {
                strOut += QLatin1Char(' ');
            }
            bLineHadComment = true;
            i = nAfter;
        } else if (c == QLatin1Char('/') && slashStartsRegex(strOut)) {
            i = copyRegex(strIn, i, strOut);
        } else if (c == QLatin1Char('\n')) {
            dropBlankLine(strOut, bLineHadComment);
            strOut += c;
            ++i;
        } else {
            strOut += c;
            ++i;
        }
    }
    dropBlankLine(strOut, bLineHadComment);
    return strOut.trimmed();
}

QString KVScopeInjection::filePath(const QString &strResourcePath)
{
    return KVOutputPaths::resourceRoot(strResourcePath) + QStringLiteral("/resources/canvas/kvscopeinjection.js");
}

QString KVScopeInjection::readFile(const QString &strFile)
{
    QFile file(strFile);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral(" ");
    const QString strText = stripComments(QString::fromUtf8(file.readAll()));
    return strText.isEmpty() ? QStringLiteral(" ") : strText;
}

QString KVScopeInjection::text(const QString &strResourcePath)
{
    static QMutex mutex;
    static QString strCached;
    static bool bRead = false;
    QMutexLocker locker(&mutex);
    if (!bRead) {
        strCached = readFile(filePath(strResourcePath));
        bRead = true;
    }
    return strCached;
}
