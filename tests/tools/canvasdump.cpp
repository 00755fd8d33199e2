// Prints the object the canvas page receives for one scene of a project, as the editor sends it
// when the page asks for its scene: the scene in its canvas form, the resources and the view flags.
// The web tests take their fixtures from it.
// Usage: kavio-canvasdump PROJECT [SCENE_INDEX]   (scene index from 0, default 0)
#include "document/KVHeadlessProject.h"
#include "model/KVSceneList.h"
#include "output/KVCanvasSceneData.h"
#include "output/KVPlayerData.h"
#include "resources/KVResource.h"
#include "Reporter.h"
#include "StderrReporter.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    StderrReporter reporter(QStringLiteral("kavio-canvasdump"));
    Reporter::setInstance(&reporter);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 2 || arguments.size() > 3) {
        std::fprintf(stderr, "Usage: kavio-canvasdump PROJECT [SCENE_INDEX]\n");
        return 2;
    }
    int nScene = 0;
    if (arguments.size() == 3) {
        bool bOk = false;
        nScene = arguments.at(2).toInt(&bOk);
        if (!bOk || nScene < 0) {
            std::fprintf(stderr, "kavio-canvasdump: the scene index must be a number from 0\n");
            return 2;
        }
    }
    KVHeadlessProject project(QFileInfo(arguments.at(1)).absoluteFilePath());
    if (!project.open())
        return 1;
    KVSceneList *pScenes = project.sceneList();
    if (nScene >= pScenes->count()) {
        std::fprintf(stderr, "kavio-canvasdump: the project has %d scenes; there is no scene %d\n",
                     pScenes->count(), nScene);
        return 1;
    }
    KVScene *pScene = pScenes->at(nScene);
    project.setCurrentScene(pScene);
    KVCanvasSceneData::ViewFlags flags;
    flags.strOutputCss = project.settings().m_strCssDoc;
    const QString strText = KVCanvasSceneData::buildText(project, pScene, project.resourceManager(), flags);
    std::fputs(strText.toUtf8().constData(), stdout);
    std::fputs("\n", stdout);
    return 0;
}
