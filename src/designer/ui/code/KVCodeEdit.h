#pragma once

#include <QPlainTextEdit>
#include <QTextDocument>

class KVSyntaxHighlighter;

// A code editor: line numbers and fold markers in a sidebar, matching brackets, folding of
// bracketed blocks, zoom, kept indentation, search and replace, and the colours and switches of
// the code-editor settings, which it follows while it lives.
class KVCodeEdit : public QPlainTextEdit
{
    Q_OBJECT
    Q_PROPERTY(bool bracketsMatchingEnabled READ bracketsMatchingEnabled WRITE setBracketsMatchingEnabled)
    Q_PROPERTY(bool codeFoldingEnabled READ codeFoldingEnabled WRITE setCodeFoldingEnabled)
    Q_PROPERTY(bool lineNumbersVisible READ lineNumbersVisible WRITE setLineNumbersVisible)
    Q_PROPERTY(bool textWrapEnabled READ textWrapEnabled WRITE setTextWrapEnabled)

public:
    enum Language { JavaScript, Html, Css, PlainText };

    explicit KVCodeEdit(QWidget *pParent = nullptr, Language eLanguage = JavaScript);

    Language language() const { return m_eLanguage; }
    KVSyntaxHighlighter *highlighter() const { return m_pHighlighter; }
    bool bracketsMatchingEnabled() const { return m_bBrackets; }
    bool codeFoldingEnabled() const { return m_bFolding; }
    bool lineNumbersVisible() const { return m_bLineNumbers; }
    bool textWrapEnabled() const { return lineWrapMode() != NoWrap; }
    int zoom() const { return m_nZoom; }
    int sidebarWidth() const;
    // The positions of the bracket at the cursor (or just before it) and of its partner; -1 when none.
    QPair<int, int> matchingBrackets() const;

    // Search from the cursor, wrapping around the end (or the start, searching backwards); the match
    // is selected. False when the text holds no match.
    bool find(const QString &strText, QTextDocument::FindFlags flags);
    // Replaces the selected match and selects the next one; with no match selected, selects the next
    // match. The message of a failure, or empty.
    QString replaceNext(const QString &strText, const QString &strReplacement, QTextDocument::FindFlags flags);
    // Replaces every match in one undo step; *pCount (when given) gets the number. The message of a
    // failure, or empty.
    QString replaceAll(const QString &strText, const QString &strReplacement, QTextDocument::FindFlags flags,
                       int *pCount = nullptr);
    static QString replaceFailedMessage();    // "Failed to replace some words."
    static QString cannotReplaceMessage();    // "Cannot replace the current text."

    void paintSidebar(QPaintEvent *pEvent);
    void sidebarClicked(int nY);

signals:
    void editingFinished();
    void zoomChanged(int percentage);

public slots:
    void updateSidebar();
    void mark(const QString &strText, Qt::CaseSensitivity eCaseSensitivity);
    void setBracketsMatchingEnabled(bool bEnable);
    void setCodeFoldingEnabled(bool bEnable);
    void setLineNumbersVisible(bool bVisible);
    void setTextWrapEnabled(bool bEnable);
    void fold(int nLine);
    void unfold(int nLine);
    void toggleFold(int nLine);
    void zoomTo(int nPercentage);
    void updateCursor();
    // Reads the code-editor settings again (switches and colours).
    void applySettings();

protected:
    void keyPressEvent(QKeyEvent *pEvent) override;
    void resizeEvent(QResizeEvent *pEvent) override;
    void focusOutEvent(QFocusEvent *pEvent) override;
    void wheelEvent(QWheelEvent *pEvent) override;

private:
    // The line that closes the bracket opened last on nLine, or -1.
    int foldEnd(int nLine) const;
    bool isFolded(int nLine) const;

    Language m_eLanguage;
    KVSyntaxHighlighter *m_pHighlighter = nullptr;
    QWidget *m_pSidebar = nullptr;
    bool m_bBrackets = true;
    bool m_bFolding = true;
    bool m_bLineNumbers = true;
    int m_nZoom = 100;
    QList<QTextEdit::ExtraSelection> m_marks;
};
