// Projects built to be slow to open: 2,000 and 5,000 scenes that all carry the name "S" (each gets
// a unique name while it is read), and one timeline holding 200,000 key values, on one track or
// on 20,000 elements of 10 keys each. Each
// is opened by `kavio check` in a child process, so that the figures are those a user meets: the
// wall time of the check and the child's peak resident memory, against those of a one-scene project.
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

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEasingCurve>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>

namespace {

QString g_strFolder;

QString pathOf(const QString &strName)
{
    return g_strFolder + QLatin1Char('/') + strName + QStringLiteral(".kavio");
}

bool rewrite(const QString &strPath, const std::function<void(QJsonObject &)> &edit)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QJsonObject joTop = QJsonDocument::fromJson(file.readAll()).object();
    file.close();
    edit(joTop);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(QJsonDocument(joTop).toJson(QJsonDocument::Compact)) > 0;
}

// nScenes scenes written through the model, then all renamed "S" in the file.
bool writeSameNamedScenes(const QString &strName, int nScenes)
{
    const QString strPath = pathOf(strName);
    {
        KVHeadlessProject project(strPath);
        for (int n = 0; n < nScenes; ++n) {
            KVScene *pScene = project.sceneList()->createScene();
            pScene->setName(QStringLiteral("S"));
            project.sceneList()->addScene(pScene);
        }
        if (!project.save())
            return false;
    }
    return rewrite(strPath, [](QJsonObject &joTop) {
        QJsonObject joDocument = joTop.value(QLatin1String("document")).toObject();
        QJsonArray jaScenes = joDocument.value(QLatin1String("scenes")).toArray();
        for (int n = 0; n < jaScenes.size(); ++n) {
            QJsonObject joScene = jaScenes.at(n).toObject();
            joScene.insert(QStringLiteral("name"), QStringLiteral("S"));
            jaScenes.replace(n, joScene);
        }
        joDocument.insert(QStringLiteral("scenes"), jaScenes);
        joTop.insert(QStringLiteral("document"), joDocument);
    });
}

// Replaces every "keyValues" array below the value by nKeys keys 10 ms apart.
QJsonValue withKeys(const QJsonValue &value, int nKeys)
{
    if (value.isArray()) {
        QJsonArray ja = value.toArray();
        for (int n = 0; n < ja.size(); ++n)
            ja.replace(n, withKeys(ja.at(n), nKeys));
        return ja;
    }
    if (!value.isObject())
        return value;
    QJsonObject jo = value.toObject();
    for (auto it = jo.begin(); it != jo.end(); ++it) {
        if (it.key() == QLatin1String("keyValues") && it.value().isArray() && !it.value().toArray().isEmpty()) {
            const QJsonObject joFirst = it.value().toArray().first().toObject();
            QJsonArray jaKeys;
            for (int k = 0; k < nKeys; ++k) {
                QJsonObject joKey = joFirst;
                joKey.insert(QStringLiteral("time"), k * 10);
                jaKeys.append(joKey);
            }
            it.value() = jaKeys;
        } else {
            it.value() = withKeys(it.value(), nKeys);
        }
    }
    return jo;
}

// nElements rectangles, each with an opacity track of two keys, through the model; then in the
// file each track gets nKeys keys.
bool writeManyKeys(const QString &strName, int nElements, int nKeys)
{
    const QString strPath = pathOf(strName);
    {
        KVHeadlessProject project(strPath);
        KVScene *pScene = project.sceneList()->createScene();
        project.sceneList()->addScene(pScene);
        for (int n = 0; n < nElements; ++n) {
            KVElement *pElement = KVElementFactory::createElement(KVElementType::Div);
            pScene->addElement(pElement);
            auto *pAnimation = new KVAnimation(pElement);
            KVKeyframe *pTrack = KVKeyframe::create(pElement, KVPropertyCatalogue::Opacity, KVLayoutKey::base());
            pTrack->addKeyValue(new KVKeyValue(0, 0.0), QEasingCurve::Linear, true);
            pTrack->addKeyValue(new KVKeyValue(500, 1.0), QEasingCurve::Linear, true);
            pAnimation->addKeyframe(pTrack);
            pScene->mainTimeline()->addAnimation(pAnimation, KVLayoutKey::base());
        }
        if (!project.save())
            return false;
    }
    return rewrite(strPath, [nKeys](QJsonObject &joTop) { joTop = withKeys(joTop, nKeys).toObject(); });
}

// Runs `kavio check` on the project: its wall time in ms and peak resident memory in MB.
bool check(const QString &strPath, double *pMs, double *pPeakMb, int *pExit)
{
    const QByteArray tool = (QCoreApplication::applicationDirPath() + QStringLiteral("/kavio")).toLocal8Bit();
    const QByteArray project = strPath.toLocal8Bit();
    // posix_spawn, not fork: a forked child would start out with this process's memory counted.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char *argv[] = {const_cast<char *>(tool.constData()), const_cast<char *>("check"),
                    const_cast<char *>(project.constData()), nullptr};
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    const int nSpawned = posix_spawn(&pid, tool.constData(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (nSpawned != 0)
        return false;
    int nStatus = 0;
    struct rusage usage = {};
    if (wait4(pid, &nStatus, 0, &usage) != pid)
        return false;
    *pMs = double(clock.nsecsElapsed()) / 1e6;
    *pPeakMb = double(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
    *pExit = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
    return true;
}

void BM_CheckProject(benchmark::State &state, const char *pszName)
{
    const QString strPath = pathOf(QString::fromLatin1(pszName));
    double dMs = 0, dPeak = 0;
    int nExit = -1;
    for (auto _ : state) {
        if (!check(strPath, &dMs, &dPeak, &nExit) || nExit != 0)
            state.SkipWithError("kavio check did not open the project");
        state.SetIterationTime(dMs / 1000.0);
    }
    state.counters["open_ms"] = dMs;
    state.counters["peak_rss_MB"] = dPeak;
}
BENCHMARK_CAPTURE(BM_CheckProject, one_scene, "one")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_CheckProject, scenes_named_S_2000, "s2000")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_CheckProject, scenes_named_S_5000, "s5000")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_CheckProject, key_values_200000_one_track, "k200000")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_CheckProject, key_values_200000_on_20000_elements, "k200000spread")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

// Writes the projects into the folder; run in a child of its own, so that the memory they take
// never counts in the peak of the checks spawned afterwards (a spawned child starts out with its
// parent's peak).
bool writeProjects()
{
    return writeSameNamedScenes(QStringLiteral("one"), 1) && writeSameNamedScenes(QStringLiteral("s2000"), 2000)
        && writeSameNamedScenes(QStringLiteral("s5000"), 5000) && writeManyKeys(QStringLiteral("k200000"), 1, 200000)
        && writeManyKeys(QStringLiteral("k200000spread"), 20000, 10);
}

bool spawnWriter(const QString &strFolder)
{
    const QByteArray self = QCoreApplication::applicationFilePath().toLocal8Bit();
    const QByteArray folder = strFolder.toLocal8Bit();
    char *argv[] = {const_cast<char *>(self.constData()), const_cast<char *>("--write-projects"),
                    const_cast<char *>(folder.constData()), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, self.constData(), nullptr, nullptr, argv, environ) != 0)
        return false;
    int nStatus = 0;
    return waitpid(pid, &nStatus, 0) == pid && WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--write-projects") == 0) {
        g_strFolder = QString::fromLocal8Bit(argv[2]);
        return writeProjects() ? 0 : 1;
    }
    QTemporaryDir dir;
    g_strFolder = dir.path();
    if (!spawnWriter(dir.path())) {
        std::fprintf(stderr, "bench_hostilescale: the projects could not be written\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
