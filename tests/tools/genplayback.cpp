// Writes the projects the web player's tests on exported projects play, each into the folder given
// on the command line with its "<base>_res" folder:
//   playback.kavio  a video and, inside a group, an instance of the symbol "badge" (whose own
//                   timeline plays an instance of the symbol "spark"), each started, paused and
//                   played on by the playback entries of the main timeline; the symbols are
//                   resources with their files, the video a real three-second clip;
//   slowload.kavio  a photo and the project's own loading indicator, for a page whose photo
//                   arrives late.
// Usage: kavio-genplayback FOLDER
#include "KVGeneratedProject.h"

#include "animation/KVPlayback.h"
#include "animation/KVPlaybackAnimation.h"
#include "model/KVMedia.h"
#include "model/KVSymbolElement.h"
#include "output/KVSymbolResources.h"
#include "resources/MediaResource.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

namespace {

using namespace KVGeneratedProject;
using Cat = KVPropertyCatalogue;
using Act = KVActionCatalogue;

constexpr int kClipLength = 3000;

// The clip: a real three-second VP8/Vorbis video (160x96, a test pattern and a tone) kept with
// the tests, copied into the project's resource folder.
bool copyClip(const QString &strPath)
{
    const QString strSource = QStringLiteral(KAVIO_CLIP_FIXTURE);
    QFile::remove(strPath);
    if (QFile::copy(strSource, strPath))
        return true;
    std::fprintf(stderr, "kavio-genplayback: cannot copy %s\n", qPrintable(strSource));
    return false;
}

KVResource *symbolResource(KVHeadlessProject &project, const QString &strName)
{
    KVResource *pResource = KVResource::create(3);
    pResource->setName(strName);
    pResource->setFileName(strName + QStringLiteral(".kaviosym"));
    project.resourceManager()->addResource(pResource);
    return pResource;
}

// An instance of a symbol in a scene, playing the main timeline of the symbol's first scene.
KVSymbolElement *instance(KVHeadlessProject &project, KVScene *pScene, const QString &strName, KVResource *pResource,
                          const KVSymbol &symbol, const QRectF &box, KVElement *pParent = nullptr)
{
    auto *pElement = static_cast<KVSymbolElement *>(
        place(pScene, 7, strName, box.x(), box.y(), box.width(), box.height(), pParent));
    pElement->setSymbol(pResource, project.resourceManager());
    pElement->setSymbolTimeline(symbol.sceneList()->at(0)->mainTimeline());
    pElement->setSymbolBreakpoints(symbol.breakpoints());
    return pElement;
}

// The playback list of an element on a timeline: (action code, time) pairs, at normal speed.
void playback(KVTimeline *pTimeline, KVElement *pElement, const QList<QPair<int, int>> &items)
{
    auto *pAnimation = static_cast<KVPlaybackAnimation *>(KVPlaybackAnimation::createFor(pElement));
    pTimeline->addAnimation(pAnimation, KVLayoutKey::base());
    for (const auto &item : items)
        pAnimation->playback()->addItem(item.first, item.second, QJsonValue(), 100);
}

bool buildPlayback(KVHeadlessProject &project)
{
    describe(project, QStringLiteral("Playback"), 480, 320);
    const QString strRes = project.resourceFolderPath() + QLatin1Char('/');

    // "spark": a flare that drops 30 px in a second.
    KVResource *pSparkResource = symbolResource(project, QStringLiteral("spark"));
    KVSymbol spark;
    spark.setWidth(40);
    spark.setHeight(40);
    KVScene *pSparkScene = addScene(spark, QStringLiteral("Spark"));
    KVDiv *pFlare = box(pSparkScene, QStringLiteral("flare"), 0, 0, 10, 10, QColor(0xff, 0x80, 0x00));
    KVBannerExample::animate(pSparkScene->mainTimeline(), pFlare, Cat::Top,
                             {{0, 0.0, QEasingCurve::Linear}, {1000, 30.0, QEasingCurve::Linear}});

    // "badge": a dot that runs 80 px in two seconds, and a spark that starts with it.
    KVResource *pBadgeResource = symbolResource(project, QStringLiteral("badge"));
    KVSymbol badge;
    badge.setWidth(100);
    badge.setHeight(60);
    KVScene *pBadgeScene = addScene(badge, QStringLiteral("Badge"));
    KVDiv *pDot = box(pBadgeScene, QStringLiteral("dot"), 0, 20, 20, 20, QColor(0x20, 0x90, 0xe6));
    KVBannerExample::animate(pBadgeScene->mainTimeline(), pDot, Cat::Left,
                             {{0, 0.0, QEasingCurve::Linear}, {2000, 80.0, QEasingCurve::Linear}});
    KVSymbolElement *pTwinkle =
        instance(project, pBadgeScene, QStringLiteral("twinkle"), pSparkResource, spark, QRectF(60, 0, 40, 40));
    playback(pBadgeScene->mainTimeline(), pTwinkle, {{Act::StartSymbol, 0}});

    if (!KVSymbolResources::writeSymbolFile(spark, strRes + pSparkResource->fileName())
        || !KVSymbolResources::writeSymbolFile(badge, strRes + pBadgeResource->fileName()))
        return false;

    KVScene *pScene = firstScene(project);
    KVTimeline *pTimeline = pScene->mainTimeline();
    box(pScene, QStringLiteral("backdrop"), 0, 0, 480, 320, QColor(0xf4, 0xf4, 0xf4));

    // The badge plays from 0.5 s, pauses at 1.5 s and plays on from 2 s to its end at 3 s.
    KVElement *pShelf = group(pScene, QStringLiteral("shelf"), 20, 150, 200, 100);
    KVSymbolElement *pBadge =
        instance(project, pScene, QStringLiteral("badge"), pBadgeResource, badge, QRectF(10, 10, 100, 60), pShelf);
    playback(pTimeline, pBadge, {{Act::StartSymbol, 500}, {Act::PauseSymbol, 1500}, {Act::PlaySymbol, 2000}});

    // The clip starts at 0.3 s, pauses a second later and plays on from 1.8 s to its end.
    if (!copyClip(strRes + QStringLiteral("clip.webm")))
        return false;
    auto *pClipResource = new MediaResource(2, QStringLiteral("clip"));
    pClipResource->setFormatFile(QStringLiteral("clip.webm"));
    project.resourceManager()->addResource(pClipResource);
    auto *pClip = static_cast<KVMedia *>(place(pScene, 2, QStringLiteral("clip"), 260, 20, 200, 120));
    pClip->setMedia(pClipResource, project.resourceManager());
    pClip->setDuration(kClipLength);
    pClip->setMediaInfoLoaded(true);
    pClip->setControls(false);
    playback(pTimeline, pClip, {{Act::StartMedia, 300}, {Act::PauseMedia, 1300}, {Act::PlayMedia, 1800}});

    pTimeline->seek(0);
    project.setCurrentScene(pScene);
    return true;
}

bool buildSlowLoad(KVHeadlessProject &project)
{
    describe(project, QStringLiteral("Slow photo"), 320, 240);
    KVDocumentSettings &settings = project.settings();
    settings.m_nLoaderType = 0;
    settings.m_defaultLoadingIndicator.m_nDiameter = 48;
    settings.m_defaultLoadingIndicator.m_nDensity = 7;
    settings.m_defaultLoadingIndicator.m_nSpeed = 2;
    settings.m_defaultLoadingIndicator.m_clColor = QColor(0xe8, 0x4a, 0x5f);
    settings.m_defaultLoadingIndicator.m_nShape = 2;

    const QString strFile = project.resourceFolderPath() + QStringLiteral("/photo.png");
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(QColor(0x3a, 0xa5, 0x6e));
    if (!image.save(strFile))
        return false;
    KVResource *pPhoto = KVResource::create(0);
    pPhoto->setName(QStringLiteral("photo"));
    pPhoto->setFileName(QStringLiteral("photo.png"));
    pPhoto->setDataSize(QFileInfo(strFile).size());
    project.resourceManager()->addResource(pPhoto);

    KVScene *pScene = firstScene(project);
    box(pScene, QStringLiteral("frame"), 30, 30, 180, 140, QColor(0x20, 0x20, 0x20));
    auto *pImage = static_cast<KVImage *>(place(pScene, 0, QStringLiteral("photo"), 40, 40, 160, 120));
    pImage->setImage(pPhoto, project.resourceManager());
    project.setCurrentScene(pScene);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "Usage: kavio-genplayback FOLDER\n");
        return 2;
    }
    QDir folder(arguments.at(1));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "kavio-genplayback: cannot make the folder %s\n", qPrintable(arguments.at(1)));
        return 1;
    }
    bool bOk = write("kavio-genplayback", folder, QStringLiteral("playback"), &buildPlayback);
    bOk = write("kavio-genplayback", folder, QStringLiteral("slowload"), &buildSlowLoad) && bOk;
    return bOk ? 0 : 1;
}
