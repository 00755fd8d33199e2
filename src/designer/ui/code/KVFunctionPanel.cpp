#include "KVFunctionPanel.h"

#include "commands/KVHandlerCommands.h"
#include "commands/KVUpdateViewInfo.h"
#include "document/KVDocument.h"
#include "interaction/KVEventListenerList.h"
#include "interaction/KVFunction.h"
#include "interaction/KVFunctionContainer.h"
#include "interaction/KVFunctionExporter.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"
#include "plugin/KVEditor.h"
#include "plugin/KVLocationManager.h"
#include "ui/IUi.h"

#include "FileDialogs.h"
#include "Reporter.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMenu>
#include <QStyledItemDelegate>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const int kIdRole = Qt::UserRole + 1;

// Names are typed as JavaScript identifiers (or nothing, while typing).
class NameDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *pParent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QWidget *pEditor = QStyledItemDelegate::createEditor(pParent, option, index);
        if (auto *pLine = qobject_cast<QLineEdit *>(pEditor))
            pLine->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("^$|^[_$a-zA-Z][_$a-zA-Z0-9]*$")), pLine));
        return pEditor;
    }
};
} // namespace

KVFunctionPanel::KVFunctionPanel(QWidget *pParent)
    : QWidget(pParent)
{
    setObjectName(QStringLiteral("KVFunctionPanel"));
    setWindowTitle(tr("Functions"));
    auto *pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(2, 2, 2, 2);
    auto *pBar = new QHBoxLayout;
    auto *pNewMenu = new QMenu(this);
    const QList<QPair<QString, int>> kinds = {{tr("Normal Function"), KVFunction::General},
                                              {tr("Element Event Handler"), KVFunction::ElementHandler},
                                              {tr("Scene Event Handler"), KVFunction::SceneHandler},
                                              {tr("Document Event Handler"), KVFunction::DocumentHandler},
                                              {tr("Timeline Event Handler"), KVFunction::TimelineHandler}};
    for (const auto &kind : kinds) {
        QAction *pAction = pNewMenu->addAction(kind.first);
        pAction->setData(kind.second);
        connect(pAction, &QAction::triggered, this, &KVFunctionPanel::onAddFunctionByType);
    }
    const QList<QPair<QString, QString>> buttons = {{tr("New Function"), QStringLiteral("add")},
                                                    {tr("Edit"), QStringLiteral("edit")},
                                                    {tr("Rename"), QStringLiteral("rename")},
                                                    {tr("Delete"), QStringLiteral("delete")},
                                                    {tr("Select All"), QStringLiteral("select_all")},
                                                    {tr("Export selected functions to JavaScript file"),
                                                     QStringLiteral("export")}};
    const QList<void (KVFunctionPanel::*)()> kSlots = {&KVFunctionPanel::onAdd, &KVFunctionPanel::editCurrentFunction,
                                                      &KVFunctionPanel::onRename, &KVFunctionPanel::onDelete, nullptr,
                                                      &KVFunctionPanel::onExport};
    for (int i = 0; i < buttons.size(); ++i) {
        auto *pButton = new QToolButton(this);
        pButton->setObjectName(buttons.at(i).second);
        pButton->setToolTip(buttons.at(i).first);
        pButton->setText(buttons.at(i).first);
        pButton->setIcon(IUi::getInstance()->icon(buttons.at(i).second));
        pButton->setAutoRaise(true);
        if (i == 0) {
            pButton->setMenu(pNewMenu);
            pButton->setPopupMode(QToolButton::MenuButtonPopup);
        }
        if (kSlots.at(i))
            connect(pButton, &QToolButton::clicked, this, kSlots.at(i));
        pBar->addWidget(pButton);
        m_buttons.append(pButton);
    }
    pBar->addStretch(1);
    pLayout->addLayout(pBar);
    m_pList = new QListWidget(this);
    m_pList->setObjectName(QStringLiteral("FunctionList"));
    m_pList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pList->setEditTriggers(QAbstractItemView::EditKeyPressed);
    m_pList->setItemDelegate(new NameDelegate(m_pList));
    pLayout->addWidget(m_pList, 1);
    connect(m_buttons.at(4), &QToolButton::clicked, m_pList, &QListWidget::selectAll);
    connect(m_pList, &QListWidget::itemDoubleClicked, this, &KVFunctionPanel::onItemDoubleClicked);
    connect(m_pList, &QListWidget::itemChanged, this, &KVFunctionPanel::onFunctionNameChanged);
    connect(m_pList, &QListWidget::itemSelectionChanged, this, [this] {
        updateActionState();
        emit selectionChanged();
    });
    updateActionState();
}

void KVFunctionPanel::setDocument(KVDocument *pDocument)
{
    if (m_pDocument == pDocument)
        return;
    if (m_pDocument)
        disconnect(m_pDocument, nullptr, this, nullptr);
    m_pDocument = pDocument;
    if (pDocument) {
        connect(pDocument, &KVDocument::dataChanged, this, &KVFunctionPanel::handleDocumentChanged);
        connect(pDocument, &QObject::destroyed, this, &KVFunctionPanel::refresh);
    }
    refresh();
}

void KVFunctionPanel::updateEditorActivated(IEditor *pEditor)
{
    auto *pKVEditor = qobject_cast<KVEditor *>(pEditor);
    setDocument(pKVEditor ? pKVEditor->document() : nullptr);
}

void KVFunctionPanel::updateEditorDeactivated(IEditor *)
{
    setDocument(nullptr);
}

void KVFunctionPanel::handleDocumentLoaded()
{
    refresh();
}

void KVFunctionPanel::handleDocumentClosing()
{
    setDocument(nullptr);
}

void KVFunctionPanel::handleDocumentChanged(QObject *pUpdateInfo)
{
    auto *pInfo = qobject_cast<KVUpdateViewInfo *>(pUpdateInfo);
    if (pInfo && pInfo->type() == 41)
        refresh();
}

QSet<int> KVFunctionPanel::usedFunctionIds(const KVDocument *pDocument)
{
    QSet<int> ids;
    if (!pDocument)
        return ids;
    QMap<int, const KVFunction *> used;
    const KVFunctionContainer &functions = *pDocument->functions();
    pDocument->eventHandlers()->collectFunctions(used, functions);
    for (const KVScene *pScene : pDocument->sceneList()->scenes())
        pScene->collectFunctions(used, functions);
    for (auto it = used.cbegin(); it != used.cend(); ++it)
        ids.insert(it.key());
    return ids;
}

void KVFunctionPanel::refresh()
{
    QSet<int> selected;
    for (const KVFunction *pFunction : selectedFunctions())
        selected.insert(pFunction->id());
    m_bFilling = true;
    m_pList->clear();
    if (m_pDocument) {
        const QSet<int> used = usedFunctionIds(m_pDocument);
        for (const KVFunction *pFunction : m_pDocument->functions()->functions()) {
            auto *pItem = new QListWidgetItem(pFunction->name(), m_pList);
            pItem->setData(kIdRole, pFunction->id());
            pItem->setFlags(pItem->flags() | Qt::ItemIsEditable);
            if (used.contains(pFunction->id())) {
                QFont font = pItem->font();
                font.setBold(true);
                pItem->setFont(font);
                pItem->setToolTip(tr("%1 (used by an action)").arg(pFunction->text()));
            } else {
                pItem->setToolTip(pFunction->text());
            }
            pItem->setSelected(selected.contains(pFunction->id()));
        }
    }
    m_bFilling = false;
    updateActionState();
}

KVFunction *KVFunctionPanel::functionOf(const QListWidgetItem *pItem) const
{
    return pItem && m_pDocument ? m_pDocument->functions()->findById(pItem->data(kIdRole).toInt()) : nullptr;
}

QList<KVFunction *> KVFunctionPanel::selectedFunctions() const
{
    QList<KVFunction *> functions;
    for (QListWidgetItem *pItem : m_pList->selectedItems()) {
        if (KVFunction *pFunction = functionOf(pItem))
            functions.append(pFunction);
    }
    return functions;
}

void KVFunctionPanel::updateActionState()
{
    const int nSelected = m_pList->selectedItems().size();
    m_buttons.at(0)->setEnabled(m_pDocument);
    m_buttons.at(1)->setEnabled(m_pDocument && nSelected == 1);
    m_buttons.at(2)->setEnabled(m_pDocument && nSelected == 1);
    m_buttons.at(3)->setEnabled(m_pDocument && nSelected > 0);
    m_buttons.at(4)->setEnabled(m_pDocument && m_pList->count() > 0);
    m_buttons.at(5)->setEnabled(m_pDocument && nSelected > 0);
}

void KVFunctionPanel::onAdd()
{
    if (!m_pDocument)
        return;
    KVFunction *pFunction = KVFunction::create(KVFunction::General);
    const int nId = m_pDocument->functions()->currentId() + 1;
    if (KVHandlerCommands::addFunction(m_pDocument, pFunction)) {
        refresh();
        for (int i = 0; i < m_pList->count(); ++i)
            m_pList->item(i)->setSelected(m_pList->item(i)->data(kIdRole).toInt() == nId);
        emit selectionSubmited();
    }
}

void KVFunctionPanel::onAddFunctionByType()
{
    auto *pAction = qobject_cast<QAction *>(sender());
    if (!m_pDocument || !pAction)
        return;
    const int nId = m_pDocument->functions()->currentId() + 1;
    if (KVHandlerCommands::addFunction(m_pDocument, KVFunction::create(pAction->data().toInt()))) {
        refresh();
        for (int i = 0; i < m_pList->count(); ++i)
            m_pList->item(i)->setSelected(m_pList->item(i)->data(kIdRole).toInt() == nId);
    }
}

void KVFunctionPanel::onDelete()
{
    const QList<KVFunction *> functions = selectedFunctions();
    if (!functions.isEmpty())
        KVHandlerCommands::removeFunctions(m_pDocument, functions);
}

void KVFunctionPanel::editCurrentFunction()
{
    const QList<KVFunction *> functions = selectedFunctions();
    if (functions.size() == 1)
        emit editFunctionRequested(functions.first()->id());
}

void KVFunctionPanel::onItemDoubleClicked(QListWidgetItem *pItem)
{
    if (KVFunction *pFunction = functionOf(pItem))
        emit editFunctionRequested(pFunction->id());
}

void KVFunctionPanel::onRename()
{
    const QList<QListWidgetItem *> items = m_pList->selectedItems();
    if (items.size() == 1)
        m_pList->editItem(items.first());
}

void KVFunctionPanel::onFunctionNameChanged(QListWidgetItem *pItem)
{
    KVFunction *pFunction = functionOf(pItem);
    if (m_bFilling || !pFunction)
        return;
    const QString strName = pItem->text();
    if (strName == pFunction->name())
        return;
    const QString strProblem = strName.isEmpty() ? QString() : m_pDocument->functions()->nameProblem(strName, pFunction);
    if (!strProblem.isEmpty())
        Reporter::error(strProblem);
    // An empty name, a refused name or a change that did not happen shows the name as it is.
    if (strName.isEmpty() || !strProblem.isEmpty()
        || !KVHandlerCommands::changeFunction(m_pDocument, pFunction->id(), strName, pFunction->params(),
                                              pFunction->content())) {
        const QSignalBlocker blocker(m_pList);
        pItem->setText(pFunction->name());
    }
}

void KVFunctionPanel::onExport()
{
    QList<const KVFunction *> functions;
    for (const KVFunction *pFunction : selectedFunctions())
        functions.append(pFunction);
    if (functions.isEmpty())
        return;
    KVLocationManager *pLocations = KVLocationManager::getInstance();
    const QString strFolder = pLocations->ownerLocation(m_pDocument.data(), KVLocationManager::General);
    const QString strName = functions.size() == 1 ? KVFunctionExporter::proposedFileName(*functions.first())
                                                  : QStringLiteral("functions.js");
    const QString strPath = FileDialogs::getSaveFileName(this, KVFunctionExporter::dialogTitle(),
                                                         QDir(strFolder).filePath(strName),
                                                         KVFunctionExporter::fileFilter());
    if (strPath.isEmpty())
        return;
    pLocations->setOwnerLocation(m_pDocument.data(), KVLocationManager::General, QFileInfo(strPath).absolutePath());
    KVFunctionExporter::exportToFile(strPath, functions, KVFunctionExporter::Several);
}
