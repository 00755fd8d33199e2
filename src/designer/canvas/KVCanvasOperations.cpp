#include "canvas/KVCanvasOperations.h"

#include "canvas/KVCanvas.h"
#include "canvas/KVHTMLExposingCanvas.h"
#include "commands/KVArrangeOperation.h"
#include "commands/KVClipBoard.h"
#include "commands/KVCommand.h"
#include "commands/KVDeleteOperation.h"
#include "commands/KVDropPolicy.h"
#include "commands/KVEditContext.h"
#include "commands/KVGroupOperation.h"
#include "commands/KVInsertOperation.h"
#include "commands/KVOverrideOperation.h"
#include "commands/KVSelectOperation.h"
#include "commands/KVVisibilityOperation.h"
#include "animation/KVTimeline.h"
#include "document/KVDocument.h"
#include "model/KVImage.h"
#include "model/KVMedia.h"
#include "model/KVScene.h"
#include "resources/KVResource.h"
#include "resources/KVResourceManager.h"
#include "resources/KVResourceType.h"
#include "resources/MediaResource.h"

#include "ActionManager.h"
#include "FileDialogs.h"
#include "ICore.h"
#include "Reporter.h"
#include "ui/code/KVHTMLWidgetDialog.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QSet>

#include <QUndoStack>
#include <QMimeData>

namespace {

// Stage view mode the page shows while an element is inserted.
constexpr int kInsertStageView = 3;

KVResourceManager *managerOf(const KVCanvas *pCanvas)
{
    return pCanvas->document() ? pCanvas->document()->resourceManager() : nullptr;
}

// A symbol cannot go into itself.
bool isEditedSymbol(const KVCanvas *pCanvas, const KVResource *pResource)
{
    KVDocument *pDocument = pCanvas->document();
    return pDocument && pResource && pDocument->editedSymbolResource() == pResource;
}

} // namespace

KVEditContext KVCanvasOperations::context(const KVCanvas *pCanvas)
{
    KVEditContext c;
    KVDocument *pDocument = pCanvas->document();
    KVScene *pScene = pCanvas->currentScene();
    if (!pDocument || !pScene)
        return c;
    c.pTarget = pDocument;
    c.pScene = pScene;
    c.pTimeline = pScene->currentTimeline();
    c.nFocusedId = pCanvas->focusedItemId();
    c.bAlignToParent = pCanvas->alignToParent();
    // Percent positions go with aligning to the parent only.
    c.bFlexibleLayout = c.bAlignToParent && pCanvas->fluidLayout();
    c.bAutoKeyframe = pDocument->isAutoKeyframeMode();
    c.nCurrentTime = c.pTimeline ? c.pTimeline->currentTimeMs() : 0;
    return c;
}

void KVCanvasOperations::submit(const KVCanvas *pCanvas, KVCommand *pCommand)
{
    if (!pCommand)
        return;
    if (KVDocument *pDocument = pCanvas->document())
        pDocument->submitCommand(pCommand);
    else
        delete pCommand;
}

void KVCanvasOperations::align(KVCanvas *pCanvas, int nMode)
{
    const KVEditContext c = context(pCanvas);
    if (c.isUsable())
        submit(pCanvas, KVArrangeOperation::align(c, nMode));
}

void KVCanvasOperations::sameSize(KVCanvas *pCanvas, int nMode)
{
    const KVEditContext c = context(pCanvas);
    if (c.isUsable())
        submit(pCanvas, KVArrangeOperation::sameSize(c, nMode));
}

void KVCanvasOperations::displayOrder(KVCanvas *pCanvas, int nMode)
{
    const KVEditContext c = context(pCanvas);
    if (c.isUsable())
        submit(pCanvas, KVArrangeOperation::displayOrder(c, nMode));
}

void KVCanvasOperations::restoreOriginalSize(KVCanvas *pCanvas)
{
    const KVEditContext c = context(pCanvas);
    KVResourceManager *pManager = managerOf(pCanvas);
    if (!c.isUsable() || !pManager)
        return;
    submit(pCanvas, KVArrangeOperation::restoreOriginalSize(
                        c, [pManager](const KVElement *p) { return naturalSize(pManager, p); }));
}

QSize KVCanvasOperations::naturalSize(const KVResourceManager *pManager, const KVElement *pElement)
{
    if (const auto *pImage = qobject_cast<const KVImage *>(pElement))
        return pManager ? pManager->imageSize(pImage->imageId()) : QSize();
    if (const auto *pMedia = qobject_cast<const KVMedia *>(pElement)) {
        if (const auto *pResource = dynamic_cast<const MediaResource *>(pMedia->media()))
            return pResource->mediaSize();
    }
    return QSize();
}

void KVCanvasOperations::removeAllOverrides(KVCanvas *pCanvas)
{
    const KVEditContext c = context(pCanvas);
    if (c.isUsable())
        submit(pCanvas, KVOverrideOperation::removeAllOverrides(c));
}

void KVCanvasOperations::removeSelected(KVCanvas *pCanvas)
{
    const KVEditContext c = context(pCanvas);
    if (c.isUsable())
        submit(pCanvas, KVDeleteOperation::removeSelected(c));
}

void KVCanvasOperations::group(KVCanvas *pCanvas)
{
    const KVEditContext c = context(pCanvas);
    const QList<KVElement *> selection = c.selectedElements();
    if (c.isUsable() && KVGroupOperation::canGroup(selection, pCanvas->isEditingText()))
        submit(pCanvas, KVGroupOperation::group(c.pTarget, selection, pCanvas));
}

void KVCanvasOperations::ungroup(KVCanvas *pCanvas)
{
    const KVEditContext c = context(pCanvas);
    const QList<KVElement *> selection = c.selectedElements();
    if (!c.isUsable() || !KVGroupOperation::canUngroup(selection, pCanvas->isEditingText()))
        return;
    // Every selected group is dissolved; the commands of each run as one undo step.
    QList<KVElement *> groups;
    for (KVElement *pElement : selection) {
        if (KVGroupOperation::isGroup(pElement))
            groups.append(pElement);
    }
    KVDocument *pDocument = pCanvas->document();
    QUndoStack *pStack = pDocument ? pDocument->getUndoStack() : nullptr;
    if (!pStack)
        return;
    if (groups.size() > 1)
        pStack->beginMacro(tr("Ungroup"));
    for (KVElement *pGroup : groups) {
        if (KVCommand *pCommand = KVGroupOperation::ungroup(c.pTarget, pGroup, pCanvas))
            pDocument->submitCommand(pCommand, true);
    }
    if (groups.size() > 1)
        pStack->endMacro();
}

void KVCanvasOperations::addToGroup(KVCanvas *pCanvas)
{
    const KVEditContext c = context(pCanvas);
    const QList<KVElement *> selection = c.selectedElements();
    if (!c.isUsable() || !KVGroupOperation::canAddToGroup(selection))
        return;
    KVElement *pGroup = KVGroupOperation::groupToAddTo(selection);
    submit(pCanvas, KVGroupOperation::addToGroup(c.pTarget, pGroup, KVGroupOperation::siblingsOf(pGroup, selection),
                                                 pCanvas));
}

void KVCanvasOperations::removeFromGroup(KVCanvas *pCanvas)
{
    const KVEditContext c = context(pCanvas);
    const QList<KVElement *> selection = c.selectedElements();
    if (c.isUsable() && KVGroupOperation::canRemoveFromGroup(selection))
        submit(pCanvas, KVGroupOperation::removeFromGroup(c.pTarget, selection, pCanvas));
}

void KVCanvasOperations::lockAll(KVCanvas *pCanvas)
{
    const KVEditContext c = context(pCanvas);
    if (c.isUsable())
        submit(pCanvas, KVVisibilityOperation::lockAll(c));
}

void KVCanvasOperations::lockSelected(KVCanvas *pCanvas)
{
    const KVEditContext c = context(pCanvas);
    if (c.isUsable())
        submit(pCanvas, KVVisibilityOperation::lockSelected(c));
}

void KVCanvasOperations::hideAll(KVCanvas *pCanvas)
{
    const KVEditContext c = context(pCanvas);
    if (c.isUsable())
        submit(pCanvas, KVVisibilityOperation::hideAll(c));
}

void KVCanvasOperations::hideSelected(KVCanvas *pCanvas)
{
    const KVEditContext c = context(pCanvas);
    if (c.isUsable())
        submit(pCanvas, KVVisibilityOperation::hideSelected(c));
}

void KVCanvasOperations::selectAll(KVCanvas *pCanvas)
{
    if (pCanvas->isEditingText()) {
        // Only the text being edited.
        emit pCanvas->exposingObject()->execTextEditorCommand(QStringLiteral("selectAll"), QString());
        return;
    }
    const KVEditContext c = context(pCanvas);
    if (c.isUsable())
        KVSelectOperation::run(KVSelectOperation::selectAll(c));
}

void KVCanvasOperations::deselectAll(KVCanvas *pCanvas)
{
    const KVEditContext c = context(pCanvas);
    if (c.isUsable())
        KVSelectOperation::run(KVSelectOperation::deselectAll(c));
}

bool KVCanvasOperations::prepareInsert(KVCanvas *pCanvas)
{
    if (!context(pCanvas).isUsable())
        return false;
    emit pCanvas->exposingObject()->cancelBuildingItem();
    emit pCanvas->exposingObject()->changeStageView(kInsertStageView);
    pCanvas->pauseTimeline();
    deselectAll(pCanvas);
    return true;
}

void KVCanvasOperations::insertText(KVCanvas *pCanvas)
{
    if (prepareInsert(pCanvas))
        submit(pCanvas, KVInsertOperation::insertText(context(pCanvas)));
}

void KVCanvasOperations::insertHtmlWidget(KVCanvas *pCanvas)
{
    if (!context(pCanvas).isUsable())
        return;
    // The widget comes when the dialog is accepted; the dialog does not hold up the event loop.
    auto *pDialog = new KVHTMLWidgetDialog(pCanvas);
    pDialog->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<KVCanvas> canvas(pCanvas);
    QObject::connect(pDialog, &QDialog::accepted, pCanvas, [canvas, pDialog] {
        if (!canvas || !context(canvas).isUsable() || !prepareInsert(canvas))
            return;
        submit(canvas, KVInsertOperation::insertHtmlWidget(context(canvas), pDialog->url(), nullptr, managerOf(canvas),
                                                           pDialog->widgetSize(), pDialog->code()));
    });
    pDialog->show();
    pDialog->raise();
}

void KVCanvasOperations::insertFiles(KVCanvas *pCanvas, int nResourceType)
{
    KVResourceManager *pManager = managerOf(pCanvas);
    if (!context(pCanvas).isUsable() || !pManager)
        return;
    QStringList patterns;
    for (const QString &strSuffix : KVResourceType::suffixes(nResourceType))
        patterns.append(QStringLiteral("*.") + strSuffix);
    const QStringList paths = FileDialogs::getOpenFileNames(
        pCanvas, KVInsertOperation::commandText(nResourceType), QString(),
        KVResourceType::fileKindText(nResourceType) + QStringLiteral(" (") + patterns.join(QLatin1Char(' '))
            + QLatin1Char(')'));
    if (paths.isEmpty() || !prepareInsert(pCanvas))
        return;
    const QList<KVResource *> resources = KVInsertOperation::importFiles(pManager, paths, nResourceType);
    if (resources.isEmpty())
        return;
    submit(pCanvas, KVInsertOperation::insertResources(context(pCanvas), resources, pManager, QPointF(), QString(),
                                                       [pCanvas](const KVResource *p) { return isEditedSymbol(pCanvas, p); },
                                                       true));
}

void KVCanvasOperations::refreshLockHideLabels(const KVCanvas *pCanvas)
{
    ActionManager *pActions = ICore::instance() ? ICore::instance()->actionManager() : nullptr;
    if (!pActions)
        return;
    const KVEditContext c = context(pCanvas);
    const KVScene *pScene = c.pScene;
    auto setText = [pActions](const char *pszId, const QString &strText) {
        if (QAction *pAction = pActions->getAction(QString::fromLatin1(pszId)))
            pAction->setText(strText);
    };
    setText("Edit.Lock_All", KVVisibilityOperation::lockAllText(pScene));
    setText("Edit.Hide ALL", KVVisibilityOperation::hideAllText(pScene));
    setText("Edit.Hide", KVVisibilityOperation::hideText(c));
}

bool KVCanvasOperations::acceptsDrag(const KVCanvas *pCanvas, const QMimeData *pData)
{
    const KVEditContext c = context(pCanvas);
    return c.isUsable() && KVDropPolicy::accepts(pData, c.pTimeline != nullptr);
}

QPointF KVCanvasOperations::stagePoint(const KVCanvas *pCanvas, const QPoint &ptView)
{
    const double dZoom = pCanvas->zoomFactor() > 0.0 ? pCanvas->zoomFactor() : 1.0;
    return (QPointF(ptView) - pCanvas->sceneOffset() + pCanvas->scrollValue()) / dZoom;
}

bool KVCanvasOperations::drop(KVCanvas *pCanvas, const QMimeData *pData, const QPoint &ptView)
{
    const KVEditContext c = context(pCanvas);
    KVResourceManager *pManager = managerOf(pCanvas);
    if (!c.isUsable() || !pManager)
        return false;
    const QPointF pt = stagePoint(pCanvas, ptView);
    auto refused = [pCanvas](const KVResource *p) { return isEditedSymbol(pCanvas, p); };
    switch (KVDropPolicy::kindOf(pData, c.pTimeline != nullptr)) {
    case KVDropPolicy::Resources:
        submit(pCanvas, KVDropPolicy::dropResources(c, pManager, KVDropPolicy::resourceIds(pData), pt, refused));
        return true;
    case KVDropPolicy::Files:
        submit(pCanvas, KVDropPolicy::dropFiles(c, pManager, pData->urls(), pt, refused));
        return true;
    case KVDropPolicy::PlainText:
        submit(pCanvas, KVInsertOperation::insertText(c, pData->text().toHtmlEscaped(), pt));
        return true;
    case KVDropPolicy::Elements:
        paste(pCanvas, pData, false, true, ptView);
        return true;
    default:
        return false;
    }
}

bool KVCanvasOperations::copy(KVCanvas *pCanvas, bool bCut)
{
    const KVEditContext c = context(pCanvas);
    QMimeData *pData = KVClipBoard::getInstance()->copyElements(c, managerOf(pCanvas));
    if (!pData)
        return false;
    QGuiApplication::clipboard()->setMimeData(pData);
    if (bCut)
        submit(pCanvas, KVDeleteOperation::removeSelected(c));
    return true;
}

void KVCanvasOperations::paste(KVCanvas *pCanvas, const QMimeData *pData, bool bWithAnimation, bool bAtCursor,
                               const QPoint &ptView)
{
    const KVEditContext c = context(pCanvas);
    KVDocument *pDocument = pCanvas->document();
    if (!c.isUsable() || !pDocument)
        return;
    // A pasted element may not hold the symbol being edited, at any depth.
    const KVResource *pEdited = pDocument->editedSymbolResource();
    auto containsEdited = [pEdited](const KVElement *pElement) {
        if (!pEdited)
            return false;
        QSet<int> ids;
        pElement->collectResources(ids);
        return ids.contains(pEdited->id());
    };
    submit(pCanvas, KVClipBoard::getInstance()->paste(c, pDocument, pData, bWithAnimation, bAtCursor,
                                                      stagePoint(pCanvas, ptView), containsEdited));
}
