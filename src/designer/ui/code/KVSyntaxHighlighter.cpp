#include "KVSyntaxHighlighter.h"

#include <QTextLayout>

namespace {
const int kClassProperty = QTextFormat::UserProperty + 1;
}

KVSyntaxHighlighter::KVSyntaxHighlighter(QTextDocument *pDocument)
    : QSyntaxHighlighter(pDocument)
    , m_colors(defaultColors())
{
}

QStringList KVSyntaxHighlighter::textClasses()
{
    return {QStringLiteral("Background"), QStringLiteral("Text(normal)"), QStringLiteral("Comment"),
            QStringLiteral("Number"),     QStringLiteral("String"),       QStringLiteral("Operator"),
            QStringLiteral("Identifier"), QStringLiteral("Keyword"),      QStringLiteral("BuiltIn"),
            QStringLiteral("Sidebar"),    QStringLiteral("Line Number"),  QStringLiteral("Cursor"),
            QStringLiteral("Marker"),     QStringLiteral("Bracket Matching"), QStringLiteral("Bracket Error"),
            QStringLiteral("Fold Indicator")};
}

QHash<QString, QColor> KVSyntaxHighlighter::defaultColors()
{
    return {{QStringLiteral("Background"), QColor("#ffffff")},    {QStringLiteral("Text(normal)"), QColor("#000000")},
            {QStringLiteral("Comment"), QColor("#808080")},       {QStringLiteral("Number"), QColor("#008000")},
            {QStringLiteral("String"), QColor("#800000")},        {QStringLiteral("Operator"), QColor("#808000")},
            {QStringLiteral("Identifier"), QColor("#000020")},    {QStringLiteral("Keyword"), QColor("#000080")},
            {QStringLiteral("BuiltIn"), QColor("#008080")},       {QStringLiteral("Sidebar"), QColor("#f0f0f0")},
            {QStringLiteral("Line Number"), QColor("#808080")},   {QStringLiteral("Cursor"), QColor("#000000")},
            {QStringLiteral("Marker"), QColor("#ffff00")},        {QStringLiteral("Bracket Matching"), QColor("#a0ffa0")},
            {QStringLiteral("Bracket Error"), QColor("#ffa0a0")}, {QStringLiteral("Fold Indicator"), QColor("#c0c0c0")}};
}

void KVSyntaxHighlighter::setColors(const QHash<QString, QColor> &colors)
{
    for (auto it = colors.cbegin(); it != colors.cend(); ++it)
        m_colors.insert(it.key(), it.value());
    rehighlight();
}

QString KVSyntaxHighlighter::classAt(const QTextBlock &block, int nPosition)
{
    for (const QTextLayout::FormatRange &range : block.layout()->formats()) {
        if (nPosition >= range.start && nPosition < range.start + range.length)
            return range.format.property(kClassProperty).toString();
    }
    return QString();
}

QTextCharFormat KVSyntaxHighlighter::formatOf(const QString &strClass) const
{
    QTextCharFormat format;
    format.setForeground(m_colors.value(strClass));
    format.setProperty(kClassProperty, strClass);
    if (strClass == QLatin1String("Keyword"))
        format.setFontWeight(QFont::Bold);
    return format;
}

void KVSyntaxHighlighter::addRule(const QString &strPattern, const QString &strClass,
                                  QRegularExpression::PatternOptions options)
{
    m_rules.append({QRegularExpression(strPattern, options), strClass});
}

void KVSyntaxHighlighter::addWords(const QStringList &words, const QString &strClass, bool bCaseSensitive)
{
    QStringList escaped;
    for (const QString &strWord : words)
        escaped.append(QRegularExpression::escape(strWord));
    addRule(QStringLiteral("(?<![\\w$])(?:%1)(?![\\w$])").arg(escaped.join(QLatin1Char('|'))), strClass,
            bCaseSensitive ? QRegularExpression::NoPatternOption : QRegularExpression::CaseInsensitiveOption);
}

void KVSyntaxHighlighter::setBlockComment(const QString &strStart, const QString &strEnd)
{
    m_strCommentStart = strStart;
    m_strCommentEnd = strEnd;
}

void KVSyntaxHighlighter::highlightBlock(const QString &strText)
{
    for (const Rule &rule : qAsConst(m_rules)) {
        QRegularExpressionMatchIterator it = rule.pattern.globalMatch(strText);
        while (it.hasNext()) {
            // A pattern with a group colours the group alone (the rest only places it).
            const QRegularExpressionMatch match = it.next();
            const int nGroup = rule.pattern.captureCount() > 0 ? 1 : 0;
            if (match.capturedLength(nGroup) > 0)
                setFormat(int(match.capturedStart(nGroup)), int(match.capturedLength(nGroup)), formatOf(rule.strClass));
        }
    }
    // Block comments last: whatever lies inside one is comment. State 1: the block ends inside one.
    setCurrentBlockState(0);
    if (m_strCommentStart.isEmpty())
        return;
    int nStart = previousBlockState() == 1 ? 0 : int(strText.indexOf(m_strCommentStart));
    while (nStart >= 0) {
        const int nFrom = previousBlockState() == 1 && nStart == 0 ? 0 : nStart + int(m_strCommentStart.size());
        const int nEnd = int(strText.indexOf(m_strCommentEnd, nFrom));
        int nLength;
        if (nEnd < 0) {
            setCurrentBlockState(1);
            nLength = int(strText.size()) - nStart;
        } else {
            nLength = nEnd - nStart + int(m_strCommentEnd.size());
        }
        setFormat(nStart, nLength, formatOf(QStringLiteral("Comment")));
        nStart = nEnd < 0 ? -1 : int(strText.indexOf(m_strCommentStart, nStart + nLength));
    }
}
