#include "KVTimelineWindow.h"

#include "KVEasingCurvePicker.h"
#include "KVTimeEditor.h"
#include "KVTimelineCaptionPanel.h"
#include "KVTimelineRulerPanel.h"
#include "KVTimelineScenePanel.h"
#include "KVTimelineView.h"

#include "IEditor.h"
#include "Reporter.h"
#include "animation/KVKeyframe.h"
#include "animation/KVKeyframeSegment.h"
#include "animation/KVTimeline.h"
#include "animation/KVTimelineList.h"
#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"
#include "commands/KVEditContext.h"
#include "commands/KVSelectOperation.h"
#include "commands/KVTimelineOperation.h"
#include "commands/KVUpdateViewInfo.h"
#include "document/KVDocument.h"
#include "model/KVScene.h"

#include <QHBoxLayout>
#include <QInputDialog>
#include <QScrollBar>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

// Messages that change no row, item or value of the timeline.
bool leavesRows(int nType)
{
    switch (nType) {
    case KVCommandAction::SelectElement:
    case KVCommandAction::SelectionChanged:
    case KVCommandAction::TextEditingNotice:
    case KVCommandAction::TextFormatNotice:
    case KVCommandAction::TextCommandNotice:
    case KVCommandAction::PlayNotice:
    case KVCommandAction::PauseNotice:
    case KVCommandAction::TimeNotice:
    case KVCommandAction::FinishTasksNotice:
    case KVCommandAction::CommandDone:
        return true;
    default:
        return false;
    }
}

} // namespace

KVTimelineWindow::KVTimelineWindow(QWidget *pParent)
    : QWidget(pParent)
    , m_pCaption(new KVTimelineCaptionPanel(this))
    , m_pScenePanel(new KVTimelineScenePanel(this))
    , m_pRuler(new KVTimelineRulerPanel(this))
    , m_pView(new KVTimelineView(this))
    , m_pTimeEditor(new KVTimeEditor(this))
{
    setObjectName(QStringLiteral("KVTimelineWindow"));
    auto *pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    pLayout->addWidget(m_pCaption);
    auto *pSplitter = new QSplitter(Qt::Horizontal, this);
    auto *pLeft = new QWidget(pSplitter);
    auto *pLeftLayout = new QVBoxLayout(pLeft);
    pLeftLayout->setContentsMargins(0, 0, 0, 0);
    pLeftLayout->setSpacing(0);
    m_pTimeEditor->setFixedHeight(KVTimelineRulerPanel::Height);
    pLeftLayout->addWidget(m_pTimeEditor);
    pLeftLayout->addWidget(m_pScenePanel);
    auto *pRight = new QWidget(pSplitter);
    auto *pRightLayout = new QVBoxLayout(pRight);
    pRightLayout->setContentsMargins(0, 0, 0, 0);
    pRightLayout->setSpacing(0);
    pRightLayout->addWidget(m_pRuler);
    pRightLayout->addWidget(m_pView);
    pSplitter->addWidget(pLeft);
    pSplitter->addWidget(pRight);
    pSplitter->setStretchFactor(1, 1);
    pSplitter->setSizes({260, 740});
    pLayout->addWidget(pSplitter, 1);

    // The left rows scroll with the lanes; the ruler with the time axis.
    connect(m_pView->verticalScrollBar(), &QScrollBar::valueChanged, m_pScenePanel->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(m_pScenePanel->verticalScrollBar(), &QScrollBar::valueChanged, m_pView->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(m_pView->horizontalScrollBar(), &QScrollBar::valueChanged, m_pRuler, &KVTimelineRulerPanel::setOffset);

    connect(m_pRuler, &KVTimelineRulerPanel::seekRequested, this, [this](int nTime, bool) { seek(nTime); });
    connect(m_pTimeEditor, &KVTimeEditor::timeEntered, this, &KVTimelineWindow::seek);
    connect(m_pView, &KVTimelineView::keysMoved, this, [this](const QList<KVTimelineOperation::KeyMove> &moves) {
        if (!submit(KVTimelineOperation::moveKeyValues(context(), moves)))
            rebuild();
    });
    connect(m_pView, &KVTimelineView::zoomStepped, this,
            [this](bool bForward) { setZoom(KVTimelineScale::zoomStep(m_pCaption->zoom(), bForward)); });
    connect(m_pView, &KVTimelineView::deleteRequested, this, &KVTimelineWindow::onDelete);
    connect(m_pView, &KVTimelineView::easingRequested, this, &KVTimelineWindow::showEasingCurvePicker);
    connect(m_pView, &KVTimelineView::transitionRequested, this,
            [this](bool bOn) { bOn ? createTransition() : removeTransition(); });
    connect(m_pView, &KVTimelineView::invertRequested, this, &KVTimelineWindow::invertTransition);

    connect(m_pScenePanel, &KVTimelineScenePanel::elementClicked, this, [this](KVElement *pElement) {
        KVSelectOperation::run(KVSelectOperation::select(context(), {pElement}));
    });
    connect(m_pScenePanel, &KVTimelineScenePanel::elementExpanded, this, [this](KVElement *pElement, bool bExpanded) {
        if (bExpanded)
            m_collapsedIds.remove(pElement->id());
        else
            m_collapsedIds.insert(pElement->id());
        m_rows = KVTimelineRows::build(scene(), timeline(), m_collapsedIds);
        m_pView->build(m_rows, timeline(), m_scale);
        m_pView->setPlayheadTime(timeline() ? timeline()->currentTimeMs() : 0);
    });
    connect(m_pScenePanel, &KVTimelineScenePanel::propertyEdited, this, &KVTimelineWindow::changeElementProp);

    connect(m_pCaption, &KVTimelineCaptionPanel::playToggled, this, [this] {
        if (m_pDocument)
            m_pDocument->togglePlayback();
    });
    connect(m_pCaption, &KVTimelineCaptionPanel::autoKeyframeToggled, this, [this](bool bOn) {
        if (m_pDocument)
            m_pDocument->setAutoKeyframeMode(bOn);
    });
    connect(m_pCaption, &KVTimelineCaptionPanel::timelineChosen, this,
            [this](KVTimeline *pTimeline) { submit(KVTimelineOperation::selectTimeline(context(), pTimeline)); });
    connect(m_pCaption, &KVTimelineCaptionPanel::newTimelineRequested, this, &KVTimelineWindow::newTimeline);
    connect(m_pCaption, &KVTimelineCaptionPanel::removeTimelineRequested, this, &KVTimelineWindow::removeTimeline);
    connect(m_pCaption, &KVTimelineCaptionPanel::renameTimelineRequested, this, &KVTimelineWindow::renameTimeline);
    connect(m_pCaption, &KVTimelineCaptionPanel::mainTimelineRequested, this, &KVTimelineWindow::setMainTimeline);
    connect(m_pCaption, &KVTimelineCaptionPanel::easingButtonClicked, this, &KVTimelineWindow::chooseDefaultEasing);
    connect(m_pCaption, &KVTimelineCaptionPanel::zoomChanged, this, &KVTimelineWindow::setZoom);
    connect(m_pCaption, &KVTimelineCaptionPanel::zoomFitRequested, this, &KVTimelineWindow::zoomFit);
    connect(m_pCaption, &KVTimelineCaptionPanel::settingsChanged, m_pView->viewport(), qOverload<>(&QWidget::update));
    setEnabled(false);
}

KVTimelineWindow::~KVTimelineWindow() = default;

KVDocument *KVTimelineWindow::document() const
{
    return m_pDocument.data();
}

KVScene *KVTimelineWindow::scene() const
{
    return m_pDocument ? m_pDocument->currentScene() : nullptr;
}

KVTimeline *KVTimelineWindow::timeline() const
{
    KVScene *pScene = scene();
    return pScene ? pScene->currentTimeline() : nullptr;
}

KVEditContext KVTimelineWindow::context() const
{
    KVEditContext c;
    c.pTarget = m_pDocument.data();
    c.pScene = scene();
    c.pTimeline = timeline();
    c.nCurrentTime = c.pTimeline ? c.pTimeline->currentTimeMs() : 0;
    c.bAutoKeyframe = m_pDocument && m_pDocument->isAutoKeyframeMode();
    return c;
}

bool KVTimelineWindow::submit(KVCommand *pCommand)
{
    if (!pCommand || !m_pDocument) {
        delete pCommand;
        return false;
    }
    m_pDocument->submitCommand(pCommand, true);
    return true;
}

// ---- Following the editor and the document -------------------------------------------------------

void KVTimelineWindow::updateEditorActivated(IEditor *pEditor)
{
    auto *pDocument = pEditor ? qobject_cast<KVDocument *>(pEditor->getDocument()) : nullptr;
    if (pDocument == m_pDocument)
        return;
    handleDocumentClosing();
    m_pDocument = pDocument;
    handleDocumentLoaded();
}

void KVTimelineWindow::updateEditorDeactivated(IEditor *pEditor)
{
    if (pEditor && pEditor->getDocument() == m_pDocument.data())
        handleDocumentClosing();
}

void KVTimelineWindow::handleDocumentLoaded()
{
    if (!m_pDocument)
        return;
    connect(m_pDocument, &KVDocument::dataChanged, this, &KVTimelineWindow::handleDocumentChanged);
    connect(m_pDocument, &KVDocument::changeAutoKeyframeMode, m_pCaption, &KVTimelineCaptionPanel::setAutoKeyframe);
    connect(m_pDocument, &QObject::destroyed, this, &KVTimelineWindow::handleDocumentClosing);
    m_pCaption->setAutoKeyframe(m_pDocument->isAutoKeyframeMode());
    setEnabled(true);
    rebuild();
}

void KVTimelineWindow::handleDocumentClosing()
{
    if (m_pDocument)
        disconnect(m_pDocument, nullptr, this, nullptr);
    if (m_pFollowed)
        disconnect(m_pFollowed, nullptr, this, nullptr);
    m_pDocument = nullptr;
    m_pFollowed = nullptr;
    m_collapsedIds.clear();
    rebuild();
    setEnabled(false);
}

void KVTimelineWindow::handleDocumentChanged(QObject *pUpdateInfo)
{
    auto *pInfo = qobject_cast<KVUpdateViewInfo *>(pUpdateInfo);
    if (!pInfo)
        return;
    const int nType = pInfo->type();
    switch (nType) {
    case KVCommandAction::PlayNotice:
        m_pCaption->setPlaying(true);
        return;
    case KVCommandAction::PauseNotice:
        m_pCaption->setPlaying(false);
        notifyTimestampChanged(false);
        return;
    case KVCommandAction::TimeNotice:
        notifyTimestampChanged(true);
        return;
    case KVCommandAction::CommandDone:
        if (m_bDirty)
            rebuild();
        else
            m_pScenePanel->refreshValues(timeline() ? timeline()->currentTimeMs() : 0);
        return;
    default:
        m_bDirty = m_bDirty || !leavesRows(nType);
        return;
    }
}

void KVTimelineWindow::followTimeline()
{
    KVTimeline *pTimeline = timeline();
    if (pTimeline == m_pFollowed)
        return;
    if (m_pFollowed)
        disconnect(m_pFollowed, nullptr, this, nullptr);
    m_pFollowed = pTimeline;
    if (!pTimeline)
        return;
    connect(pTimeline, &KVTimeline::timeChanged, this, [this] { notifyTimestampChanged(false); });
    connect(pTimeline, &QAbstractAnimation::stateChanged, this, &KVTimelineWindow::timelinePlaybackStateChanged);
}

void KVTimelineWindow::rebuild()
{
    m_bDirty = false;
    followTimeline();
    KVTimeline *pTimeline = timeline();
    m_pCaption->showTimelines(scene() ? scene()->timelines() : nullptr);
    m_scale.setPixelPerSecond(pTimeline ? pTimeline->pixelPerSecond() : KVTimelineScale::DefaultZoom / 100.0);
    const int nTime = pTimeline ? pTimeline->currentTimeMs() : 0;
    m_rows = KVTimelineRows::build(scene(), pTimeline, m_collapsedIds);
    m_pScenePanel->build(m_rows, nTime);
    m_pView->build(m_rows, pTimeline, m_scale);
    m_pRuler->setScale(m_scale);
    m_pRuler->setOffset(m_pView->horizontalScrollBar()->value());
    notifyTimestampChanged(false);
}

// ---- Time ----------------------------------------------------------------------------------------

void KVTimelineWindow::seek(int nTime)
{
    KVTimeline *pTimeline = timeline();
    if (!pTimeline || !m_pDocument)
        return;
    if (m_pDocument->isPlaying())
        m_pDocument->stopPlayback();
    pTimeline->seek(qMax(0, nTime));
    // The stage follows through the time notice, as for every other jump of the playhead.
    KVCommand notice(m_pDocument.data(), QString());
    notice.setPausePlaybackFirst(false);
    notice.addAction(KVCommandAction::playbackNotice(KVCommandAction::TimeNotice, m_pDocument.data(), pTimeline, true));
    notice.execute();
}

void KVTimelineWindow::notifyTimestampChanged(bool)
{
    const int nTime = timeline() ? timeline()->currentTimeMs() : 0;
    m_pRuler->setPlayheadTime(nTime);
    m_pView->setPlayheadTime(nTime);
    m_pTimeEditor->showTime(nTime);
    m_pScenePanel->refreshValues(nTime);
    if (timeline() && timeline()->state() == QAbstractAnimation::Running)
        autoScrollView();
}

void KVTimelineWindow::autoScrollView()
{
    const int x = m_scale.xForTime(m_pRuler->playheadTime());
    QScrollBar *pBar = m_pView->horizontalScrollBar();
    const int nWidth = m_pView->viewport()->width();
    if (x < pBar->value() || x > pBar->value() + nWidth - 20)
        pBar->setValue(qMax(0, x - nWidth / 4));
}

void KVTimelineWindow::timelinePlaybackStateChanged(QAbstractAnimation::State newState, QAbstractAnimation::State)
{
    m_pCaption->setPlaying(newState == QAbstractAnimation::Running);
}

void KVTimelineWindow::setZoom(int nSliderValue)
{
    m_pCaption->setZoom(nSliderValue);
    if (KVTimeline *pTimeline = timeline())
        pTimeline->setPixelPerSecond(nSliderValue / 100.0);
    m_scale.setPixelPerSecond(nSliderValue / 100.0);
    m_pView->build(m_rows, timeline(), m_scale);
    m_pView->setPlayheadTime(timeline() ? timeline()->currentTimeMs() : 0);
    m_pRuler->setScale(m_scale);
}

void KVTimelineWindow::zoomFit()
{
    KVTimeline *pTimeline = timeline();
    setZoom(KVTimelineScale::fitZoom(pTimeline ? pTimeline->totalDuration() : 0, m_pView->viewport()->width() - 40));
}

// ---- Commands ------------------------------------------------------------------------------------

void KVTimelineWindow::addKeyframe(int nPropertyCode)
{
    submit(KVTimelineOperation::addKeyframe(context(), nPropertyCode));
}

void KVTimelineWindow::changeElementProp(KVElement *pElement, int nCode, const QVariant &value)
{
    if (!submit(KVTimelineOperation::setPropertyValue(context(), pElement, nCode, value)))
        m_pScenePanel->refreshValues(timeline() ? timeline()->currentTimeMs() : 0);
}

void KVTimelineWindow::showEasingCurvePicker()
{
    const QList<KVTimelineOperation::KeyRef> segments = m_pView->selectedSegments();
    if (segments.isEmpty())
        return;
    const KVTimelineOperation::KeyRef first = segments.first();
    const KVKeyframeSegment *pSegment = first.pTrack->innerSegment(first.pTrack->keyValues().indexOf(first.pKey));
    auto *pPicker = new KVEasingCurvePicker(pSegment ? pSegment->easingCode() : 0, this);
    connect(pPicker, &KVEasingCurvePicker::easingChosen, this,
            [this, segments](int nCode) { submit(KVTimelineOperation::changeEasing(context(), segments, nCode)); });
    pPicker->show();
}

void KVTimelineWindow::chooseDefaultEasing()
{
    KVTimeline *pTimeline = timeline();
    if (!pTimeline)
        return;
    auto *pPicker = new KVEasingCurvePicker(pTimeline->defaultEasing().type(), this);
    QPointer<KVTimeline> pChosenFor(pTimeline);
    connect(pPicker, &KVEasingCurvePicker::easingChosen, this, [this, pChosenFor](int nCode) {
        if (!pChosenFor)
            return;
        pChosenFor->setDefaultEasing(KVKeyframeSegment::curveForCode(nCode));
        m_pCaption->showTimelines(scene() ? scene()->timelines() : nullptr);
    });
    pPicker->show();
}

void KVTimelineWindow::createTransition()
{
    submit(KVTimelineOperation::setTransition(context(), m_pView->selectedSegments(), true));
}

void KVTimelineWindow::removeTransition()
{
    submit(KVTimelineOperation::setTransition(context(), m_pView->selectedSegments(), false));
}

void KVTimelineWindow::invertTransition()
{
    submit(KVTimelineOperation::invertSegments(context(), m_pView->selectedSegments()));
}

void KVTimelineWindow::onDelete()
{
    submit(KVTimelineOperation::removeKeyValues(context(), m_pView->selectedKeys()));
}

void KVTimelineWindow::newTimeline()
{
    KVScene *pScene = scene();
    if (!pScene)
        return;
    submit(KVTimelineOperation::newTimeline(context(), KVTimelineOperation::proposedTimelineName(pScene->timelines())));
}

void KVTimelineWindow::removeTimeline()
{
    QString strError;
    if (!submit(KVTimelineOperation::removeTimeline(context(), timeline(), &strError)) && !strError.isEmpty())
        Reporter::warning(strError);
}

void KVTimelineWindow::renameTimeline()
{
    KVTimeline *pTimeline = timeline();
    if (!pTimeline)
        return;
    bool bOk = false;
    const QString strName = QInputDialog::getText(this, tr("Rename Timeline"), tr("Timeline name:"),
                                                  QLineEdit::Normal, pTimeline->name(), &bOk);
    if (!bOk)
        return;
    QString strError;
    if (!submit(KVTimelineOperation::renameTimeline(context(), pTimeline, strName, &strError)) && !strError.isEmpty())
        Reporter::warning(strError);
}

void KVTimelineWindow::setMainTimeline()
{
    submit(KVTimelineOperation::setMainTimeline(context(), timeline()));
}
