#include "KVTextEditor.h"

#include "KVTextFloatingTool.h"

#include "canvas/KVCanvas.h"
#include "canvas/KVHTMLExposingCanvas.h"
#include "document/KVDocument.h"
#include "plugin/KVDesignerActions.h"
#include "resources/KVFontResource.h"
#include "resources/KVResourceManager.h"
#include "resources/KVResourceType.h"
#include "resources/KVSystemFonts.h"
#include "ui/IUi.h"

#include "ActionManager.h"
#include "ICore.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QRegularExpression>
#include <QToolBar>
#include <QWebEnginePage>

namespace {
// The toolbar's buttons in order: icon, tip, page command, whether it shows a state, and the menu
// group it also appears in (0 alignment, 1 format, -1 toolbar only).
struct Button
{
    const char *icon;
    const char *tip;
    const char *command;
    bool bCheckable;
    int nMenuGroup;
};

const Button kButtons[] = {
    {"text_align_left", QT_TRANSLATE_NOOP("KVTextEditor", "Align Left"), "justifyleft", true, 0},
    {"text_align_center", QT_TRANSLATE_NOOP("KVTextEditor", "Center"), "justifycenter", true, 0},
    {"text_align_right", QT_TRANSLATE_NOOP("KVTextEditor", "Align Right"), "justifyright", true, 0},
    {"text_align_justify", QT_TRANSLATE_NOOP("KVTextEditor", "Justify"), "justifyfull", true, 0},
    {"text_bold", QT_TRANSLATE_NOOP("KVTextEditor", "Bold"), "bold", true, 1},
    {"text_italic", QT_TRANSLATE_NOOP("KVTextEditor", "Italic"), "italic", true, 1},
    {"text_underline", QT_TRANSLATE_NOOP("KVTextEditor", "Underline"), "underline", true, 1},
    {"text_strike_through", QT_TRANSLATE_NOOP("KVTextEditor", "Strikethrough"), "strikethrough", true, 1},
    {"text_superscript", QT_TRANSLATE_NOOP("KVTextEditor", "Superscript"), "superScript", false, 1},
    {"text_subscript", QT_TRANSLATE_NOOP("KVTextEditor", "Subscript"), "subscript", false, 1},
    {"text_increase_indent", QT_TRANSLATE_NOOP("KVTextEditor", "Increase Indent"), "indent", false, -1},
    {"text_decrease_indent", QT_TRANSLATE_NOOP("KVTextEditor", "Decrease Indent"), "outdent", false, -1},
    {"text_bullets", QT_TRANSLATE_NOOP("KVTextEditor", "Bullets"), "insertunorderedlist", true, -1},
    {"text_numbering", QT_TRANSLATE_NOOP("KVTextEditor", "Numbering"), "insertorderedlist", true, -1},
};

// The key of the page's format report that tells each checkable button's state.
QString stateKey(const QString &strCommand)
{
    static const QHash<QString, QString> kKeys = {
        {QStringLiteral("justifyleft"), QStringLiteral("justifyLeft")},
        {QStringLiteral("justifycenter"), QStringLiteral("justifyCenter")},
        {QStringLiteral("justifyright"), QStringLiteral("justifyRight")},
        {QStringLiteral("justifyfull"), QStringLiteral("justifyFull")},
        {QStringLiteral("bold"), QStringLiteral("bold")},
        {QStringLiteral("italic"), QStringLiteral("italic")},
        {QStringLiteral("underline"), QStringLiteral("underline")},
        {QStringLiteral("strikethrough"), QStringLiteral("strikethrough")},
        {QStringLiteral("insertunorderedlist"), QStringLiteral("insertUnorderedList")},
        {QStringLiteral("insertorderedlist"), QStringLiteral("insertOrderedList")}};
    return kKeys.value(strCommand);
}

const int kSizes[] = {256, 128, 64, 48, 36, 30, 26, 22, 18, 16, 14, 12, 10};

QIcon colorIcon(const QColor &color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setFont(QFont(QStringLiteral("sans-serif"), 9, QFont::Bold));
    painter.drawText(QRect(0, 0, 16, 12), Qt::AlignCenter, QStringLiteral("A"));
    painter.fillRect(QRect(1, 12, 14, 4), color);
    return QIcon(pixmap);
}

// The first family of a CSS font-family list, without its quotes.
QString firstFamily(const QString &strCss)
{
    QString strFirst = strCss.section(QLatin1Char(','), 0, 0).trimmed();
    if (strFirst.size() >= 2 && (strFirst.startsWith(QLatin1Char('"')) || strFirst.startsWith(QLatin1Char('\''))))
        strFirst = strFirst.mid(1, strFirst.size() - 2);
    return strFirst;
}

// A CSS colour as the page's computed style gives it: "rgb(r, g, b)" or "rgba(r, g, b, a)".
QColor cssColor(const QString &strCss)
{
    static const QRegularExpression kRgb(QStringLiteral(R"(^rgba?\(\s*(\d+),\s*(\d+),\s*(\d+)(?:,\s*([\d.]+))?\s*\)$)"));
    const QRegularExpressionMatch m = kRgb.match(strCss.trimmed());
    if (!m.hasMatch())
        return QColor(strCss);
    QColor color(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!m.captured(4).isEmpty())
        color.setAlphaF(m.captured(4).toDouble());
    return color;
}
} // namespace

KVTextEditor::KVTextEditor(KVCanvas *pCanvas)
    : QObject(pCanvas)
    , m_pCanvas(pCanvas)
    , m_pTool(new KVTextFloatingTool(pCanvas))
{
    buildToolBar();
    buildMenu();
    loadFonts(nullptr);
}

KVTextEditor::~KVTextEditor()
{
    delete m_pMenu;
    // The tool may float in the view's parent, which outlives the view.
    delete m_pTool;
}

void KVTextEditor::buildToolBar()
{
    QToolBar *pBar = m_pTool->toolBar();
    IUi *pUi = IUi::getInstance();
    m_pFamily = new QComboBox(pBar);
    m_pFamily->setObjectName(QStringLiteral("TextFontFamily"));
    m_pFamily->setEditable(true);
    m_pFamily->setInsertPolicy(QComboBox::NoInsert);
    m_pFamily->setMinimumContentsLength(14);
    m_pFamily->setToolTip(tr("Font"));
    connect(m_pFamily, QOverload<const QString &>::of(&QComboBox::activated), this,
            &KVTextEditor::onFontFamilyActivated);
    // A family or size typed and entered (the list's completion may also activate it: the page
    // command is the same twice)
    connect(m_pFamily->lineEdit(), &QLineEdit::returnPressed, this, &KVTextEditor::onFontFamilyTextEnter);
    pBar->addWidget(m_pFamily);

    m_pSize = new QComboBox(pBar);
    m_pSize->setObjectName(QStringLiteral("TextFontSize"));
    m_pSize->setEditable(true);
    m_pSize->setInsertPolicy(QComboBox::NoInsert);
    m_pSize->setMinimumContentsLength(4);
    m_pSize->setToolTip(tr("Font Size"));
    for (int nSize : kSizes)
        m_pSize->addItem(QString::number(nSize));
    connect(m_pSize, QOverload<const QString &>::of(&QComboBox::activated), this, &KVTextEditor::onFontSizeChanged);
    connect(m_pSize->lineEdit(), &QLineEdit::returnPressed, this, &KVTextEditor::onFontSizeEdited);
    pBar->addWidget(m_pSize);
    pBar->addSeparator();

    for (const Button &button : kButtons) {
        QAction *pAction = pBar->addAction(pUi ? pUi->icon(QString::fromLatin1(button.icon)) : QIcon(),
                                           tr(button.tip));
        pAction->setData(QString::fromLatin1(button.command));
        pAction->setCheckable(button.bCheckable);
        connect(pAction, &QAction::triggered, this, &KVTextEditor::onExecEditorCommand);
        m_commandActions.append(pAction);
        if (button.command == QByteArrayLiteral("justifyfull") || button.command == QByteArrayLiteral("subscript"))
            pBar->addSeparator();
    }
    m_pColor = pBar->addAction(colorIcon(m_color), tr("Text Color"));
    connect(m_pColor, &QAction::triggered, this, &KVTextEditor::onSelectTextColor);
    QAction *pLink = pBar->addAction(pUi ? pUi->icon(QStringLiteral("text_insert_hyperlink")) : QIcon(), tr("Insert Link"));
    connect(pLink, &QAction::triggered, this, &KVTextEditor::showInsertLinkPopup);
    QAction *pClear = pBar->addAction(pUi ? pUi->icon(QStringLiteral("text_remove_format")) : QIcon(), tr("Remove Format"));
    connect(pClear, &QAction::triggered, this, &KVTextEditor::onRemoveFormat);

    m_pToggle = new QAction(pUi ? pUi->icon(QStringLiteral("text_toolbar")) : QIcon(),
                            tr("Floating Text Format Toolbar"), this);
    m_pToggle->setCheckable(true);
    m_pToggle->setChecked(true);
    connect(m_pToggle, &QAction::toggled, this, &KVTextEditor::showFloatTools);
}

void KVTextEditor::buildMenu()
{
    m_pMenu = new QMenu(m_pCanvas);
    m_pMenu->setObjectName(QStringLiteral("TextEditMenu"));
    const QList<QPair<QString, void (KVTextEditor::*)()>> kEdits = {
        {tr("Cut"), &KVTextEditor::cut},
        {tr("Copy"), &KVTextEditor::copy},
        {tr("Paste"), &KVTextEditor::paste},
        {tr("Paste as Plain Text"), &KVTextEditor::pastePlainText},
        {tr("Delete"), &KVTextEditor::onDelete},
        {tr("Select All"), &KVTextEditor::selectAll}};
    for (const auto &edit : kEdits)
        connect(m_pMenu->addAction(edit.first), &QAction::triggered, this, edit.second);
    m_pMenu->addSeparator();
    QMenu *pAlignment = m_pMenu->addMenu(tr("Alignment"));
    QMenu *pFormat = m_pMenu->addMenu(tr("Format"));
    for (int i = 0; i < int(sizeof(kButtons) / sizeof(kButtons[0])); ++i) {
        if (kButtons[i].nMenuGroup == 0)
            pAlignment->addAction(m_commandActions.at(i));
        else if (kButtons[i].nMenuGroup == 1)
            pFormat->addAction(m_commandActions.at(i));
    }
    m_pMenu->addAction(m_pToggle);
    m_pMenu->addSeparator();
    connect(m_pMenu->addAction(tr("Stop Editing")), &QAction::triggered, m_pCanvas,
            QOverload<>::of(&KVCanvas::stopEditText));
}

QAction *KVTextEditor::commandAction(const QString &strCommand) const
{
    for (QAction *pAction : m_commandActions) {
        if (pAction->data().toString() == strCommand)
            return pAction;
    }
    return nullptr;
}

QStringList KVTextEditor::families() const
{
    QStringList list;
    for (int i = 0; i < m_pFamily->count(); ++i)
        list.append(m_pFamily->itemText(i));
    return list;
}

void KVTextEditor::loadFonts(KVDocument *pDocument)
{
    QStringList project;
    KVResourceManager *pManager = pDocument ? pDocument->resourceManager() : nullptr;
    if (pManager) {
        for (KVResource *pResource : pManager->resources()) {
            auto *pFont = pResource && pResource->type() == KVResourceType::Font ? static_cast<KVFontResource *>(pResource)
                                                                                : nullptr;
            if (!pFont)
                continue;
            const QString strFamily = pFont->webFont() ? pFont->webFont()->m_strFamily : pFont->family();
            if (!strFamily.isEmpty() && !project.contains(strFamily))
                project.append(strFamily);
        }
    }
    project.sort(Qt::CaseInsensitive);
    if (project == m_projectFamilies && m_pFamily->count() > 0)
        return;
    m_projectFamilies = project;
    static const QStringList s_installed = KVSystemFonts::families();
    const QString strCurrent = m_pFamily->currentText();
    const QSignalBlocker blocker(m_pFamily);
    m_pFamily->clear();
    m_pFamily->addItems(project);
    if (!project.isEmpty())
        m_pFamily->insertSeparator(m_pFamily->count());
    for (const QString &strFamily : s_installed) {
        if (!project.contains(strFamily))
            m_pFamily->addItem(strFamily);
    }
    m_pFamily->setEditText(strCurrent);
}

QString KVTextEditor::pageShortcut(const QString &strPortable)
{
    QString str = strPortable.toLower();
#ifdef Q_OS_MACOS
    // Qt's "Ctrl" is the command key there, which the page knows as meta.
    str.replace(QStringLiteral("ctrl+"), QStringLiteral("meta+"));
#endif
    return str;
}

QString KVTextEditor::shortcutList() const
{
    ActionManager *pActions = ICore::instance() ? ICore::instance()->actionManager() : nullptr;
    QStringList list;
    for (const KVActionSpec &spec : KVDesignerActions::catalogue()) {
        if (!QByteArray(spec.id).startsWith("Text."))
            continue;
        QAction *pAction = pActions ? pActions->getAction(QString::fromLatin1(spec.id)) : nullptr;
        const QList<QKeySequence> keys = pAction ? pAction->shortcuts()
                                                 : QList<QKeySequence>{QKeySequence(QString::fromLatin1(spec.shortcut))};
        for (const QKeySequence &key : keys) {
            const QString str = pageShortcut(key.toString(QKeySequence::PortableText));
            if (!str.isEmpty() && !list.contains(str))
                list.append(str);
        }
    }
    return list.join(QStringLiteral(", "));
}

void KVTextEditor::beginEditing(const QPoint &ptInCanvas)
{
    m_bEditing = true;
    // The tool floats over the stage as a sibling of the view: a child of the view would be
    // covered, for the mouse, by the web engine's own widget once the page takes the focus.
    QWidget *pHost = m_pCanvas->parentWidget() ? m_pCanvas->parentWidget() : m_pCanvas;
    if (m_pTool->parentWidget() != pHost)
        m_pTool->setParent(pHost);
    const QPoint ptOrigin = pHost == m_pCanvas ? QPoint() : m_pCanvas->pos();
    m_pTool->placeAbove(ptOrigin + ptInCanvas, QRect(ptOrigin, m_pCanvas->size()));
    if (m_pToggle->isChecked()) {
        m_pTool->show();
        m_pTool->raise();
    }
}

void KVTextEditor::endEditing()
{
    m_bEditing = false;
    m_pTool->hide();
}

void KVTextEditor::hideToolbarIfNeeded()
{
    if (!m_bEditing || !m_pToggle->isChecked())
        m_pTool->hide();
}

void KVTextEditor::showFloatTools(bool bShow)
{
    if (bShow && m_bEditing) {
        m_pTool->show();
        m_pTool->raise();
    } else {
        m_pTool->hide();
    }
}

void KVTextEditor::applyFormat(const QJsonObject &joFormat)
{
    for (QAction *pAction : m_commandActions) {
        const QString strKey = stateKey(pAction->data().toString());
        if (!strKey.isEmpty() && pAction->isCheckable()) {
            const QSignalBlocker blocker(pAction);
            pAction->setChecked(joFormat.value(strKey).toBool());
        }
    }
    const QString strFamily = firstFamily(joFormat.value(QStringLiteral("fontFamily")).toString());
    if (!strFamily.isEmpty() && !m_pFamily->hasFocus()) {
        const QSignalBlocker blocker(m_pFamily);
        const int nIndex = m_pFamily->findText(strFamily, Qt::MatchFixedString);
        if (nIndex >= 0)
            m_pFamily->setCurrentIndex(nIndex);
        m_pFamily->setEditText(nIndex >= 0 ? m_pFamily->itemText(nIndex) : strFamily);
    }
    const double dSize = joFormat.value(QStringLiteral("fontSizePx")).toDouble();
    if (dSize > 0 && !m_pSize->hasFocus()) {
        const QSignalBlocker blocker(m_pSize);
        m_pSize->setEditText(QString::number(dSize, 'g', 4));
    }
    const QColor color = cssColor(joFormat.value(QStringLiteral("color")).toString());
    if (color.isValid()) {
        m_color = color;
        m_pColor->setIcon(colorIcon(color));
    }
}

void KVTextEditor::send(const QString &strCommand, const QString &strValue)
{
    // The focus stays where it is: giving it back to the page would put the page's caret at the
    // start of the text and lose the selection the next field or button acts on.
    emit execCommand(strCommand, strValue);
}

void KVTextEditor::onExecEditorCommand(bool bChecked)
{
    Q_UNUSED(bChecked)
    if (auto *pAction = qobject_cast<QAction *>(sender()))
        send(pAction->data().toString());
}

void KVTextEditor::onRemoveFormat()
{
    send(QStringLiteral("RemoveFormat"));
}

void KVTextEditor::onFontFamilyActivated(const QString &strFamily)
{
    const QString strName = strFamily.trimmed();
    if (!strName.isEmpty())
        send(QStringLiteral("fontname"), strName);
}

void KVTextEditor::onFontFamilyTextEnter()
{
    onFontFamilyActivated(m_pFamily->currentText());
}

void KVTextEditor::onFontSizeChanged(const QString &strSize)
{
    bool bOk = false;
    QString str = strSize.trimmed();
    if (str.endsWith(QStringLiteral("px")))
        str.chop(2);
    const double dSize = str.toDouble(&bOk);
    // A size that is no positive number is left alone; the field shows the caret's size again.
    if (!bOk || dSize <= 0 || dSize > 4096) {
        if (m_bEditing)
            emit m_pCanvas->exposingObject()->requestSendCurrentTextFormat();
        return;
    }
    send(QStringLiteral("fontsize"), QString::number(dSize, 'g', 6) + QStringLiteral("px"));
}

void KVTextEditor::onFontSizeEdited()
{
    onFontSizeChanged(m_pSize->currentText());
}

void KVTextEditor::onForegroundChanged(const QColor &color)
{
    if (!color.isValid())
        return;
    m_color = color;
    m_pColor->setIcon(colorIcon(color));
    send(QStringLiteral("forecolor"), QStringLiteral("rgba(%1, %2, %3, %4)")
                                          .arg(color.red())
                                          .arg(color.green())
                                          .arg(color.blue())
                                          .arg(color.alphaF()));
}

void KVTextEditor::onSelectTextColor()
{
    const QColor color = QColorDialog::getColor(m_color, m_pCanvas, tr("Text Color"), QColorDialog::ShowAlphaChannel);
    onForegroundChanged(color);
}

void KVTextEditor::showInsertLinkPopup()
{
    QDialog dialog(m_pCanvas);
    dialog.setWindowTitle(tr("Insert Link"));
    auto *pLayout = new QFormLayout(&dialog);
    auto *pUrl = new QLineEdit(&dialog);
    auto *pText = new QLineEdit(&dialog);
    pLayout->addRow(tr("URL"), pUrl);
    pLayout->addRow(tr("Text"), pText);
    auto *pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    pLayout->addRow(pButtons);
    connect(pButtons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(pButtons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted || pUrl->text().trimmed().isEmpty())
        return;
    const QString strUrl = pUrl->text().trimmed().toHtmlEscaped();
    const QString strText = pText->text().isEmpty() ? strUrl : pText->text().toHtmlEscaped();
    onInsertHyperLink(QStringLiteral("<a href=\"%1\">%2</a>").arg(strUrl, strText));
}

void KVTextEditor::onInsertHyperLink(const QString &strLinkTag)
{
    send(QStringLiteral("insertHTML"), strLinkTag);
}

void KVTextEditor::copy()
{
    m_pCanvas->page()->triggerAction(QWebEnginePage::Copy);
}

void KVTextEditor::cut()
{
    m_pCanvas->page()->triggerAction(QWebEnginePage::Cut);
}

void KVTextEditor::paste()
{
    m_pCanvas->page()->triggerAction(QWebEnginePage::Paste);
}

void KVTextEditor::pastePlainText()
{
    send(QStringLiteral("insertText"), QGuiApplication::clipboard()->text());
}

void KVTextEditor::onDelete()
{
    send(QStringLiteral("delete"));
}

void KVTextEditor::selectAll()
{
    send(QStringLiteral("selectAll"));
}
