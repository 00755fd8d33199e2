#include "KVInteractionTools.h"

#include "KVEditor.h"

#include "animation/KVTimeline.h"
#include "commands/KVHandlerCommands.h"
#include "document/KVDocument.h"
#include "interaction/KVEventListener.h"
#include "interaction/KVEventListenerList.h"
#include "model/KVElement.h"
#include "model/KVElementType.h"
#include "model/KVJsonUtil.h"
#include "model/KVScene.h"
#include "ui/code/KVEditingFunctionDialog.h"
#include "ui/code/KVFunctionPanel.h"
#include "ui/dialogs/KVEventActionDialog.h"

#include "ActionManager.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMimeData>
#include <QVBoxLayout>

KVInteractionTools::KVInteractionTools(EditorGetter activeEditor, QWidget *pMainWindow, QObject *pParent)
    : QObject(pParent)
    , m_activeEditor(std::move(activeEditor))
    , m_pMainWindow(pMainWindow)
{
}

KVInteractionTools::~KVInteractionTools()
{
    KVEventActionDialog::destroyInstance();
    delete m_pFunctionEditor.data();
}

QString KVInteractionTools::handlerListFormat()
{
    return QStringLiteral("event-action-data");
}

KVDocument *KVInteractionTools::document() const
{
    KVEditor *pEditor = m_activeEditor ? m_activeEditor() : nullptr;
    return pEditor ? pEditor->document() : nullptr;
}

void KVInteractionTools::installFunctionsPanel(QWidget *pDockPanel)
{
    auto *pLayout = new QVBoxLayout(pDockPanel);
    pLayout->setContentsMargins(0, 0, 0, 0);
    m_pFunctions = new KVFunctionPanel(pDockPanel);
    pLayout->addWidget(m_pFunctions);
    connect(m_pFunctions, &KVFunctionPanel::editFunctionRequested, this, &KVInteractionTools::editFunction);
}

QSet<QString> KVInteractionTools::connectActions(ActionManager *pActions)
{
    const QList<QPair<const char *, void (KVInteractionTools::*)()>> commands = {
        {"View.Event_Actions_Dialog", &KVInteractionTools::openElementHandlers},
        {"Timeline.Open_Timeline_Actions", &KVInteractionTools::openTimelineHandlers}};
    QSet<QString> ids;
    for (const auto &command : commands) {
        if (QAction *pAction = pActions->getAction(QString::fromLatin1(command.first))) {
            connect(pAction, &QAction::triggered, this, command.second);
            ids.insert(pAction->objectName());
        }
    }
    if (QAction *pAction = pActions->getAction(QStringLiteral("Edit.Copy_Event_Actions"))) {
        connect(pAction, &QAction::triggered, this, &KVInteractionTools::copyEventActions);
        ids.insert(pAction->objectName());
    }
    if (QAction *pAction = pActions->getAction(QStringLiteral("Edit.Paste_Event_Actions"))) {
        connect(pAction, &QAction::triggered, this, &KVInteractionTools::pasteEventActions);
        ids.insert(pAction->objectName());
    }
    return ids;
}

void KVInteractionTools::updateEditorActivated(IEditor *pEditor)
{
    if (m_pFunctions)
        m_pFunctions->updateEditorActivated(pEditor);
}

namespace {
// The one selected element of the current scene, or the scene itself when none is selected; null
// when several are.
KVElement *handlerOwner(KVDocument *pDocument)
{
    KVScene *pScene = pDocument ? pDocument->currentScene() : nullptr;
    if (!pScene)
        return nullptr;
    // The selected elements, a group standing for the selected elements inside it.
    QList<KVElement *> selected;
    pScene->forEachInSubtree([&](const KVElement *p) {
        const KVElement *pParent = p->parent();
        const bool bParentSelected = pParent && pParent != pScene && pParent->isSelected();
        if (p != pScene && p->isSelected() && !bParentSelected)
            selected.append(const_cast<KVElement *>(p));
    });
    if (selected.size() > 1)
        return nullptr;
    return selected.isEmpty() ? pScene : selected.first();
}
} // namespace

void KVInteractionTools::openElementHandlers()
{
    KVDocument *pDocument = document();
    KVScene *pScene = pDocument ? pDocument->currentScene() : nullptr;
    KVElement *pOwner = handlerOwner(pDocument);
    if (!pOwner) {
        if (!pScene)
            return openDocumentHandlers();
        pOwner = pScene;
    }
    KVEventActionDialog *pDialog = KVEventActionDialog::getInstance(m_pMainWindow);
    connect(pDialog, &KVEventActionDialog::editFunctionRequested, this, &KVInteractionTools::editFunction,
            Qt::UniqueConnection);
    pDialog->setOwner(pDocument, pOwner == pScene ? KVEventCatalogue::SceneOwner : KVEventCatalogue::ElementOwner,
                      pOwner, pOwner->name());
    pDialog->show();
    pDialog->raise();
}

void KVInteractionTools::openTimelineHandlers()
{
    KVDocument *pDocument = document();
    KVScene *pScene = pDocument ? pDocument->currentScene() : nullptr;
    KVTimeline *pTimeline = pScene ? pScene->currentTimeline() : nullptr;
    if (!pTimeline)
        return;
    KVEventActionDialog *pDialog = KVEventActionDialog::getInstance(m_pMainWindow);
    connect(pDialog, &KVEventActionDialog::editFunctionRequested, this, &KVInteractionTools::editFunction,
            Qt::UniqueConnection);
    pDialog->setOwner(pDocument, KVEventCatalogue::TimelineOwner, pTimeline->events(), pTimeline->name());
    pDialog->show();
    pDialog->raise();
}

void KVInteractionTools::openDocumentHandlers()
{
    KVDocument *pDocument = document();
    if (!pDocument)
        return;
    KVEventActionDialog *pDialog = KVEventActionDialog::getInstance(m_pMainWindow);
    connect(pDialog, &KVEventActionDialog::editFunctionRequested, this, &KVInteractionTools::editFunction,
            Qt::UniqueConnection);
    pDialog->setOwner(pDocument, KVEventCatalogue::DocumentOwner, pDocument->eventHandlers());
    pDialog->show();
    pDialog->raise();
}

void KVInteractionTools::editFunction(int nFunctionId)
{
    KVDocument *pDocument = document();
    if (!pDocument)
        return;
    if (!m_pFunctionEditor)
        m_pFunctionEditor = new KVEditingFunctionDialog(m_pMainWindow);
    if (m_pFunctionEditor->setFunction(pDocument, nFunctionId))
        m_pFunctionEditor->open();
}

bool KVInteractionTools::hasCopiedHandlers()
{
    const QMimeData *pMime = QApplication::clipboard()->mimeData();
    return pMime && pMime->hasFormat(handlerListFormat())
           && !KVJsonUtil::fromBinary(pMime->data(handlerListFormat())).array().isEmpty();
}

bool KVInteractionTools::canCopyEventActions(KVDocument *pDocument)
{
    const KVElement *pOwner = handlerOwner(pDocument);
    return pOwner && !pOwner->isEmpty();
}

bool KVInteractionTools::copyEventActions()
{
    KVElement *pOwner = handlerOwner(document());
    if (!pOwner || pOwner->isEmpty())
        return false;
    auto *pMime = new QMimeData;
    pMime->setData(handlerListFormat(), KVJsonUtil::toBinary(QJsonDocument(pOwner->KVEventListenerList::toJson())));
    QApplication::clipboard()->setMimeData(pMime);
    return true;
}

bool KVInteractionTools::pasteEventActions()
{
    KVDocument *pDocument = document();
    KVElement *pOwner = handlerOwner(pDocument);
    const QMimeData *pMime = QApplication::clipboard()->mimeData();
    if (!pOwner || !pMime || !pMime->hasFormat(handlerListFormat()))
        return false;
    KVEventListenerList copied;
    copied.fromJson(KVJsonUtil::fromBinary(pMime->data(handlerListFormat())).array());
    QList<KVEventListener *> handlers;
    for (const KVEventListener *pHandler : copied.handlers())
        handlers.append(pHandler->clone());
    return KVHandlerCommands::appendActions(pDocument, pOwner, handlers, tr("Paste Event Actions"));
}
