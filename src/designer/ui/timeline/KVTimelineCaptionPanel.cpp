#include "KVTimelineCaptionPanel.h"

#include "KVTimelineScale.h"

#include "animation/KVKeyframeSegment.h"
#include "animation/KVTimeline.h"
#include "animation/KVTimelineList.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>

KVTimelineCaptionPanel::KVTimelineCaptionPanel(QWidget *pParent)
    : QWidget(pParent)
{
    setObjectName(QStringLiteral("KVTimelineCaptionPanel"));
    auto *pLayout = new QHBoxLayout(this);
    pLayout->setContentsMargins(4, 2, 4, 2);
    pLayout->setSpacing(4);
    m_pPlay = addButton(tr("Play"), QStringLiteral("PlayButton"));
    m_pPlay->setCheckable(true);
    connect(m_pPlay, &QToolButton::clicked, this, &KVTimelineCaptionPanel::playToggled);
    m_pAutoKey = addButton(tr("Auto Keyframe"), QStringLiteral("AutoKeyframeButton"));
    m_pAutoKey->setCheckable(true);
    connect(m_pAutoKey, &QToolButton::toggled, this, &KVTimelineCaptionPanel::autoKeyframeToggled);
    m_pSelector = new QComboBox(this);
    m_pSelector->setObjectName(QStringLiteral("TimelineSelector"));
    m_pSelector->setMinimumContentsLength(16);
    pLayout->addWidget(m_pSelector);
    connect(m_pSelector, qOverload<int>(&QComboBox::activated), this, [this](int nIndex) {
        if (m_pList && m_pList->at(nIndex))
            emit timelineChosen(m_pList->at(nIndex));
    });
    connect(addButton(tr("New Timeline"), QStringLiteral("NewTimeline")), &QToolButton::clicked, this,
            &KVTimelineCaptionPanel::newTimelineRequested);
    connect(addButton(tr("Remove Timeline"), QStringLiteral("RemoveTimeline")), &QToolButton::clicked, this,
            &KVTimelineCaptionPanel::removeTimelineRequested);
    connect(addButton(tr("Rename Timeline"), QStringLiteral("RenameTimeline")), &QToolButton::clicked, this,
            &KVTimelineCaptionPanel::renameTimelineRequested);
    connect(addButton(tr("Set as Main Timeline"), QStringLiteral("SetMainTimeline")), &QToolButton::clicked, this,
            &KVTimelineCaptionPanel::mainTimelineRequested);
    m_pEasing = addButton(tr("Easing: %1").arg(tr("Linear")), QStringLiteral("EasingButton"));
    connect(m_pEasing, &QToolButton::clicked, this, &KVTimelineCaptionPanel::easingButtonClicked);
    m_pGrid = addButton(tr("Grid"), QStringLiteral("GridButton"));
    m_pSnap = addButton(tr("Snap To"), QStringLiteral("SnapButton"));
    buildMenus();
    pLayout->addStretch(1);
    m_pZoom = new QSlider(Qt::Horizontal, this);
    m_pZoom->setObjectName(QStringLiteral("ZoomSlider"));
    m_pZoom->setRange(KVTimelineScale::MinZoom, KVTimelineScale::MaxZoom);
    m_pZoom->setValue(KVTimelineScale::DefaultZoom);
    m_pZoom->setFixedWidth(160);
    pLayout->addWidget(m_pZoom);
    connect(m_pZoom, &QSlider::valueChanged, this, &KVTimelineCaptionPanel::zoomChanged);
    connect(addButton(tr("Zoom Fit"), QStringLiteral("ZoomFit")), &QToolButton::clicked, this,
            &KVTimelineCaptionPanel::zoomFitRequested);
}

QToolButton *KVTimelineCaptionPanel::addButton(const QString &strText, const QString &strName)
{
    auto *pButton = new QToolButton(this);
    pButton->setObjectName(strName);
    pButton->setText(strText);
    pButton->setAutoRaise(true);
    layout()->addWidget(pButton);
    return pButton;
}

void KVTimelineCaptionPanel::buildMenus()
{
    m_pGridMenu = new QMenu(this);
    QAction *pShow = m_pGridMenu->addAction(tr("Show Grid"));
    pShow->setCheckable(true);
    connect(pShow, &QAction::toggled, this, [this](bool b) {
        if (m_pList && m_pList->currentTimeline())
            m_pList->currentTimeline()->setShowGrid(b);
        emit settingsChanged();
    });
    m_pGridMenu->addSeparator();
    for (int nSize = 0; nSize <= 6; ++nSize) {
        QAction *pRate = m_pGridMenu->addAction(KVTimeline::gridRateLabel(nSize));
        pRate->setCheckable(true);
        pRate->setData(nSize);
        connect(pRate, &QAction::triggered, this, [this, nSize] {
            if (m_pList && m_pList->currentTimeline())
                m_pList->currentTimeline()->setGridSize(nSize);
            refreshMenus();
            emit settingsChanged();
        });
    }
    m_pGrid->setMenu(m_pGridMenu);
    m_pGrid->setPopupMode(QToolButton::InstantPopup);

    m_pSnapMenu = new QMenu(this);
    using Setter = void (KVTimeline::*)(bool);
    const QList<QPair<QString, Setter>> kSnaps = {{tr("Snapping"), &KVTimeline::setShowSnapping},
                                                  {tr("Grid"), &KVTimeline::setSnapToGrid},
                                                  {tr("Playhead"), &KVTimeline::setSnapToPlayhead},
                                                  {tr("Keyframes, Labels, Triggers"), &KVTimeline::setSnapToKeyframes}};
    for (const auto &snap : kSnaps) {
        QAction *pAction = m_pSnapMenu->addAction(snap.first);
        pAction->setCheckable(true);
        const Setter setter = snap.second;
        connect(pAction, &QAction::toggled, this, [this, setter](bool b) {
            if (m_pList && m_pList->currentTimeline())
                (m_pList->currentTimeline()->*setter)(b);
            emit settingsChanged();
        });
    }
    m_pSnap->setMenu(m_pSnapMenu);
    m_pSnap->setPopupMode(QToolButton::InstantPopup);
}

void KVTimelineCaptionPanel::refreshMenus()
{
    const KVTimeline *pTimeline = m_pList ? m_pList->currentTimeline() : nullptr;
    const QList<QAction *> grid = m_pGridMenu->actions();
    const QList<QAction *> snaps = m_pSnapMenu->actions();
    for (QAction *pAction : grid + snaps)
        pAction->setEnabled(pTimeline);
    if (!pTimeline)
        return;
    const QSignalBlocker b1(m_pGridMenu), b2(m_pSnapMenu);
    for (QAction *pAction : grid) {
        const QSignalBlocker b(pAction);
        if (pAction->isSeparator())
            continue;
        pAction->setChecked(pAction->data().isValid() ? pAction->data().toInt() == pTimeline->gridSize()
                                                      : pTimeline->showGrid());
    }
    const bool kStates[] = {pTimeline->showSnapping(), pTimeline->snapToGrid(), pTimeline->snapToPlayhead(),
                            pTimeline->snapToKeyframes()};
    for (int i = 0; i < snaps.size() && i < 4; ++i) {
        const QSignalBlocker b(snaps.at(i));
        snaps.at(i)->setChecked(kStates[i]);
    }
}

QString KVTimelineCaptionPanel::selectorText(const KVTimeline *pTimeline, bool bMain)
{
    return bMain ? tr("Main Timeline") : tr("%1 (%2)").arg(pTimeline->name()).arg(pTimeline->id());
}

void KVTimelineCaptionPanel::showTimelines(const KVTimelineList *pList)
{
    m_pList = pList;
    const QSignalBlocker blocker(m_pSelector);
    m_pSelector->clear();
    if (pList) {
        for (int i = 0; i < pList->count(); ++i)
            m_pSelector->addItem(selectorText(pList->at(i), i == 0));
        m_pSelector->setCurrentIndex(pList->indexOf(pList->currentTimeline()));
    }
    const KVTimeline *pTimeline = pList ? pList->currentTimeline() : nullptr;
    const int nEasing = pTimeline ? pTimeline->defaultEasing().type() : 0;
    m_pEasing->setText(tr("Easing: %1").arg(KVKeyframeSegment::easingName(nEasing)));
    if (pTimeline)
        setZoom(qRound(pTimeline->pixelPerSecond() * 100));
    refreshMenus();
}

void KVTimelineCaptionPanel::setPlaying(bool bPlaying)
{
    m_pPlay->setChecked(bPlaying);
    m_pPlay->setText(bPlaying ? tr("Pause") : tr("Play"));
}

void KVTimelineCaptionPanel::setAutoKeyframe(bool bOn)
{
    const QSignalBlocker blocker(m_pAutoKey);
    m_pAutoKey->setChecked(bOn);
}

void KVTimelineCaptionPanel::setZoom(int nSliderValue)
{
    const QSignalBlocker blocker(m_pZoom);
    m_pZoom->setValue(nSliderValue);
}

int KVTimelineCaptionPanel::zoom() const
{
    return m_pZoom->value();
}
