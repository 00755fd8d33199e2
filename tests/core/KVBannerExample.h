#pragma once

// The example project shipped in examples/banner: a two-scene banner with rectangles, text, an auto
// shape and a free-form outline, animated on their main timelines with several easings, with a
// label, a trigger, event handlers and a user function. Built through the model so that the
// committed file is always what the writer makes of it.

#include "animation/KVAnimation.h"
#include "animation/KVKeyValue.h"
#include "animation/KVKeyframe.h"
#include "animation/KVPropertyCatalogue.h"
#include "animation/KVTimeline.h"
#include "document/KVHeadlessProject.h"
#include "interaction/KVActionCatalogue.h"
#include "interaction/KVEventCatalogue.h"
#include "interaction/KVEventListener.h"
#include "interaction/KVEventListenerList.h"
#include "interaction/KVFunction.h"
#include "interaction/KVFunctionContainer.h"
#include "model/KVAutoShape.h"
#include "model/KVBackground.h"
#include "model/KVBezierPath.h"
#include "model/KVBreakpointSet.h"
#include "model/KVElementFactory.h"
#include "model/KVFreeFormShape.h"
#include "model/KVFreeFormShapeProperty.h"
#include "model/KVSceneList.h"
#include "model/KVText.h"
#include "resources/KVResource.h"
#include "resources/KVResourceManager.h"

#include <QDir>
#include <QEasingCurve>
#include <QFileInfo>
#include <QImage>
#include <QUuid>

namespace KVBannerExample {

using Cat = KVPropertyCatalogue;

inline QString logoFileName() { return QStringLiteral("logo.png"); }

// The logo: a small two-colour PNG.
inline QImage logoImage()
{
    QImage image(48, 24, QImage::Format_ARGB32);
    image.fill(QColor(0x20, 0x90, 0xe6));
    for (int y = 6; y < 18; ++y)
        for (int x = 6; x < 42; ++x)
            image.setPixelColor(x, y, QColor(0xff, 0xc8, 0x3d));
    return image;
}

// A track of one property from key to key; each key is (time, value, easing of the segment that
// leads to the next key).
struct Key
{
    int nTime;
    QVariant value;
    int nEasing;
};

inline KVAnimation *animation(KVTimeline *pTimeline, KVElement *pElement)
{
    const KVLayoutKey base = KVLayoutKey::base();
    if (KVAnimation *pExisting = pTimeline->findAnimation(pElement, base))
        return pExisting;
    auto *pAnimation = new KVAnimation(pElement);
    pTimeline->addAnimation(pAnimation, base);
    return pAnimation;
}

inline void animate(KVTimeline *pTimeline, KVElement *pElement, int nCode, const QList<Key> &keys)
{
    KVKeyframe *pTrack = KVKeyframe::create(pElement, nCode, KVLayoutKey::base());
    int nEasing = QEasingCurve::Linear;
    for (const Key &key : keys) {
        pTrack->addKeyValue(new KVKeyValue(key.nTime, key.value), nEasing, true);
        nEasing = key.nEasing;
    }
    animation(pTimeline, pElement)->addKeyframe(pTrack);
}

inline KVElement *add(KVScene *pScene, int nType, const QString &strName, double dX, double dY, double dW, double dH)
{
    KVElement *pElement = KVElementFactory::createElement(nType);
    pElement->setName(strName);
    pElement->setPositionX(dX);
    pElement->setPositionY(dY);
    pElement->setSizeW(dW);
    pElement->setSizeH(dH);
    pScene->addElement(pElement);
    return pElement;
}

// Builds the banner into an empty project whose file name is set; the logo file must lie in its
// resource folder already.
inline void build(KVHeadlessProject &project)
{
    const QDateTime stamp(QDate(2026, 3, 14), QTime(9, 30), Qt::UTC);
    project.setAuthor(QStringLiteral("Kavio Studio examples"));
    project.setCreated(stamp);
    project.setModified(stamp);
    project.setModifiedBy(QStringLiteral("Kavio Studio examples"));
    project.setWidth(728);
    project.setHeight(90);
    project.setAlign(4);
    project.setTitle(QStringLiteral("Spring sale banner"));
    project.setDescription(QStringLiteral("A leaderboard banner in two scenes."));
    project.setKeywords(QStringLiteral("banner, sale, example"));
    project.setAutofit(true);

    KVDocumentSettings &settings = project.settings();
    settings.m_strContainerId = QStringLiteral("kvBanner");
    settings.m_bEmbedSystemFont = true;

    // The logo resource.
    KVResourceManager *pResources = project.resourceManager();
    KVResource *pLogo = KVResource::create(0);
    pLogo->setName(QStringLiteral("logo"));
    pLogo->setFileName(logoFileName());
    pLogo->setUuid(QUuid(QStringLiteral("{6b1f3c52-0d7e-4a8e-9c61-3f2b7d9e0a41}")));
    pLogo->setDataSize(QFileInfo(project.resourceFolderPath() + QLatin1Char('/') + logoFileName()).size());
    pResources->addResource(pLogo);

    // A function the buttons run.
    auto *pFunction = new KVFunction;
    pFunction->setName(QStringLiteral("openShop"));
    pFunction->setParams({QStringLiteral("e")});
    pFunction->setContent(QStringLiteral("window.open('https://shop.example.com/spring', '_blank');"));
    pFunction->setUuid(QUuid(QStringLiteral("{0c4e8a7d-5b21-4f3e-8d90-7a6c1e2b3f58}")));
    project.functions()->insert(pFunction);

    project.eventHandlers()->insert(new KVEventListener(
        KVEventCatalogue::DocumentReady, KVActionCatalogue::PlayTimeline,
        QJsonObject{{QStringLiteral("timeline_id"), KVActionCatalogue::MainTimeline}}));

    KVSceneList *pScenes = project.sceneList();

    // Scene 1: the offer slides in and fades up.
    KVScene *pIntro = pScenes->createScene();
    pIntro->setName(QStringLiteral("Intro"));
    pScenes->addScene(pIntro);
    KVElement *pPanel = add(pIntro, 5, QStringLiteral("panel"), 0, 0, 728, 90);
    pPanel->background()->setSolidColor(QColor(0x1b, 0x2a, 0x4a));
    KVElement *pBadge = add(pIntro, 5, QStringLiteral("logo"), 16, 33, 48, 24);
    pBadge->background()->setImageUseCounter(pResources);
    pBadge->background()->setImageResourceId(pLogo->id());
    pBadge->background()->setFillStyle(KVBackground::ImageFill);
    auto *pHeadline = static_cast<KVText *>(add(pIntro, 4, QStringLiteral("headline"), 90, 20, 360, 50));
    pHeadline->setInnerHtml(QStringLiteral("Spring sale: <b>30% off</b>"));
    pHeadline->setFontSize(28);
    pHeadline->setForeground(Qt::white);
    auto *pButton = static_cast<KVAutoShape *>(add(pIntro, 9, QStringLiteral("button"), 560, 25, 140, 40));
    pButton->setShapeType(1);
    pButton->insert(new KVEventListener(
        KVEventCatalogue::MouseClick, KVActionCatalogue::RunJavaScript,
        QJsonObject{{QStringLiteral("function_id"), pFunction->id()}}));
    pButton->insert(new KVEventListener(
        KVEventCatalogue::MouseOver, KVActionCatalogue::PlayTimelineFrom,
        QJsonObject{{QStringLiteral("timeline_id"), KVActionCatalogue::MainTimeline},
                    {QStringLiteral("time"), 1200}}));

    KVTimeline *pIntroTimeline = pIntro->mainTimeline();
    animate(pIntroTimeline, pHeadline, Cat::Left,
            {{0, -360.0, QEasingCurve::OutCubic}, {900, 90.0, QEasingCurve::Linear}});
    animate(pIntroTimeline, pHeadline, Cat::Opacity,
            {{0, 0.0, QEasingCurve::InOutQuad}, {700, 1.0, QEasingCurve::Linear}});
    animate(pIntroTimeline, pButton, Cat::RotateZ,
            {{1200, 0.0, QEasingCurve::OutBack}, {1500, 8.0, QEasingCurve::OutElastic}, {2000, 0.0, QEasingCurve::Linear}});
    animate(pIntroTimeline, pBadge, Cat::Top,
            {{0, 90.0, QEasingCurve::OutBounce}, {800, 33.0, QEasingCurve::Linear}});
    pIntroTimeline->addLabel(QStringLiteral("offer"), 1200);
    auto *pTrigger = new KVEventListenerList;
    pTrigger->insert(new KVEventListener(KVEventCatalogue::Trigger, KVActionCatalogue::JumpToScene,
                                         QJsonObject{{QStringLiteral("scene_id"), KVActionCatalogue::NextScene}}));
    pTrigger->setTriggerTime(3000);
    pIntroTimeline->addTrigger(pTrigger);

    // Scene 2: the call to action.
    KVScene *pOutro = pScenes->createScene();
    pOutro->setName(QStringLiteral("Call to action"));
    pOutro->setTransitionType(1);
    pOutro->setTransitionDuration(500);
    pOutro->setTransitionEasing(QEasingCurve::InOutSine);
    pScenes->addScene(pOutro);
    auto *pLine = static_cast<KVText *>(add(pOutro, 4, QStringLiteral("slogan"), 24, 24, 420, 44));
    pLine->setInnerHtml(QStringLiteral("Only until Sunday."));
    pLine->setFontSize(24);
    auto *pSwoosh = static_cast<KVFreeFormShape *>(add(pOutro, 11, QStringLiteral("swoosh"), 460, 10, 120, 70));
    KVBezierPath path;
    KVPathPoint start;
    start.x = 0; start.y = 60; start.x1 = 0; start.y1 = 60; start.x2 = 40; start.y2 = 0; start.bStartPoint = true;
    KVPathPoint end;
    end.x = 120; end.y = 10; end.x1 = 80; end.y1 = 70; end.x2 = 120; end.y2 = 10;
    path.appendPoint(start);
    path.appendPoint(end);
    pSwoosh->freeFormProperty()->setPath(path);
    auto *pShop = static_cast<KVAutoShape *>(add(pOutro, 9, QStringLiteral("shop"), 600, 25, 110, 40));
    pShop->insert(new KVEventListener(
        KVEventCatalogue::MouseClick, KVActionCatalogue::GoToUrl,
        QJsonObject{{QStringLiteral("url"), QStringLiteral("https://shop.example.com/spring")},
                    {QStringLiteral("window"), 1}}));
    pOutro->insert(new KVEventListener(KVEventCatalogue::SceneActivate, KVActionCatalogue::ShowElement,
                                       QJsonObject{{QStringLiteral("element_id"), pShop->id()}}));

    KVTimeline *pOutroTimeline = pOutro->mainTimeline();
    animate(pOutroTimeline, pLine, Cat::Opacity,
            {{0, 0.0, QEasingCurve::InQuart}, {600, 1.0, QEasingCurve::Linear}});
    animate(pOutroTimeline, pSwoosh, Cat::RotateZ,
            {{0, -20.0, QEasingCurve::OutInCirc}, {1000, 0.0, QEasingCurve::Linear}});
    animate(pOutroTimeline, pShop, Cat::Left,
            {{200, 728.0, QEasingCurve::OutExpo}, {900, 600.0, QEasingCurve::Linear}});
    pOutroTimeline->addLabel(QStringLiteral("end"), 1000);

    // The stage shows time 0, as it does when the project is opened.
    pIntroTimeline->seek(0);
    pOutroTimeline->seek(0);
    project.setCurrentScene(pIntro);
}

} // namespace KVBannerExample
