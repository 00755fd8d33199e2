#pragma once

// What the project generators share: project metadata, the first scene, coloured boxes and groups,
// tracks at a layout, and writing a project (with its "<base>_res" folder) into a folder.

#include "../core/KVBannerExample.h"

#include <QDir>

#include <cstdio>
#include <functional>

namespace KVGeneratedProject {

using KVBannerExample::Key;

// Metadata, autoplay off, and a document "Ready" handler that plays the main timeline (the tests
// pause it again).
inline void describe(KVHeadlessProject &project, const QString &strTitle, int nWidth, int nHeight)
{
    const QDateTime stamp(QDate(2026, 3, 14), QTime(9, 30), Qt::UTC);
    project.setAuthor(QStringLiteral("Kavio Studio tests"));
    project.setCreated(stamp);
    project.setModified(stamp);
    project.setModifiedBy(QStringLiteral("Kavio Studio tests"));
    project.setWidth(nWidth);
    project.setHeight(nHeight);
    project.setTitle(strTitle);
    project.settings().m_bAutoplay = false;
    project.eventHandlers()->insert(new KVEventListener(
        KVEventCatalogue::DocumentReady, KVActionCatalogue::PlayTimeline,
        QJsonObject{{QStringLiteral("timeline_id"), KVActionCatalogue::MainTimeline}}));
}

// A new scene appended to a symbol (a project or a symbol resource's content).
inline KVScene *addScene(KVSymbol &symbol, const QString &strName)
{
    KVSceneList *pScenes = symbol.sceneList();
    KVScene *pScene = pScenes->createScene();
    pScene->setName(strName);
    pScenes->addScene(pScene);
    return pScene;
}

inline KVScene *firstScene(KVHeadlessProject &project)
{
    return addScene(project, QStringLiteral("Main"));
}

inline KVElement *place(KVScene *pScene, int nType, const QString &strName, double dX, double dY, double dW,
                        double dH, KVElement *pParent = nullptr)
{
    KVElement *pElement = KVElementFactory::createElement(nType);
    pElement->setName(strName);
    pElement->setPositionX(dX);
    pElement->setPositionY(dY);
    pElement->setSizeW(dW);
    pElement->setSizeH(dH);
    pScene->addElement(pElement, -1, pParent);
    return pElement;
}

inline KVDiv *box(KVScene *pScene, const QString &strName, double dX, double dY, double dW, double dH,
                  const QColor &color, KVElement *pParent = nullptr)
{
    auto *pDiv = static_cast<KVDiv *>(place(pScene, 5, strName, dX, dY, dW, dH, pParent));
    pDiv->background()->setSolidColor(color);
    return pDiv;
}

inline KVElement *group(KVScene *pScene, const QString &strName, double dX, double dY, double dW, double dH,
                        KVElement *pParent = nullptr)
{
    return place(pScene, 6, strName, dX, dY, dW, dH, pParent);
}

// A track of one property at a layout, from key to key (see KVBannerExample::animate).
inline void animateAt(KVTimeline *pTimeline, KVElement *pElement, int nCode, const QList<Key> &keys,
                      const KVLayoutKey &layout)
{
    KVAnimation *pAnimation = pTimeline->findAnimation(pElement, layout);
    if (!pAnimation) {
        pAnimation = new KVAnimation(pElement);
        pTimeline->addAnimation(pAnimation, layout);
    }
    KVKeyframe *pTrack = KVKeyframe::create(pElement, nCode, layout);
    int nEasing = QEasingCurve::Linear;
    for (const Key &key : keys) {
        pTrack->addKeyValue(new KVKeyValue(key.nTime, key.value), nEasing, true);
        nEasing = key.nEasing;
    }
    pAnimation->addKeyframe(pTrack);
}

// Builds a project into "<folder>/<base>.kavio" (its resource folder made first, so that the
// builder can store files there) and saves it; prints the path. False (said on stderr) on failure.
inline bool write(const char *pszTool, const QDir &folder, const QString &strBase,
                  const std::function<bool(KVHeadlessProject &)> &build)
{
    const QString strPath = folder.filePath(strBase + QStringLiteral(".kavio"));
    if (!folder.mkpath(strBase + QStringLiteral("_res"))) {
        std::fprintf(stderr, "%s: cannot make %s_res in %s\n", pszTool, qPrintable(strBase),
                     qPrintable(folder.absolutePath()));
        return false;
    }
    KVHeadlessProject project(strPath);
    if (!build(project)) {
        std::fprintf(stderr, "%s: cannot build %s\n", pszTool, qPrintable(strPath));
        return false;
    }
    if (!project.save()) {
        std::fprintf(stderr, "%s: cannot write %s\n", pszTool, qPrintable(strPath));
        return false;
    }
    std::printf("%s\n", qPrintable(strPath));
    return true;
}

} // namespace KVGeneratedProject
