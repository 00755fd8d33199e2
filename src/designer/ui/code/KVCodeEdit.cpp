#include "KVCodeEdit.h"

#include "KVCSSHighlighter.h"
#include "KVCodeEditorSettings.h"
#include "KVHtmlSyntaxHighlighter.h"
#include "KVScriptHighlighter.h"

#include <QKeyEvent>
#include <QPainter>
#include <QTextBlock>

namespace {

// The strip left of the text: line numbers and fold markers, drawn and clicked through the editor.
class Sidebar : public QWidget
{
public:
    explicit Sidebar(KVCodeEdit *pEditor) : QWidget(pEditor), m_pEditor(pEditor) {}
    QSize sizeHint() const override { return QSize(m_pEditor->sidebarWidth(), 0); }

protected:
    void paintEvent(QPaintEvent *pEvent) override { m_pEditor->paintSidebar(pEvent); }
    void mousePressEvent(QMouseEvent *pEvent) override { m_pEditor->sidebarClicked(pEvent->pos().y()); }

private:
    KVCodeEdit *m_pEditor;
};

const QString kOpen = QStringLiteral("({[");
const QString kClose = QStringLiteral(")}]");

} // namespace

KVCodeEdit::KVCodeEdit(QWidget *pParent, Language eLanguage)
    : QPlainTextEdit(pParent)
    , m_eLanguage(eLanguage)
{
    setObjectName(QStringLiteral("KVCodeEdit"));
    if (eLanguage == JavaScript)
        m_pHighlighter = new KVScriptHighlighter(document());
    else if (eLanguage == Html)
        m_pHighlighter = new KVHtmlSyntaxHighlighter(document());
    else if (eLanguage == Css)
        m_pHighlighter = new KVCSSHighlighter(document());
    m_pSidebar = new Sidebar(this);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(10);
    setFont(font);
    setTabStopDistance(fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 4);
    connect(this, &QPlainTextEdit::blockCountChanged, this, &KVCodeEdit::updateSidebar);
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect &rect, int nDy) {
        if (nDy)
            m_pSidebar->scroll(0, nDy);
        else
            m_pSidebar->update(0, rect.y(), m_pSidebar->width(), rect.height());
    });
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &KVCodeEdit::updateCursor);
    connect(KVCodeEditorSettings::getInstance(), &KVCodeEditorSettings::changed, this, &KVCodeEdit::applySettings);
    applySettings();
}

void KVCodeEdit::applySettings()
{
    KVCodeEditorSettings *pSettings = KVCodeEditorSettings::getInstance();
    m_bBrackets = pSettings->value(QStringLiteral("bracket_match"));
    m_bFolding = pSettings->value(QStringLiteral("code_folding"));
    m_bLineNumbers = pSettings->value(QStringLiteral("show_line_number"));
    setLineWrapMode(pSettings->value(QStringLiteral("text_wrap")) ? WidgetWidth : NoWrap);
    const QHash<QString, QColor> colors = pSettings->colors();
    if (m_pHighlighter)
        m_pHighlighter->setColors(colors);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, colors.value(QStringLiteral("Background")));
    pal.setColor(QPalette::Text, colors.value(QStringLiteral("Text(normal)")));
    setPalette(pal);
    if (!m_bFolding) {
        for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
            block.setVisible(true);
        document()->markContentsDirty(0, document()->characterCount());
    }
    updateSidebar();
    updateCursor();
}

int KVCodeEdit::sidebarWidth() const
{
    int nDigits = 1;
    for (int n = qMax(1, blockCount()); n >= 10; n /= 10)
        ++nDigits;
    const int nNumbers = m_bLineNumbers ? 6 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * nDigits : 0;
    return nNumbers + (m_bFolding ? 12 : 0);
}

void KVCodeEdit::updateSidebar()
{
    setViewportMargins(sidebarWidth(), 0, 0, 0);
    const QRect rect = contentsRect();
    m_pSidebar->setGeometry(QRect(rect.left(), rect.top(), sidebarWidth(), rect.height()));
    m_pSidebar->setVisible(sidebarWidth() > 0);
    m_pSidebar->update();
}

void KVCodeEdit::resizeEvent(QResizeEvent *pEvent)
{
    QPlainTextEdit::resizeEvent(pEvent);
    updateSidebar();
}

void KVCodeEdit::paintSidebar(QPaintEvent *pEvent)
{
    const QHash<QString, QColor> colors = KVCodeEditorSettings::getInstance()->colors();
    QPainter painter(m_pSidebar);
    painter.fillRect(pEvent->rect(), colors.value(QStringLiteral("Sidebar")));
    QTextBlock block = firstVisibleBlock();
    int nTop = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    const int nNumbersWidth = sidebarWidth() - (m_bFolding ? 12 : 0);
    while (block.isValid() && nTop <= pEvent->rect().bottom()) {
        const int nBottom = nTop + qRound(blockBoundingRect(block).height());
        if (block.isVisible() && nBottom >= pEvent->rect().top()) {
            if (m_bLineNumbers) {
                painter.setPen(colors.value(QStringLiteral("Line Number")));
                painter.drawText(0, nTop, nNumbersWidth - 3, fontMetrics().height(), Qt::AlignRight,
                                 QString::number(block.blockNumber() + 1));
            }
            if (m_bFolding && foldEnd(block.blockNumber()) > block.blockNumber()) {
                painter.setPen(colors.value(QStringLiteral("Fold Indicator")).darker(150));
                const QRect box(nNumbersWidth + 2, nTop + (fontMetrics().height() - 8) / 2, 8, 8);
                painter.drawRect(box);
                painter.drawLine(box.left() + 2, box.center().y(), box.right() - 2, box.center().y());
                if (isFolded(block.blockNumber()))
                    painter.drawLine(box.center().x(), box.top() + 2, box.center().x(), box.bottom() - 2);
            }
        }
        block = block.next();
        nTop = nBottom;
    }
}

void KVCodeEdit::sidebarClicked(int nY)
{
    if (!m_bFolding)
        return;
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF rect = blockBoundingGeometry(block).translated(contentOffset());
        if (block.isVisible() && nY >= rect.top() && nY < rect.bottom()) {
            toggleFold(block.blockNumber());
            return;
        }
    }
}

int KVCodeEdit::foldEnd(int nLine) const
{
    const QTextBlock start = document()->findBlockByNumber(nLine);
    const int nOpen = start.text().lastIndexOf(QLatin1Char('{'));
    if (nOpen < 0 || start.text().indexOf(QLatin1Char('}'), nOpen) >= 0)
        return -1;
    int nDepth = 0;
    for (QTextBlock block = start; block.isValid(); block = block.next()) {
        const QString text = block.text();
        for (int i = block == start ? nOpen : 0; i < text.size(); ++i) {
            if (text.at(i) == QLatin1Char('{'))
                ++nDepth;
            else if (text.at(i) == QLatin1Char('}') && --nDepth == 0)
                return block.blockNumber();
        }
    }
    return -1;
}

bool KVCodeEdit::isFolded(int nLine) const
{
    const QTextBlock next = document()->findBlockByNumber(nLine + 1);
    return next.isValid() && !next.isVisible();
}

void KVCodeEdit::fold(int nLine)
{
    const int nEnd = foldEnd(nLine);
    if (!m_bFolding || nEnd <= nLine + 1)
        return;
    // The closing line stays, so the block shows as "{ ... }" over two lines.
    for (QTextBlock block = document()->findBlockByNumber(nLine + 1); block.isValid() && block.blockNumber() < nEnd;
         block = block.next())
        block.setVisible(false);
    document()->markContentsDirty(0, document()->characterCount());
    viewport()->update();
    updateSidebar();
}

void KVCodeEdit::unfold(int nLine)
{
    const int nEnd = foldEnd(nLine);
    for (QTextBlock block = document()->findBlockByNumber(nLine + 1); block.isValid() && block.blockNumber() < nEnd;
         block = block.next())
        block.setVisible(true);
    document()->markContentsDirty(0, document()->characterCount());
    viewport()->update();
    updateSidebar();
}

void KVCodeEdit::toggleFold(int nLine)
{
    if (isFolded(nLine))
        unfold(nLine);
    else
        fold(nLine);
}

QPair<int, int> KVCodeEdit::matchingBrackets() const
{
    const QString text = document()->toPlainText();
    int nAt = textCursor().position();
    const auto isBracket = [&](int n) { return n >= 0 && n < text.size() && (kOpen + kClose).contains(text.at(n)); };
    if (!isBracket(nAt))
        --nAt;
    if (!isBracket(nAt))
        return {-1, -1};
    const QChar c = text.at(nAt);
    const bool bOpen = kOpen.contains(c);
    const QChar partner = bOpen ? kClose.at(kOpen.indexOf(c)) : kOpen.at(kClose.indexOf(c));
    int nDepth = 0;
    for (int i = nAt; i >= 0 && i < text.size(); i += bOpen ? 1 : -1) {
        if (text.at(i) == c)
            ++nDepth;
        else if (text.at(i) == partner && --nDepth == 0)
            return {nAt, i};
    }
    return {nAt, -1};
}

void KVCodeEdit::updateCursor()
{
    QList<QTextEdit::ExtraSelection> selections = m_marks;
    if (m_bBrackets) {
        const QHash<QString, QColor> colors = KVCodeEditorSettings::getInstance()->colors();
        const QPair<int, int> pair = matchingBrackets();
        const QColor color = colors.value(pair.second >= 0 ? QStringLiteral("Bracket Matching") : QStringLiteral("Bracket Error"));
        for (int nPos : {pair.first, pair.second}) {
            if (nPos < 0)
                continue;
            QTextEdit::ExtraSelection selection;
            selection.format.setBackground(color);
            selection.cursor = QTextCursor(document());
            selection.cursor.setPosition(nPos);
            selection.cursor.setPosition(nPos + 1, QTextCursor::KeepAnchor);
            selections.append(selection);
        }
    }
    setExtraSelections(selections);
}

void KVCodeEdit::mark(const QString &strText, Qt::CaseSensitivity eCaseSensitivity)
{
    m_marks.clear();
    if (!strText.isEmpty()) {
        const QColor color = KVCodeEditorSettings::getInstance()->colors().value(QStringLiteral("Marker"));
        QTextCursor cursor(document());
        const QTextDocument::FindFlags flags =
            eCaseSensitivity == Qt::CaseSensitive ? QTextDocument::FindCaseSensitively : QTextDocument::FindFlags();
        while (!(cursor = document()->find(strText, cursor, flags)).isNull()) {
            QTextEdit::ExtraSelection selection;
            selection.format.setBackground(color);
            selection.cursor = cursor;
            m_marks.append(selection);
        }
    }
    updateCursor();
}

void KVCodeEdit::setBracketsMatchingEnabled(bool bEnable)
{
    m_bBrackets = bEnable;
    updateCursor();
}

void KVCodeEdit::setCodeFoldingEnabled(bool bEnable)
{
    m_bFolding = bEnable;
    updateSidebar();
}

void KVCodeEdit::setLineNumbersVisible(bool bVisible)
{
    m_bLineNumbers = bVisible;
    updateSidebar();
}

void KVCodeEdit::setTextWrapEnabled(bool bEnable)
{
    setLineWrapMode(bEnable ? WidgetWidth : NoWrap);
}

void KVCodeEdit::zoomTo(int nPercentage)
{
    nPercentage = qBound(50, nPercentage, 400);
    if (nPercentage == m_nZoom)
        return;
    m_nZoom = nPercentage;
    QFont f = font();
    f.setPointSizeF(10.0 * nPercentage / 100.0);
    setFont(f);
    setTabStopDistance(fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 4);
    updateSidebar();
    emit zoomChanged(nPercentage);
}

void KVCodeEdit::wheelEvent(QWheelEvent *pEvent)
{
    if (pEvent->modifiers() & Qt::ControlModifier) {
        zoomTo(m_nZoom + (pEvent->angleDelta().y() > 0 ? 25 : -25));
        return;
    }
    QPlainTextEdit::wheelEvent(pEvent);
}

void KVCodeEdit::focusOutEvent(QFocusEvent *pEvent)
{
    QPlainTextEdit::focusOutEvent(pEvent);
    emit editingFinished();
}

void KVCodeEdit::keyPressEvent(QKeyEvent *pEvent)
{
    if (pEvent->key() != Qt::Key_Return && pEvent->key() != Qt::Key_Enter) {
        // A closing brace typed at the start of an indented line takes one level of indentation off.
        if (pEvent->text() == QLatin1String("}")) {
            QTextCursor cursor = textCursor();
            const QString before = cursor.block().text().left(cursor.positionInBlock());
            if (!before.isEmpty() && before.trimmed().isEmpty()) {
                cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor,
                                    before.endsWith(QLatin1Char('\t')) ? 1 : qMin(4, int(before.size())));
                cursor.removeSelectedText();
            }
        }
        QPlainTextEdit::keyPressEvent(pEvent);
        return;
    }
    // A new line keeps the indentation of the line it breaks, one level more after an opening bracket.
    QTextCursor cursor = textCursor();
    const QString line = cursor.block().text();
    const QString before = line.left(cursor.positionInBlock());
    int nIndent = 0;
    while (nIndent < line.size() && (line.at(nIndent) == QLatin1Char(' ') || line.at(nIndent) == QLatin1Char('\t')))
        ++nIndent;
    QString indent = line.left(qMin(nIndent, int(before.size())));
    const QString trimmed = before.trimmed();
    if (!trimmed.isEmpty() && kOpen.contains(trimmed.back()))
        indent += QLatin1Char('\t');
    cursor.insertText(QLatin1Char('\n') + indent);
    setTextCursor(cursor);
}

bool KVCodeEdit::find(const QString &strText, QTextDocument::FindFlags flags)
{
    if (strText.isEmpty())
        return false;
    QTextCursor found = document()->find(strText, textCursor(), flags);
    if (found.isNull()) {
        QTextCursor wrap(document());
        if (flags & QTextDocument::FindBackward)
            wrap.movePosition(QTextCursor::End);
        found = document()->find(strText, wrap, flags);
    }
    if (found.isNull())
        return false;
    setTextCursor(found);
    return true;
}

QString KVCodeEdit::replaceFailedMessage()
{
    return tr("Failed to replace some words.");
}

QString KVCodeEdit::cannotReplaceMessage()
{
    return tr("Cannot replace the current text.");
}

QString KVCodeEdit::replaceNext(const QString &strText, const QString &strReplacement, QTextDocument::FindFlags flags)
{
    if (isReadOnly() || strText.isEmpty())
        return cannotReplaceMessage();
    // The selection is replaced only when it is itself a match of the search.
    QTextCursor cursor = textCursor();
    if (cursor.hasSelection()) {
        QTextCursor start(document());
        start.setPosition(cursor.selectionStart());
        const QTextCursor again = document()->find(strText, start, flags & ~QTextDocument::FindBackward);
        if (!again.isNull() && again.selectionStart() == cursor.selectionStart()
            && again.selectionEnd() == cursor.selectionEnd()) {
            cursor.insertText(strReplacement);
            setTextCursor(cursor);
            find(strText, flags);
            return QString();
        }
    }
    return find(strText, flags) ? QString() : cannotReplaceMessage();
}

QString KVCodeEdit::replaceAll(const QString &strText, const QString &strReplacement, QTextDocument::FindFlags flags,
                               int *pCount)
{
    int nCount = 0;
    if (!isReadOnly() && !strText.isEmpty()) {
        QTextCursor edit(document());
        edit.beginEditBlock();
        QTextCursor cursor(document());
        while (!(cursor = document()->find(strText, cursor, flags & ~QTextDocument::FindBackward)).isNull()) {
            cursor.insertText(strReplacement);
            ++nCount;
        }
        edit.endEditBlock();
    }
    if (pCount)
        *pCount = nCount;
    return nCount > 0 ? QString() : replaceFailedMessage();
}
