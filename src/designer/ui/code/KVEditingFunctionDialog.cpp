#include "KVEditingFunctionDialog.h"

#include "KVCodeEdit.h"
#include "KVCodeEditorSettings.h"

#include "commands/KVHandlerCommands.h"
#include "document/KVDocument.h"
#include "interaction/KVFunction.h"
#include "interaction/KVFunctionContainer.h"
#include "interaction/KVFunctionExporter.h"
#include "plugin/KVLocationManager.h"

#include "FileDialogs.h"
#include "Reporter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShortcut>
#include <QVBoxLayout>

KVEditingFunctionDialog::KVEditingFunctionDialog(QWidget *pParent)
    : QDialog(pParent)
{
    setObjectName(QStringLiteral("KVEditingFunctionDialog"));
    setWindowTitle(tr("JavaScript Function") + QStringLiteral("[*]"));
    resize(680, 520);
    auto *pLayout = new QVBoxLayout(this);
    auto *pForm = new QFormLayout;
    m_pName = new QLineEdit(this);
    m_pName->setObjectName(QStringLiteral("FunctionName"));
    m_pName->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("^$|^[_$a-zA-Z][_$a-zA-Z0-9]*$")), m_pName));
    pForm->addRow(tr("Name"), m_pName);
    m_pParams = new QLineEdit(this);
    m_pParams->setObjectName(QStringLiteral("FunctionParams"));
    m_pParams->setPlaceholderText(tr("Parameters, separated by commas"));
    pForm->addRow(tr("Parameters"), m_pParams);
    pLayout->addLayout(pForm);

    m_pCode = new KVCodeEdit(this, KVCodeEdit::JavaScript);
    m_pCode->setObjectName(QStringLiteral("FunctionContent"));
    pLayout->addWidget(m_pCode, 1);

    m_pSearch = new QWidget(this);
    m_pSearch->setObjectName(QStringLiteral("SearchPanel"));
    auto *pGrid = new QGridLayout(m_pSearch);
    pGrid->setContentsMargins(0, 0, 0, 0);
    m_pFind = new QLineEdit(m_pSearch);
    m_pFind->setObjectName(QStringLiteral("FindWhat"));
    m_pReplace = new QLineEdit(m_pSearch);
    m_pReplace->setObjectName(QStringLiteral("ReplaceWith"));
    pGrid->addWidget(new QLabel(tr("Find what"), m_pSearch), 0, 0);
    pGrid->addWidget(m_pFind, 0, 1);
    pGrid->addWidget(new QLabel(tr("Replace with"), m_pSearch), 1, 0);
    pGrid->addWidget(m_pReplace, 1, 1);
    const QList<QPair<QString, void (KVEditingFunctionDialog::*)()>> buttons = {
        {tr("Next"), &KVEditingFunctionDialog::onSearchNext},
        {tr("Previous"), &KVEditingFunctionDialog::onSearchPrev},
        {tr("Replace"), &KVEditingFunctionDialog::onReplaceNext},
        {tr("Replace All"), &KVEditingFunctionDialog::onReplaceAll}};
    for (int i = 0; i < buttons.size(); ++i) {
        auto *pButton = new QPushButton(buttons.at(i).first, m_pSearch);
        pButton->setObjectName(buttons.at(i).first);
        pButton->setAutoDefault(false);
        connect(pButton, &QPushButton::clicked, this, buttons.at(i).second);
        pGrid->addWidget(pButton, i / 2, 2 + i % 2);
    }
    m_pWholeWord = new QCheckBox(tr("Match whole word"), m_pSearch);
    m_pMatchCase = new QCheckBox(tr("Match case"), m_pSearch);
    pGrid->addWidget(m_pWholeWord, 2, 1);
    pGrid->addWidget(m_pMatchCase, 2, 2, 1, 2);
    m_pMessage = new QLabel(m_pSearch);
    m_pMessage->setObjectName(QStringLiteral("SearchMessage"));
    pGrid->addWidget(m_pMessage, 3, 0, 1, 4);
    pLayout->addWidget(m_pSearch);
    m_pSearch->hide();

    auto *pBottom = new QHBoxLayout;
    m_pZoom = new QComboBox(this);
    m_pZoom->setObjectName(QStringLiteral("Zoom"));
    for (int nPercent : {50, 75, 100, 125, 150, 175, 200, 300, 400})
        m_pZoom->addItem(QStringLiteral("%1%").arg(nPercent));
    m_pZoom->setCurrentText(QStringLiteral("100%"));
    pBottom->addWidget(m_pZoom);
    auto *pFindButton = new QPushButton(tr("Find"), this);
    pFindButton->setObjectName(QStringLiteral("Find"));
    pFindButton->setAutoDefault(false);
    connect(pFindButton, &QPushButton::clicked, this, &KVEditingFunctionDialog::showSearchPanel);
    pBottom->addWidget(pFindButton);
    auto *pExport = new QPushButton(tr("Export to File"), this);
    pExport->setObjectName(QStringLiteral("ExportToFile"));
    pExport->setAutoDefault(false);
    connect(pExport, &QPushButton::clicked, this, &KVEditingFunctionDialog::onExportToFile);
    pBottom->addWidget(pExport);
    pBottom->addStretch(1);
    auto *pBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(pBox, &QDialogButtonBox::accepted, this, &KVEditingFunctionDialog::onAccept);
    connect(pBox, &QDialogButtonBox::rejected, this, &KVEditingFunctionDialog::reject);
    pBottom->addWidget(pBox);
    pLayout->addLayout(pBottom);

    connect(m_pZoom, &QComboBox::textActivated, this, &KVEditingFunctionDialog::onChangeZoom);
    connect(m_pCode, &KVCodeEdit::zoomChanged, this, &KVEditingFunctionDialog::onZoomChanged);
    connect(m_pCode, &QPlainTextEdit::textChanged, this, &KVEditingFunctionDialog::onEditContentChanged);
    connect(m_pFind, &QLineEdit::textChanged, this, &KVEditingFunctionDialog::onSearchKeywordChanged);
    connect(m_pFind, &QLineEdit::returnPressed, this, &KVEditingFunctionDialog::onSearchNext);
    for (QCheckBox *pBox2 : {m_pWholeWord, m_pMatchCase})
        connect(pBox2, &QCheckBox::toggled, this, &KVEditingFunctionDialog::onSearchFlagsChanged);
    auto *pFindKey = new QShortcut(QKeySequence::Find, this);
    connect(pFindKey, &QShortcut::activated, this, &KVEditingFunctionDialog::showSearchPanel);
    auto *pReplaceKey = new QShortcut(QKeySequence::Replace, this);
    connect(pReplaceKey, &QShortcut::activated, this, &KVEditingFunctionDialog::showSearchPanel);
}

QString KVEditingFunctionDialog::continueQuestion()
{
    return tr("Do you want to continue editing this function?");
}

KVFunction *KVEditingFunctionDialog::function() const
{
    return m_pDocument ? m_pDocument->functions()->findById(m_nFunctionId) : nullptr;
}

bool KVEditingFunctionDialog::setFunction(KVDocument *pDocument, int nFunctionId)
{
    m_pDocument = pDocument;
    m_nFunctionId = nFunctionId;
    const KVFunction *pFunction = function();
    if (!pFunction)
        return false;
    m_pName->setText(pFunction->name());
    m_pParams->setText(pFunction->params().join(QStringLiteral(", ")));
    m_pCode->setPlainText(pFunction->content());
    m_pCode->document()->setModified(false);
    m_pName->setModified(false);
    m_pParams->setModified(false);
    setWindowModified(false);
    m_pCode->setFocus();
    return true;
}

QStringList KVEditingFunctionDialog::paramList() const
{
    QStringList params;
    for (const QString &strParam : m_pParams->text().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (!strParam.trimmed().isEmpty())
            params.append(strParam.trimmed());
    }
    return params;
}

bool KVEditingFunctionDialog::isModified() const
{
    const KVFunction *pFunction = function();
    return pFunction
           && (pFunction->name() != m_pName->text() || pFunction->params() != paramList()
               || pFunction->content() != m_pCode->toPlainText());
}

void KVEditingFunctionDialog::onAccept()
{
    KVFunction *pFunction = function();
    if (!pFunction) {
        QDialog::reject();
        return;
    }
    const QString strProblem = m_pDocument->functions()->nameProblem(m_pName->text(), pFunction);
    if (!strProblem.isEmpty()) {
        if (Reporter::question(strProblem + QLatin1Char('\n') + continueQuestion()) == IReporter::Yes) {
            m_pName->setFocus();
            m_pName->selectAll();
        } else {
            QDialog::reject();
        }
        return;
    }
    KVHandlerCommands::changeFunction(m_pDocument, m_nFunctionId, m_pName->text(), paramList(), m_pCode->toPlainText());
    QDialog::accept();
}

void KVEditingFunctionDialog::reject()
{
    if (isModified()) {
        const IReporter::Button answer = Reporter::question(tr("Do you want to save changes?"),
                                                            IReporter::Yes | IReporter::No | IReporter::Cancel);
        if (answer == IReporter::Yes) {
            onAccept();
            return;
        }
        if (answer == IReporter::Cancel)
            return;
    }
    QDialog::reject();
}

void KVEditingFunctionDialog::onEditContentChanged()
{
    setWindowModified(isModified());
}

void KVEditingFunctionDialog::onExportToFile()
{
    const KVFunction *pFunction = function();
    if (!pFunction)
        return;
    KVFunction current(*pFunction);
    current.setName(m_pName->text());
    current.setParams(paramList());
    current.setContent(m_pCode->toPlainText());
    KVLocationManager *pLocations = KVLocationManager::getInstance();
    const QString strFolder = pLocations->ownerLocation(m_pDocument.data(), KVLocationManager::General);
    const QString strPath = FileDialogs::getSaveFileName(
        this, KVFunctionExporter::dialogTitle(), QDir(strFolder).filePath(KVFunctionExporter::proposedFileName(current)),
        KVFunctionExporter::fileFilter());
    if (strPath.isEmpty())
        return;
    pLocations->setOwnerLocation(m_pDocument.data(), KVLocationManager::General, QFileInfo(strPath).absolutePath());
    KVFunctionExporter::exportToFile(strPath, {&current}, KVFunctionExporter::Single);
}

int KVEditingFunctionDialog::searchFlags(bool bBackward) const
{
    QTextDocument::FindFlags flags;
    if (m_pWholeWord->isChecked())
        flags |= QTextDocument::FindWholeWords;
    if (m_pMatchCase->isChecked())
        flags |= QTextDocument::FindCaseSensitively;
    if (bBackward)
        flags |= QTextDocument::FindBackward;
    return int(flags);
}

void KVEditingFunctionDialog::showMessage(const QString &strMessage)
{
    m_pMessage->setText(strMessage);
}

QString KVEditingFunctionDialog::searchMessage() const
{
    return m_pMessage->text();
}

void KVEditingFunctionDialog::onSearchFlagsChanged(bool)
{
    onSearchKeywordChanged(m_pFind->text());
}

void KVEditingFunctionDialog::onSearchKeywordChanged(const QString &strKeyword)
{
    m_pCode->mark(strKeyword, m_pMatchCase->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive);
    showMessage(QString());
}

void KVEditingFunctionDialog::showSearchPanel()
{
    m_pSearch->show();
    const QString strSelected = m_pCode->textCursor().selectedText();
    if (!strSelected.isEmpty() && !strSelected.contains(QChar::ParagraphSeparator))
        m_pFind->setText(strSelected);
    m_pFind->setFocus();
    m_pFind->selectAll();
}

void KVEditingFunctionDialog::onExitSearch()
{
    m_pCode->mark(QString(), Qt::CaseInsensitive);
    m_pSearch->hide();
    m_pCode->setFocus();
}

void KVEditingFunctionDialog::onSearchNext()
{
    showMessage(m_pCode->find(m_pFind->text(), QTextDocument::FindFlags(searchFlags(false))) ? QString()
                                                                                                : tr("No match found."));
}

void KVEditingFunctionDialog::onSearchPrev()
{
    showMessage(m_pCode->find(m_pFind->text(), QTextDocument::FindFlags(searchFlags(true))) ? QString()
                                                                                               : tr("No match found."));
}

void KVEditingFunctionDialog::onReplaceNext()
{
    showMessage(m_pCode->replaceNext(m_pFind->text(), m_pReplace->text(), QTextDocument::FindFlags(searchFlags(false))));
}

void KVEditingFunctionDialog::onReplaceAll()
{
    showMessage(m_pCode->replaceAll(m_pFind->text(), m_pReplace->text(), QTextDocument::FindFlags(searchFlags(false))));
}

void KVEditingFunctionDialog::onZoomChanged(int nPercentage)
{
    const QSignalBlocker blocker(m_pZoom);
    m_pZoom->setCurrentText(QStringLiteral("%1%").arg(nPercentage));
}

void KVEditingFunctionDialog::onChangeZoom(const QString &strPercentage)
{
    QString strText = strPercentage;
    strText.remove(QLatin1Char('%'));
    bool bOk = false;
    const int nPercent = strText.trimmed().toInt(&bOk);
    if (bOk)
        m_pCode->zoomTo(nPercent);
}

void KVEditingFunctionDialog::resetSettings()
{
    KVCodeEditorSettings::getInstance()->reset();
}
