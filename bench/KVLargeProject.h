#pragma once

// The large project the file and export benchmarks share: 10 scenes of 1,000 rectangles each
// (10,000 elements), every rectangle animated on its scene's main timeline by an opacity and a
// left-position track of five keys each (100,000 keys in all).

#include "animation/KVAnimation.h"
#include "animation/KVKeyValue.h"
#include "animation/KVKeyframe.h"
#include "animation/KVPropertyCatalogue.h"
#include "animation/KVTimeline.h"
#include "document/KVHeadlessProject.h"
#include "model/KVElementFactory.h"
#include "model/KVElementType.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"

#include <QEasingCurve>

namespace KVLargeProject {

constexpr int kScenes = 10;
constexpr int kElementsPerScene = 1000;
constexpr int kKeysPerTrack = 5;

inline void addTrack(KVAnimation *pAnimation, KVElement *pElement, int nCode, double dFrom, double dStep)
{
    KVKeyframe *pTrack = KVKeyframe::create(pElement, nCode, KVLayoutKey::base());
    for (int k = 0; k < kKeysPerTrack; ++k)
        pTrack->addKeyValue(new KVKeyValue(k * 400, dFrom + k * dStep), QEasingCurve::InOutQuad + (k % 3), true);
    pAnimation->addKeyframe(pTrack);
}

// Fills an empty project with the scenes, elements and tracks (by default the large project's).
inline void fill(KVHeadlessProject &project, int nScenes = kScenes, int nElementsPerScene = kElementsPerScene)
{
    project.setWidth(1280);
    project.setHeight(720);
    for (int s = 0; s < nScenes; ++s) {
        KVScene *pScene = project.sceneList()->createScene();
        pScene->setName(QStringLiteral("Scene %1").arg(s + 1));
        project.sceneList()->addScene(pScene);
        KVTimeline *pTimeline = pScene->mainTimeline();
        for (int n = 0; n < nElementsPerScene; ++n) {
            KVElement *pElement = KVElementFactory::createElement(KVElementType::Div);
            pElement->setPositionX((n * 37) % 1200);
            pElement->setPositionY((n * 53) % 700);
            pScene->addElement(pElement);
            auto *pAnimation = new KVAnimation(pElement);
            addTrack(pAnimation, pElement, KVPropertyCatalogue::Opacity, 0.0, 0.25);
            addTrack(pAnimation, pElement, KVPropertyCatalogue::Left, n % 500, 10.0);
            pTimeline->addAnimation(pAnimation, KVLayoutKey::base());
        }
    }
}

} // namespace KVLargeProject
