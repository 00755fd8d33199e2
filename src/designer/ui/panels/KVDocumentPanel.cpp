#include "KVDocumentPanel.h"

#include "commands/KVCmdParam.h"
#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"
#include "document/KVDocument.h"
#include "model/KVBreakpointSet.h"

#include "ICore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QVBoxLayout>

using P = KVCmdParam;

namespace {
// Viewport items and their stored values.
const QList<QPair<const char *, int>> kViewportW = {{QT_TRANSLATE_NOOP("KVDocumentPanel", "Device Width"), -2},
                                                    {QT_TRANSLATE_NOOP("KVDocumentPanel", "Device Height"), -1},
                                                    {QT_TRANSLATE_NOOP("KVDocumentPanel", "Not Set"), -3}};
const QList<QPair<const char *, int>> kViewportH = {{QT_TRANSLATE_NOOP("KVDocumentPanel", "Device Height"), -1},
                                                    {QT_TRANSLATE_NOOP("KVDocumentPanel", "Device Width"), -2},
                                                    {QT_TRANSLATE_NOOP("KVDocumentPanel", "Not Set"), -3}};
const QList<QPair<const char *, int>> kAlignments = {{QT_TRANSLATE_NOOP("KVDocumentPanel", "Center"), 132},
                                                     {QT_TRANSLATE_NOOP("KVDocumentPanel", "Center Horizontally"), 4},
                                                     {QT_TRANSLATE_NOOP("KVDocumentPanel", "Center Vertically"), 128},
                                                     {QT_TRANSLATE_NOOP("KVDocumentPanel", "None"), 0}};
constexpr int kMaxViewport = 10000;
} // namespace

KVDocumentPanel::KVDocumentPanel(QWidget *pParent)
    : KVPanelBase(pParent)
{
    setObjectName(QStringLiteral("DocumentPanel"));
    auto *pOuter = new QVBoxLayout(this);
    pOuter->setContentsMargins(0, 0, 0, 0);
    auto *pScroll = new QScrollArea(this);
    pScroll->setWidgetResizable(true);
    pOuter->addWidget(pScroll);
    auto *pBody = new QWidget(pScroll);
    pScroll->setWidget(pBody);
    m_pForm = new QFormLayout(pBody);

    m_pTitle = addLine(tr("Title"), QStringLiteral("Title"), tr("The title of the HTML document."));
    m_pDescription = addLine(tr("Description"), QStringLiteral("Description"),
                             tr("The value of the meta tag to specify the description of the HTML document."));
    m_pAuthor = addLine(tr("Author"), QStringLiteral("Author"),
                        tr("The value of the meta tag to specify the author of the HTML document."));
    m_pKeywords = addLine(tr("Keywords"), QStringLiteral("Keywords"),
                          tr("The value of the meta tag to specify the keywords of the HTML document."));
    connect(m_pTitle, &QLineEdit::editingFinished, this, &KVDocumentPanel::onExportTitleChanged);
    connect(m_pDescription, &QLineEdit::editingFinished, this, &KVDocumentPanel::onExportDescChanged);
    connect(m_pAuthor, &QLineEdit::editingFinished, this, &KVDocumentPanel::onExportAuthorChanged);
    connect(m_pKeywords, &QLineEdit::editingFinished, this, &KVDocumentPanel::onExportKeywordsChanged);

    auto makeViewport = [this](const QList<QPair<const char *, int>> &items, const QString &strName) {
        auto *pBox = new QComboBox(this);
        pBox->setObjectName(strName);
        pBox->setEditable(true);
        pBox->setInsertPolicy(QComboBox::NoInsert);
        for (const auto &item : items)
            pBox->addItem(tr(item.first), item.second);
        pBox->setToolTip(tr("Define the value of the viewport meta tag to control layout on mobile browsers."));
        return pBox;
    };
    m_pViewportW = makeViewport(kViewportW, QStringLiteral("ViewportWidth"));
    m_pViewportH = makeViewport(kViewportH, QStringLiteral("ViewportHeight"));
    m_pForm->addRow(tr("Viewport Width"), m_pViewportW);
    m_pForm->addRow(tr("Viewport Height"), m_pViewportH);
    connect(m_pViewportW, qOverload<int>(&QComboBox::activated), this, &KVDocumentPanel::onViewportWChanged);
    connect(m_pViewportH, qOverload<int>(&QComboBox::activated), this, &KVDocumentPanel::onViewportHChanged);
    connect(m_pViewportW->lineEdit(), &QLineEdit::editingFinished, this, &KVDocumentPanel::onViewportWEdited);
    connect(m_pViewportH->lineEdit(), &QLineEdit::editingFinished, this, &KVDocumentPanel::onViewportHEdited);

    m_pContainerId = addLine(tr("Container ID"), QStringLiteral("ContainerId"),
                             tr("Define a unique identifier of the HTML tag in which the HTML5 output is embedded."));
    m_pContainerId->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("^$|^[A-Za-z]+[A-Za-z0-9_-]*$")), this));
    connect(m_pContainerId, &QLineEdit::editingFinished, this, &KVDocumentPanel::onContainerIDChanged);
    m_pClickTag = addLine(tr("Click Tag"), QStringLiteral("ClickTag"),
                          tr("The page variable through which an ad network gives the ad its landing page; "
                             "\"Open Click Tag URL\" actions read it."));
    m_pClickTag->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("^[A-Za-z_$][A-Za-z0-9_$]*$")), this));
    connect(m_pClickTag, &QLineEdit::editingFinished, this, &KVDocumentPanel::onClickTagChanged);
    const QRegularExpression folder(QStringLiteral("^$|^[^\\\\?%*:|\"<>]+$"));
    m_pResFolder = addLine(tr("Resource Folder"), QStringLiteral("ResourceFolder"),
                           tr("Define the folder path which contains the resources of the HTML5 output."));
    m_pResFolder->setValidator(new QRegularExpressionValidator(folder, this));
    connect(m_pResFolder, &QLineEdit::editingFinished, this, &KVDocumentPanel::onResFolderChanged);
    m_pPreResFolder = addLine(
        tr("Preloader Resource Folder"), QStringLiteral("PreloaderResourceFolder"),
        tr("Define the folder path which contains the resources of the custom preloader of the HTML5 output."));
    m_pPreResFolder->setValidator(new QRegularExpressionValidator(folder, this));
    connect(m_pPreResFolder, &QLineEdit::editingFinished, this, &KVDocumentPanel::onPreloaderResFolderChanged);

    m_pAlignment = new QComboBox(this);
    m_pAlignment->setObjectName(QStringLiteral("Alignment"));
    for (const auto &item : kAlignments)
        m_pAlignment->addItem(tr(item.first), item.second);
    m_pAlignment->setToolTip(tr("Decide how the document should be displayed in the browser window. By default, "
                                "the document is centered horizontally within the browser."));
    m_pForm->addRow(tr("Alignment"), m_pAlignment);
    connect(m_pAlignment, qOverload<int>(&QComboBox::activated), this, &KVDocumentPanel::onAlignmentChanged);

    auto addCheck = [this](const QString &strText, const QString &strName, const QString &strTip) {
        auto *pBox = new QCheckBox(strText, this);
        pBox->setObjectName(strName);
        pBox->setToolTip(strTip);
        m_pForm->addRow(QString(), pBox);
        return pBox;
    };
    m_pAutoFit = addCheck(tr("AutoFit"), QStringLiteral("AutoFit"),
                          tr("Automatically scale the document without changing the proportions to fit into the "
                             "container."));
    m_pAutoplay = addCheck(tr("Autoplay"), QStringLiteral("Autoplay"),
                           tr("Automatically play the document when a browser opens, otherwise the document must be "
                              "called to start using actions."));
    m_pEmbedFonts = addCheck(tr("Embed System Fonts"), QStringLiteral("EmbedSystemFonts"),
                             tr("Embed any used system fonts in the HTML5 output using CSS3 Web Fonts "
                                "Specification."));
    connect(m_pAutoFit, &QCheckBox::clicked, this, &KVDocumentPanel::onAutoFit);
    connect(m_pAutoplay, &QCheckBox::clicked, this, &KVDocumentPanel::onAutoplayChanged);
    connect(m_pEmbedFonts, &QCheckBox::clicked, this, &KVDocumentPanel::onEmbedSystemFontChanged);

    m_pPreloader = new QComboBox(this);
    m_pPreloader->setObjectName(QStringLiteral("Preloader"));
    m_pPreloader->addItem(tr("Default"), 0);
    m_pPreloader->addItem(tr("Custom"), 1);
    m_pPreloader->setToolTip(tr("Use either a default or a custom preloader as a visual indicator that is displayed "
                                "when the document is loading."));
    m_pForm->addRow(tr("Preloader"), m_pPreloader);
    connect(m_pPreloader, qOverload<int>(&QComboBox::activated), this, &KVDocumentPanel::onPreloadTypeChanged);

    auto *pTemplates = new QWidget(this);
    auto *pRow = new QHBoxLayout(pTemplates);
    pRow->setContentsMargins(0, 0, 0, 0);
    const QList<QPair<QString, void (KVDocumentPanel::*)()>> buttons = {
        {tr("Edit HTML"), &KVDocumentPanel::onEditHtml},
        {tr("Edit CSS"), &KVDocumentPanel::onEditCSS},
        {tr("Restore Defaults"), &KVDocumentPanel::onRestoreHtml}};
    for (const auto &button : buttons) {
        auto *pButton = new QPushButton(button.first, pTemplates);
        connect(pButton, &QPushButton::clicked, this, button.second);
        pRow->addWidget(pButton);
    }
    m_pForm->addRow(tr("HTML and CSS output"), pTemplates);
}

QLineEdit *KVDocumentPanel::addLine(const QString &strLabel, const QString &strName, const QString &strTip)
{
    auto *pEdit = new QLineEdit(this);
    pEdit->setObjectName(strName);
    pEdit->setToolTip(strTip);
    m_pForm->addRow(strLabel, pEdit);
    return pEdit;
}

bool KVDocumentPanel::concerns(int nType) const
{
    // Only the document-level settings show here.
    return (nType >= 59 && nType <= 100) || nType == 102;
}

void KVDocumentPanel::refresh()
{
    m_bShowing = true;
    KVDocument *pDoc = document();
    const KVDocumentSettings s = pDoc ? pDoc->settings() : KVDocumentSettings();
    m_pTitle->setText(pDoc ? pDoc->title() : QString());
    m_pDescription->setText(pDoc ? pDoc->description() : QString());
    m_pAuthor->setText(pDoc ? pDoc->author() : QString());
    m_pKeywords->setText(pDoc ? pDoc->keywords() : QString());
    showViewport(m_pViewportW, s.m_nViewportWMeta);
    showViewport(m_pViewportH, s.m_nViewportHMeta);
    m_pContainerId->setText(s.m_strContainerId);
    m_pClickTag->setText(s.m_strClickTag);
    m_pResFolder->setText(s.m_strResFolderHtml5Output);
    m_pPreResFolder->setText(s.m_strPreResFolderHtml5Output);
    m_pAlignment->setCurrentIndex(qMax(0, m_pAlignment->findData(pDoc ? pDoc->align() : 4)));
    m_pAutoFit->setChecked(pDoc && pDoc->autofit());
    m_pAutoplay->setChecked(s.m_bAutoplay);
    m_pEmbedFonts->setChecked(s.m_bEmbedSystemFont);
    m_pPreloader->setCurrentIndex(qMax(0, m_pPreloader->findData(s.m_nLoaderType)));
    m_bShowing = false;
}

void KVDocumentPanel::showViewport(QComboBox *pBox, int nValue)
{
    const int nIndex = pBox->findData(nValue);
    if (nValue < 0 && nIndex >= 0)
        pBox->setCurrentIndex(nIndex);
    else
        pBox->setEditText(QString::number(qMax(0, nValue)));
}

void KVDocumentPanel::submitValue(int nType, const QString &strText, const QList<QPair<int, QVariant>> &values)
{
    if (!document() || m_bShowing)
        return;
    auto *pCommand = new KVCommand(document(), strText, this);
    auto *pAction = new KVCommandAction(nType, document(), values.size());
    for (const auto &value : values)
        pAction->addParam(value.first == P::LayoutData ? P::makeObject(P::LayoutData, document()->breakpoints())
                                                       : P::makeValue(value.first, value.second));
    pCommand->addAction(pAction);
    submit(pCommand);
}

void KVDocumentPanel::submitText(QLineEdit *pEdit, int nType, const QString &strText, const QString &strStored)
{
    if (document() && pEdit->text() != strStored)
        submitValue(nType, strText, {{P::String, pEdit->text()}});
}

void KVDocumentPanel::onExportTitleChanged()
{
    if (document())
        submitText(m_pTitle, KVCommandAction::DocumentTitle, tr("Change Document Title"), document()->title());
}

void KVDocumentPanel::onExportDescChanged()
{
    if (document())
        submitText(m_pDescription, KVCommandAction::DocumentDescription, tr("Change Document Description"),
                   document()->description());
}

void KVDocumentPanel::onExportAuthorChanged()
{
    if (document())
        submitText(m_pAuthor, KVCommandAction::DocumentAuthor, tr("Change Document Author"), document()->author());
}

void KVDocumentPanel::onExportKeywordsChanged()
{
    if (document())
        submitText(m_pKeywords, KVCommandAction::DocumentKeywords, tr("Change Document Keywords"),
                   document()->keywords());
}

void KVDocumentPanel::onContainerIDChanged()
{
    if (document())
        submitText(m_pContainerId, 97, tr("Change Container ID"), document()->settings().m_strContainerId);
}

void KVDocumentPanel::onClickTagChanged()
{
    if (document())
        submitText(m_pClickTag, 64, tr("Change Click Tag"), document()->settings().m_strClickTag);
}

void KVDocumentPanel::onResFolderChanged()
{
    if (document())
        submitText(m_pResFolder, 95, tr("Change Resource Folder Output"),
                   document()->settings().m_strResFolderHtml5Output);
}

void KVDocumentPanel::onPreloaderResFolderChanged()
{
    if (document())
        submitText(m_pPreResFolder, 98, tr("Change Preloader Resource Folder Output"),
                   document()->settings().m_strPreResFolderHtml5Output);
}

void KVDocumentPanel::onAlignmentChanged(int nIndex)
{
    const int nValue = m_pAlignment->itemData(nIndex).toInt();
    if (document() && nValue != document()->align())
        submitValue(61, tr("Change Alignment Export"), {{P::LayoutData, QVariant()}, {P::Int, nValue}});
}

void KVDocumentPanel::onAutoFit()
{
    if (document() && m_pAutoFit->isChecked() != document()->autofit())
        submitValue(102, tr("Change AutoFit"), {{P::LayoutData, QVariant()}, {P::Bool, m_pAutoFit->isChecked()}});
}

void KVDocumentPanel::onAutoplayChanged(bool bChecked)
{
    if (document() && bChecked != document()->settings().m_bAutoplay)
        submitValue(68, tr("Change Autoplay"), {{P::Bool, bChecked}});
}

void KVDocumentPanel::onEmbedSystemFontChanged(bool bChecked)
{
    if (document() && bChecked != document()->settings().m_bEmbedSystemFont)
        submitValue(94, tr("Change Embed Font"), {{P::Bool, bChecked}});
}

void KVDocumentPanel::onPreloadTypeChanged(int nIndex)
{
    const int nType = m_pPreloader->itemData(nIndex).toInt();
    if (document() && nType != document()->settings().m_nLoaderType)
        submitValue(70, tr("Change Preloader Type"), {{P::Int, nType}});
}

void KVDocumentPanel::viewportChosen(QComboBox *pBox, int nIndex, bool bWidth)
{
    if (!document())
        return;
    const KVDocumentSettings &s = document()->settings();
    const int nValue = pBox->itemData(nIndex).toInt();
    if (nValue >= 0 || nValue == (bWidth ? s.m_nViewportWMeta : s.m_nViewportHMeta))
        return;
    submitValue(96, tr("Change Viewport Value"),
                {{P::Int, bWidth ? nValue : s.m_nViewportWMeta}, {P::Int, bWidth ? s.m_nViewportHMeta : nValue}});
}

void KVDocumentPanel::viewportEdited(QComboBox *pBox, bool bWidth)
{
    if (!document() || m_bShowing)
        return;
    const KVDocumentSettings &s = document()->settings();
    const QString strText = pBox->currentText();
    // An item's own text was chosen, not typed.
    if (pBox->findText(strText) >= 0)
        return;
    bool bOk = false;
    int nValue = strText.trimmed().toInt(&bOk);
    if (!bOk || nValue < 0) {
        refresh();
        return;
    }
    nValue = qMin(nValue, kMaxViewport);
    if (nValue == (bWidth ? s.m_nViewportWMeta : s.m_nViewportHMeta)) {
        refresh();
        return;
    }
    submitValue(96, tr("Change Viewport Value"),
                {{P::Int, bWidth ? nValue : s.m_nViewportWMeta}, {P::Int, bWidth ? s.m_nViewportHMeta : nValue}});
}

void KVDocumentPanel::onViewportWChanged(int nIndex)
{
    viewportChosen(m_pViewportW, nIndex, true);
}

void KVDocumentPanel::onViewportHChanged(int nIndex)
{
    viewportChosen(m_pViewportH, nIndex, false);
}

void KVDocumentPanel::onViewportWEdited()
{
    viewportEdited(m_pViewportW, true);
}

void KVDocumentPanel::onViewportHEdited()
{
    viewportEdited(m_pViewportH, false);
}

bool KVDocumentPanel::editTemplate(const QString &strTitle, QString &strText)
{
    QDialog dialog(this);
    dialog.setWindowTitle(strTitle);
    auto *pLayout = new QVBoxLayout(&dialog);
    auto *pEdit = new QPlainTextEdit(&dialog);
    pEdit->setPlainText(strText);
    pLayout->addWidget(pEdit);
    auto *pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(pButtons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(pButtons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    pLayout->addWidget(pButtons);
    dialog.resize(700, 500);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    strText = pEdit->toPlainText();
    return true;
}

namespace {
// The page or style template the export uses while the project has none of its own.
QString defaultTemplate(const char *pszFile)
{
    ICore *pCore = ICore::instance();
    QFile file((pCore ? pCore->resourcePath() : QString()) + QStringLiteral("/resources/canvas/player/")
               + QLatin1String(pszFile));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
} // namespace

void KVDocumentPanel::onEditHtml()
{
    if (!document())
        return;
    QString strText = document()->settings().m_strHtmlOutput;
    if (strText.isEmpty())
        strText = defaultTemplate("kvplayer.html");
    if (editTemplate(tr("Edit HTML"), strText) && strText != document()->settings().m_strHtmlOutput)
        submitValue(99, tr("Change HTML Output"), {{P::String, strText}});
}

void KVDocumentPanel::onEditCSS()
{
    if (!document())
        return;
    QString strText = document()->settings().m_strCssDoc;
    if (strText.isEmpty())
        strText = defaultTemplate("kvplayer.css");
    if (editTemplate(tr("Edit CSS"), strText) && strText != document()->settings().m_strCssDoc)
        submitValue(100, tr("Change CSS Output"), {{P::String, strText}});
}

void KVDocumentPanel::onRestoreHtml()
{
    if (document() && !document()->settings().m_strHtmlOutput.isEmpty())
        submitValue(99, tr("Restore HTML Output"), {{P::String, QString()}});
    onRestoreCSS();
}

void KVDocumentPanel::onRestoreCSS()
{
    if (document() && !document()->settings().m_strCssDoc.isEmpty())
        submitValue(100, tr("Restore CSS Output"), {{P::String, QString()}});
}
