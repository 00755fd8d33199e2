#include "KVEventActionDialog.h"

#include "KVEditingActionParamsWidget.h"

#include "commands/KVHandlerCommands.h"
#include "commands/KVUpdateViewInfo.h"
#include "document/KVDocument.h"
#include "interaction/KVActionCatalogue.h"
#include "interaction/KVActionClipboard.h"
#include "interaction/KVActionDescription.h"
#include "interaction/KVActionKey.h"
#include "interaction/KVEventListener.h"
#include "interaction/KVEventListenerList.h"
#include "interaction/KVFunction.h"
#include "interaction/KVFunctionContainer.h"
#include "ui/IUi.h"

#include "Reporter.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QSplitter>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

QPointer<KVEventActionDialog> KVEventActionDialog::s_pInstance;

KVEventActionDialog *KVEventActionDialog::getInstance(QWidget *pParent)
{
    if (!s_pInstance)
        s_pInstance = new KVEventActionDialog(pParent);
    return s_pInstance;
}

void KVEventActionDialog::destroyInstance()
{
    delete s_pInstance.data();
}

KVEventActionDialog::KVEventActionDialog(QWidget *pParent)
    : QDialog(pParent)
{
    setObjectName(QStringLiteral("KVEventActionDialog"));
    setWindowTitle(tr("Event Handlers"));
    resize(720, 520);
    auto *pLayout = new QVBoxLayout(this);
    m_pHeading = new QLabel(this);
    m_pHeading->setObjectName(QStringLiteral("Heading"));
    QFont font = m_pHeading->font();
    font.setBold(true);
    m_pHeading->setFont(font);
    pLayout->addWidget(m_pHeading);

    auto *pTop = new QHBoxLayout;
    pTop->addWidget(new QLabel(tr("Event Type"), this));
    m_pEvent = new QComboBox(this);
    m_pEvent->setObjectName(QStringLiteral("EventType"));
    pTop->addWidget(m_pEvent, 1);
    pLayout->addLayout(pTop);

    auto *pToolbar = new QToolBar(this);
    pToolbar->setObjectName(QStringLiteral("EventActionToolbar"));
    auto *pAddMenu = new QMenu(this);
    pAddMenu->setObjectName(QStringLiteral("AddActionMenu"));
    for (KVActionCatalogue::Group eGroup : KVActionCatalogue::groups()) {
        QMenu *pGroup = pAddMenu->addMenu(KVActionCatalogue::groupTitle(eGroup));
        for (int nCode : KVActionCatalogue::codes(eGroup)) {
            QAction *pAction = pGroup->addAction(KVActionCatalogue::name(nCode));
            pAction->setData(nCode);
            connect(pAction, &QAction::triggered, this, [this, nCode] { addAction(nCode); });
        }
    }
    const QList<QPair<const char *, QString>> tools = {{"add", tr("Add Action")}, {"up", tr("Move Up")},
                                                       {"down", tr("Move Down")}, {"cut", tr("Cut")},
                                                       {"copy", tr("Copy")},      {"paste", tr("Paste")},
                                                       {"delete", tr("Delete")}};
    const QList<void (KVEventActionDialog::*)()> kSlots = {nullptr, &KVEventActionDialog::onMoveUp,
                                                          &KVEventActionDialog::onMoveDown, &KVEventActionDialog::onCut,
                                                          &KVEventActionDialog::onCopy, &KVEventActionDialog::onPaste,
                                                          &KVEventActionDialog::onDelete};
    for (int i = 0; i < tools.size(); ++i) {
        QAction *pTool = pToolbar->addAction(IUi::getInstance()->icon(QString::fromLatin1(tools.at(i).first)),
                                             tools.at(i).second);
        pTool->setObjectName(QString::fromLatin1(tools.at(i).first));
        pTool->setToolTip(tools.at(i).second);
        if (kSlots.at(i))
            connect(pTool, &QAction::triggered, this, kSlots.at(i));
        else
            pTool->setMenu(pAddMenu);
        m_tools.append(pTool);
    }
    if (auto *pButton = qobject_cast<QToolButton *>(pToolbar->widgetForAction(m_tools.first())))
        pButton->setPopupMode(QToolButton::InstantPopup);
    pLayout->addWidget(pToolbar);

    auto *pSplitter = new QSplitter(Qt::Vertical, this);
    m_pTable = new QTableWidget(0, 3, pSplitter);
    m_pTable->setObjectName(QStringLiteral("ActionTable"));
    m_pTable->setHorizontalHeaderLabels({tr("Action Type"), tr("Target Object"), tr("Params")});
    m_pTable->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    m_pTable->verticalHeader()->hide();
    m_pTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pParams = new KVEditingActionParamsWidget(pSplitter);
    m_pParams->setContext(&m_context);
    pSplitter->addWidget(m_pTable);
    pSplitter->addWidget(m_pParams);
    pLayout->addWidget(pSplitter, 1);

    connect(m_pEvent, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &KVEventActionDialog::refresh);
    connect(m_pTable, &QTableWidget::itemSelectionChanged, this, &KVEventActionDialog::onRowChanged);
    connect(m_pParams, &KVEditingActionParamsWidget::actionEdited, this, &KVEventActionDialog::onActionEdited);
    connect(m_pParams, &KVEditingActionParamsWidget::changeFunctionRequested, this,
            &KVEventActionDialog::onChangeFunction);
    connect(m_pParams, &KVEditingActionParamsWidget::addFunctionRequested, this, &KVEventActionDialog::onAddFunction);
    connect(m_pParams, &KVEditingActionParamsWidget::editFunctionRequested, this,
            &KVEventActionDialog::editFunctionRequested);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &KVEventActionDialog::updateActions);
    updateActions();
}

QAction *KVEventActionDialog::toolAction(const QString &strIcon) const
{
    for (QAction *pTool : m_tools) {
        if (pTool->objectName() == strIcon)
            return pTool;
    }
    return nullptr;
}

void KVEventActionDialog::setOwner(KVDocument *pDocument, KVEventCatalogue::Owner eOwner, KVEventListenerList *pList,
                                   const QString &strOwnerName)
{
    if (m_pDocument != pDocument) {
        if (m_pDocument)
            disconnect(m_pDocument, nullptr, this, nullptr);
        if (pDocument)
            connect(pDocument, &KVDocument::dataChanged, this, &KVEventActionDialog::handleDocumentChanged);
    }
    m_pDocument = pDocument;
    m_context.setDocument(pDocument);
    if (m_pList)
        disconnect(m_pList, nullptr, this, nullptr);
    m_pList = pList;
    // An owner that goes (its document closed) leaves an empty table, never rows of handlers gone.
    if (pList)
        connect(pList, &QObject::destroyed, this, [this] {
            m_rows.clear();
            m_pTable->setRowCount(0);
            refresh();
        });
    m_eOwner = eOwner;
    m_pHeading->setText(KVEventCatalogue::handlerGroupTitle(eOwner, strOwnerName));
    const QSignalBlocker blocker(m_pEvent);
    m_pEvent->clear();
    int nFirstUsed = -1;
    for (int nCode : KVEventCatalogue::offeredCodes(eOwner)) {
        m_pEvent->addItem(KVEventCatalogue::name(nCode), nCode);
        if (nFirstUsed < 0 && pList && !pList->handlersOfEvent(nCode).isEmpty())
            nFirstUsed = m_pEvent->count() - 1;
    }
    m_pEvent->setCurrentIndex(qMax(0, nFirstUsed));
    refresh();
}

int KVEventActionDialog::currentEvent() const
{
    return m_pEvent->currentData().toInt();
}

void KVEventActionDialog::setCurrentEvent(int nEvent)
{
    m_pEvent->setCurrentIndex(m_pEvent->findData(nEvent));
}

void KVEventActionDialog::refresh()
{
    // The rows that were selected stay selected when they are still shown.
    const QList<KVEventListener *> selected = selectedHandlers();
    m_rows = m_pList ? m_pList->handlersOfEvent(currentEvent()) : QList<KVEventListener *>();
    const QSignalBlocker blocker(m_pTable);
    m_pTable->clearSelection();
    m_pTable->setRowCount(m_rows.size());
    for (int nRow = 0; nRow < m_rows.size(); ++nRow) {
        const KVEventListener *pHandler = m_rows.at(nRow);
        const QStringList texts = {KVActionCatalogue::name(pHandler->action()),
                                   KVActionDescription::target(pHandler->action(), pHandler->actionData(), &m_context),
                                   KVActionDescription::parameters(pHandler->action(), pHandler->actionData(), &m_context)};
        for (int nColumn = 0; nColumn < texts.size(); ++nColumn)
            m_pTable->setItem(nRow, nColumn, new QTableWidgetItem(texts.at(nColumn)));
        if (selected.contains(m_rows.at(nRow)))
            m_pTable->selectRow(nRow);
    }
    m_pTable->resizeColumnToContents(0);
    m_pTable->resizeColumnToContents(1);
    onRowChanged();
}

QList<KVEventListener *> KVEventActionDialog::selectedHandlers() const
{
    QList<KVEventListener *> handlers;
    const QModelIndexList rows = m_pTable->selectionModel()->selectedRows();
    for (int nRow = 0; nRow < m_rows.size(); ++nRow) {
        for (const QModelIndex &index : rows) {
            if (index.row() == nRow)
                handlers.append(m_rows.at(nRow));
        }
    }
    return handlers;
}

KVEventListener *KVEventActionDialog::currentHandler() const
{
    const QList<KVEventListener *> selected = selectedHandlers();
    return selected.size() == 1 ? selected.first() : nullptr;
}

void KVEventActionDialog::onRowChanged()
{
    KVEventListener *pHandler = currentHandler();
    m_pParams->setAction(pHandler ? pHandler->action() : 0, pHandler ? pHandler->actionData() : QJsonObject());
    updateActions();
}

void KVEventActionDialog::updateActions()
{
    const bool bOwner = m_pList && m_pDocument;
    const QList<KVEventListener *> selected = selectedHandlers();
    const QMimeData *pMime = QApplication::clipboard()->mimeData();
    toolAction(QStringLiteral("add"))->setEnabled(bOwner);
    toolAction(QStringLiteral("up"))->setEnabled(bOwner && selected.size() == 1 && m_rows.indexOf(selected.first()) > 0);
    toolAction(QStringLiteral("down"))->setEnabled(bOwner && selected.size() == 1
                                                   && m_rows.indexOf(selected.first()) < m_rows.size() - 1);
    for (const char *pszName : {"cut", "copy", "delete"})
        toolAction(QString::fromLatin1(pszName))->setEnabled(bOwner && !selected.isEmpty());
    toolAction(QStringLiteral("paste"))
        ->setEnabled(bOwner && pMime && pMime->hasFormat(KVActionClipboard::mimeType()));
}

void KVEventActionDialog::addAction(int nAction)
{
    if (!m_pList || !m_pDocument)
        return;
    auto *pHandler = new KVEventListener(currentEvent(), nAction,
                                         KVActionCatalogue::defaultActionData(nAction, std::nullopt, &m_context));
    if (KVHandlerCommands::addAction(m_pDocument, m_pList, pHandler)) {
        const int nRow = m_rows.indexOf(pHandler);
        if (nRow >= 0)
            m_pTable->selectRow(nRow);
    }
}

void KVEventActionDialog::onMoveUp()
{
    if (KVEventListener *pHandler = currentHandler())
        KVHandlerCommands::moveAction(m_pDocument, m_pList, pHandler, true);
}

void KVEventActionDialog::onMoveDown()
{
    if (KVEventListener *pHandler = currentHandler())
        KVHandlerCommands::moveAction(m_pDocument, m_pList, pHandler, false);
}

void KVEventActionDialog::onCopy()
{
    const QList<KVEventListener *> selected = selectedHandlers();
    if (selected.isEmpty())
        return;
    QList<const KVEventListener *> handlers;
    for (const KVEventListener *pHandler : selected)
        handlers.append(pHandler);
    auto *pMime = new QMimeData;
    pMime->setData(KVActionClipboard::mimeType(), KVActionClipboard::encode(handlers));
    QApplication::clipboard()->setMimeData(pMime);
}

void KVEventActionDialog::onCut()
{
    onCopy();
    onDelete();
}

void KVEventActionDialog::onPaste()
{
    const QMimeData *pMime = QApplication::clipboard()->mimeData();
    if (!m_pList || !pMime || !pMime->hasFormat(KVActionClipboard::mimeType()))
        return;
    QString strError;
    const QList<KVEventListener *> handlers =
        KVActionClipboard::decode(pMime->data(KVActionClipboard::mimeType()), currentEvent(), QJsonObject(), &strError);
    if (handlers.isEmpty()) {
        if (!strError.isEmpty())
            Reporter::error(strError);
        return;
    }
    KVHandlerCommands::appendActions(m_pDocument, m_pList, handlers, tr("Paste Action"));
}

void KVEventActionDialog::onDelete()
{
    const QList<KVEventListener *> selected = selectedHandlers();
    if (!selected.isEmpty())
        KVHandlerCommands::removeActions(m_pDocument, m_pList, selected);
}

void KVEventActionDialog::onActionEdited(int nAction, const QJsonObject &joActionData)
{
    if (KVEventListener *pHandler = currentHandler())
        KVHandlerCommands::changeAction(m_pDocument, m_pList, pHandler, nAction, joActionData);
}

void KVEventActionDialog::onChangeFunction(int nFunctionId)
{
    KVEventListener *pHandler = currentHandler();
    if (!pHandler)
        return;
    QJsonObject data = pHandler->actionData();
    data.insert(KVActionKey::FunctionId, nFunctionId);
    KVHandlerCommands::changeAction(m_pDocument, m_pList, pHandler, pHandler->action(), data, tr("Change Function"));
}

void KVEventActionDialog::onAddFunction()
{
    KVEventListener *pHandler = currentHandler();
    if (!pHandler || !m_pDocument)
        return;
    KVFunction *pFunction = KVFunction::create(KVFunction::General);
    const int nId = m_pDocument->functions()->currentId() + 1;
    if (KVHandlerCommands::addFunction(m_pDocument, pFunction, m_pList, pHandler))
        emit editFunctionRequested(nId);
}

void KVEventActionDialog::handleDocumentChanged(QObject *pUpdateInfo)
{
    auto *pInfo = qobject_cast<KVUpdateViewInfo *>(pUpdateInfo);
    if (pInfo && pInfo->type() == 41 && isVisible())
        refresh();
}
