#pragma once

// The example project shipped in examples/banner: a 300 x 250 medium-rectangle banner in two scenes
// joined by a transition. The first scene has a gradient panel, an image, text, a rounded card with
// a shadow, an ellipse that travels along a motion path and an auto-shape button whose click goes
// to the next scene; the second a slogan, a free-form outline and a shop button that runs a user
// function. The main timelines use several easings, a label and a trigger. Built through the model
// so that the committed file is always what the writer makes of it.

#include "animation/KVAnimation.h"
#include "animation/KVKeyValue.h"
#include "animation/KVKeyframe.h"
#include "animation/KVMotionPathKeyframe.h"
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
#include "model/KVCorner.h"
#include "model/KVDiv.h"
#include "model/KVElementFactory.h"
#include "model/KVFreeFormShape.h"
#include "model/KVFreeFormShapeProperty.h"
#include "model/KVImage.h"
#include "model/KVShadow.h"
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
    project.setWidth(300);
    project.setHeight(250);
    project.setAlign(4);
    project.setTitle(QStringLiteral("Spring sale banner"));
    project.setDescription(QStringLiteral("A medium-rectangle banner in two scenes."));
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

    // A function the shop button runs.
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

    // Scene 1: the offer slides in and fades up, the sun travels over the panel.
    KVScene *pIntro = pScenes->createScene();
    pIntro->setName(QStringLiteral("Intro"));
    pScenes->addScene(pIntro);
    KVElement *pPanel = add(pIntro, 5, QStringLiteral("panel"), 0, 0, 300, 250);
    KVBackground *pPanelFill = pPanel->background();
    pPanelFill->setFillStyle(KVBackground::GradientFill);
    pPanelFill->setGradientType(KVBackground::Linear);
    pPanelFill->setLinearGradientAngle(180);
    pPanelFill->setGradientStops({{0.0, QColor(0x1b, 0x2a, 0x4a)}, {1.0, QColor(0x3a, 0x6e, 0xa5)}});
    auto *pLogoImage = static_cast<KVImage *>(add(pIntro, 0, QStringLiteral("logo"), 16, 16, 48, 24));
    pLogoImage->setImage(pLogo, pResources);
    auto *pSun = static_cast<KVDiv *>(add(pIntro, 5, QStringLiteral("sun"), 230, 20, 50, 50));
    pSun->background()->setSolidColor(QColor(0xff, 0xc8, 0x3d));
    KVCorner *pRound = pSun->corner();
    pRound->setAll(0.5);
    pRound->setUnitTopLeft(1);
    pRound->setUnitTopRight(1);
    pRound->setUnitBottomLeft(1);
    pRound->setUnitBottomRight(1);
    auto *pHeadline = static_cast<KVText *>(add(pIntro, 4, QStringLiteral("headline"), 20, 70, 260, 40));
    pHeadline->setInnerHtml(QStringLiteral("Spring sale"));
    pHeadline->setFontSize(28);
    pHeadline->setForeground(Qt::white);
    auto *pCard = static_cast<KVDiv *>(add(pIntro, 5, QStringLiteral("card"), 20, 120, 260, 56));
    pCard->setInnerHtml(QStringLiteral("<b>30% off</b> everything"));
    pCard->setFontSize(20);
    pCard->background()->setSolidColor(QColor(0xe8, 0x4a, 0x5f));
    pCard->corner()->setAll(12);
    KVShadow *pShadow = pCard->shadow();
    pShadow->setStyle(KVShadow::DropShadow);
    pShadow->setBlurRadius(8);
    pShadow->setAngle(90);
    pShadow->setDistance(4);
    pShadow->setColor(QColor(0, 0, 0, 96));
    auto *pButton = static_cast<KVAutoShape *>(add(pIntro, 9, QStringLiteral("button"), 90, 196, 120, 36));
    pButton->setShapeType(12); // a rounded rectangle outline
    pButton->setInnerHtml(QStringLiteral("See more"));
    pButton->setFontSize(16);
    pButton->insert(new KVEventListener(
        KVEventCatalogue::MouseClick, KVActionCatalogue::JumpToScene,
        QJsonObject{{QStringLiteral("scene_id"), KVActionCatalogue::NextScene}}));
    pButton->insert(new KVEventListener(
        KVEventCatalogue::MouseOver, KVActionCatalogue::PlayTimelineFrom,
        QJsonObject{{QStringLiteral("timeline_id"), KVActionCatalogue::MainTimeline},
                    {QStringLiteral("time"), 1200}}));

    KVTimeline *pIntroTimeline = pIntro->mainTimeline();
    animate(pIntroTimeline, pHeadline, Cat::Left,
            {{0, -260.0, QEasingCurve::OutCubic}, {900, 20.0, QEasingCurve::Linear}});
    animate(pIntroTimeline, pHeadline, Cat::Opacity,
            {{0, 0.0, QEasingCurve::InOutQuad}, {700, 1.0, QEasingCurve::Linear}});
    animate(pIntroTimeline, pCard, Cat::ScaleX,
            {{300, 0.6, QEasingCurve::OutBack}, {900, 1.0, QEasingCurve::Linear}});
    animate(pIntroTimeline, pButton, Cat::RotateZ,
            {{1200, 0.0, QEasingCurve::OutBack}, {1500, 8.0, QEasingCurve::OutElastic}, {2000, 0.0, QEasingCurve::Linear}});
    animate(pIntroTimeline, pLogoImage, Cat::Top,
            {{0, -30.0, QEasingCurve::OutBounce}, {800, 16.0, QEasingCurve::Linear}});
    // The sun rises along an arc: a location track over a curved path, paced by an easing.
    KVMotionPathKeyframe *pArc = KVMotionPathKeyframe::create(pSun, KVLayoutKey::base());
    KVPathPoint from;
    from.x = 0; from.y = 160; from.x1 = 0; from.y1 = 160; from.x2 = -40; from.y2 = 60;
    from.bStartPoint = true; from.nTime = 0;
    KVPathPoint to;
    to.x = 0; to.y = 0; to.x1 = -30; to.y1 = 0; to.x2 = 0; to.y2 = 0; to.nTime = 1600;
    pArc->setPathPoints({from, to});
    pArc->addKeyValue(new KVKeyValue(0, QPointF(0, 160)), QEasingCurve::Linear, true);
    pArc->addKeyValue(new KVKeyValue(1600, QPointF(0, 0)), QEasingCurve::InOutSine, true);
    animation(pIntroTimeline, pSun)->addKeyframe(pArc);
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
    auto *pLine = static_cast<KVText *>(add(pOutro, 4, QStringLiteral("slogan"), 20, 40, 260, 44));
    pLine->setInnerHtml(QStringLiteral("Only until Sunday."));
    pLine->setFontSize(24);
    auto *pSwoosh = static_cast<KVFreeFormShape *>(add(pOutro, 11, QStringLiteral("swoosh"), 90, 100, 120, 70));
    KVBezierPath path;
    KVPathPoint start;
    start.x = 0; start.y = 60; start.x1 = 0; start.y1 = 60; start.x2 = 40; start.y2 = 0; start.bStartPoint = true;
    KVPathPoint end;
    end.x = 120; end.y = 10; end.x1 = 80; end.y1 = 70; end.x2 = 120; end.y2 = 10;
    path.appendPoint(start);
    path.appendPoint(end);
    pSwoosh->freeFormProperty()->setPath(path);
    auto *pShop = static_cast<KVAutoShape *>(add(pOutro, 9, QStringLiteral("shop"), 95, 190, 110, 40));
    pShop->setShapeType(53); // a plaque
    pShop->setInnerHtml(QStringLiteral("Shop now"));
    pShop->setFontSize(16);
    pShop->insert(new KVEventListener(
        KVEventCatalogue::MouseClick, KVActionCatalogue::RunJavaScript,
        QJsonObject{{QStringLiteral("function_id"), pFunction->id()}}));
    pOutro->insert(new KVEventListener(KVEventCatalogue::SceneActivate, KVActionCatalogue::ShowElement,
                                       QJsonObject{{QStringLiteral("element_id"), pShop->id()}}));

    KVTimeline *pOutroTimeline = pOutro->mainTimeline();
    animate(pOutroTimeline, pLine, Cat::Opacity,
            {{0, 0.0, QEasingCurve::InQuart}, {600, 1.0, QEasingCurve::Linear}});
    animate(pOutroTimeline, pSwoosh, Cat::RotateZ,
            {{0, -20.0, QEasingCurve::OutInCirc}, {1000, 0.0, QEasingCurve::Linear}});
    animate(pOutroTimeline, pShop, Cat::Top,
            {{200, 250.0, QEasingCurve::OutExpo}, {900, 190.0, QEasingCurve::Linear}});
    pOutroTimeline->addLabel(QStringLiteral("end"), 1000);

    // The stage shows time 0, as it does when the project is opened.
    pIntroTimeline->seek(0);
    pOutroTimeline->seek(0);
    project.setCurrentScene(pIntro);
}

} // namespace KVBannerExample
