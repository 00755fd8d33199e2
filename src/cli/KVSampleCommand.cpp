#include "KVSampleCommand.h"

#include "Reporter.h"
#include "document/KVHeadlessProject.h"
#include "output/KVHeadlessPlayerSource.h"
#include "model/KVBreakpointSet.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"
#include "output/KVStageSampler.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSize>

#include <cstdio>

namespace {
QString tr(const char *psz)
{
    return QCoreApplication::translate("KVSampleCommand", psz);
}
} // namespace

QString KVSampleCommand::summary()
{
    return QStringLiteral("Print where each element of a scene is at given times.");
}

QString KVSampleCommand::usage()
{
    return QStringLiteral("Usage: kavio sample PROJECT [--scene N] [--size WxH] --times T1,T2,...\n\n"
                          "Seeks the main timeline of scene N (counting from 1; the first by default)\n"
                          "to each time in milliseconds and prints one JSON line per time:\n"
                          "  {\"t\":T,\"elements\":{\"NAME\":{\"box\":[x,y,w,h],\"opacity\":o,\"visible\":b},...}}\n"
                          "where box is the element's bounding box in stage pixels after its 2D\n"
                          "transforms and those of its parents. Nested elements are listed too;\n"
                          "audio and video add \"volume\":v (0 to 1); an element inside a hidden group\n"
                          "is not visible. 3D transforms (rotation about X or Y, depth, the scene's\n"
                          "perspective) are not projected: an element that has one, or lies inside one\n"
                          "that has, is marked \"transform3d\":true and its box is that of its 2D\n"
                          "transforms alone.\n"
                          "With --size the scene shows the responsive layout that the player picks for\n"
                          "a container of W x H pixels; without it, the base layout.\n"
                          "Exit code: 0 when sampled, 1 when not, 2 for a usage error.\n");
}

int KVSampleCommand::run(const QStringList &arguments)
{
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"))) {
        std::fputs(usage().toLocal8Bit().constData(), stdout);
        return 0;
    }
    QStringList positional;
    int nScene = 1;
    QList<int> times;
    QSize containerSize;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &strArg = arguments.at(i);
        const QString strValue = i + 1 < arguments.size() ? arguments.at(i + 1) : QString();
        if (strArg == QLatin1String("--scene")) {
            bool bOk = false;
            nScene = strValue.toInt(&bOk);
            if (!bOk || nScene < 1) {
                Reporter::error(tr("--scene wants a scene number from 1"));
                return 2;
            }
            ++i;
        } else if (strArg == QLatin1String("--size")) {
            const QStringList parts = strValue.split(QLatin1Char('x'));
            bool bWidth = false;
            bool bHeight = false;
            if (parts.size() == 2)
                containerSize = QSize(parts.at(0).toInt(&bWidth), parts.at(1).toInt(&bHeight));
            if (!bWidth || !bHeight || containerSize.width() < 0 || containerSize.height() < 0) {
                Reporter::error(tr("--size wants a container size in pixels, such as 800x600: \"%1\"").arg(strValue));
                return 2;
            }
            ++i;
        } else if (strArg == QLatin1String("--times")) {
            for (const QString &strTime : strValue.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                bool bOk = false;
                const int nTime = strTime.trimmed().toInt(&bOk);
                if (!bOk || nTime < 0) {
                    Reporter::error(tr("--times wants times in milliseconds from 0, separated by commas: \"%1\"")
                                        .arg(strTime));
                    return 2;
                }
                times << nTime;
            }
            ++i;
        } else {
            positional << strArg;
        }
    }
    if (positional.size() != 1 || times.isEmpty()) {
        std::fputs(usage().toLocal8Bit().constData(), stderr);
        return 2;
    }

    // Opened as the export opens it, with its symbol files.
    KVHeadlessPlayerSource source;
    if (!source.open(QFileInfo(positional.first()).absoluteFilePath()))
        return 1;
    KVHeadlessProject &project = *source.project();
    KVSceneList *pScenes = project.sceneList();
    if (nScene > pScenes->count()) {
        Reporter::error(tr("The project has %1 scenes; there is no scene %2.").arg(pScenes->count()).arg(nScene));
        return 1;
    }
    KVScene *pScene = pScenes->at(nScene - 1);
    if (containerSize.isValid())
        pScene->setCurrentLayout(project.breakpoints()->layoutFor(containerSize.width(), containerSize.height()));
    KVStageSampler sampler(pScene);
    for (int nTime : times) {
        // "t" first, as a reader scanning the lines expects it.
        const QJsonObject joElements = sampler.sampleJson(nTime).value(QStringLiteral("elements")).toObject();
        const QByteArray line = "{\"t\":" + QByteArray::number(nTime) + ",\"elements\":"
            + QJsonDocument(joElements).toJson(QJsonDocument::Compact) + "}\n";
        std::fputs(line.constData(), stdout);
    }
    std::fflush(stdout);
    return 0;
}
