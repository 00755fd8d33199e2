#pragma once

#include <QHash>
#include <QRegularExpression>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

// The common part of the code editors' highlighters: ordered rules (a pattern and the text class
// its matches take), block comments that run over several lines, and one colour per text class
// ("Text(normal)", "Comment", "Number", "String", "Operator", "Identifier", "Keyword", "BuiltIn").
class KVSyntaxHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    explicit KVSyntaxHighlighter(QTextDocument *pDocument);

    // The text classes with their colours, in the order the options dialog lists them.
    static QStringList textClasses();
    static QHash<QString, QColor> defaultColors();
    void setColors(const QHash<QString, QColor> &colors);
    QColor color(const QString &strClass) const { return m_colors.value(strClass); }
    // The text class of the character at nPosition of a block after highlighting; empty for normal text.
    static QString classAt(const QTextBlock &block, int nPosition);

protected:
    void highlightBlock(const QString &strText) override;
    // Later rules win where matches overlap; a pattern with a capture group colours group 1 only.
    void addRule(const QString &strPattern, const QString &strClass,
                 QRegularExpression::PatternOptions options = QRegularExpression::NoPatternOption);
    void addWords(const QStringList &words, const QString &strClass, bool bCaseSensitive = true);
    void setBlockComment(const QString &strStart, const QString &strEnd);

private:
    struct Rule {
        QRegularExpression pattern;
        QString strClass;
    };
    QTextCharFormat formatOf(const QString &strClass) const;

    QList<Rule> m_rules;
    QString m_strCommentStart;
    QString m_strCommentEnd;
    QHash<QString, QColor> m_colors;
};
