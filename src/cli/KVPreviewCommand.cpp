#include "KVPreviewCommand.h"

#include "Reporter.h"
#include "document/KVHeadlessProject.h"
#include "model/KVSceneList.h"
#include "output/KVHeadlessPlayerSource.h"
#include "output/KVHttpServer.h"
#include "output/KVPreviewer.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {
QString tr(const char *psz)
{
    return QCoreApplication::translate("KVPreviewCommand", psz);
}

// SIGINT and SIGTERM end the event loop through a pipe, the one thing a signal handler may do.
int g_signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &c, 1);
}

bool readNumber(const QStringList &arguments, int &i, int nMin, int nMax, int &nValue)
{
    bool bOk = false;
    nValue = i + 1 < arguments.size() ? arguments.at(i + 1).toInt(&bOk) : 0;
    ++i;
    return bOk && nValue >= nMin && nValue <= nMax;
}
} // namespace

QString KVPreviewCommand::summary()
{
    return QStringLiteral("Preview a project in the browser through the local preview server.");
}

QString KVPreviewCommand::usage()
{
    return QStringLiteral("Usage: kavio preview PROJECT [--scene N] [--port P] [--no-browser]\n\n"
                          "Writes the preview of PROJECT into <base>_res/preview/, serves the project's\n"
                          "resource folder on 127.0.0.1 (port P, else 8080, else any free port), prints the\n"
                          "page's address and opens it in the default browser unless --no-browser is given.\n"
                          "With --scene N only the N-th scene (counting from 1) is previewed. Serves until\n"
                          "interrupted (Ctrl+C or SIGTERM).\n"
                          "Exit code: 0 after serving, 1 when the preview could not be made, 2 for a usage error.\n");
}

int KVPreviewCommand::run(const QStringList &arguments)
{
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"))) {
        std::fputs(usage().toLocal8Bit().constData(), stdout);
        return 0;
    }
    QStringList positional;
    int nScene = 0;
    int nPort = KVHttpServer::PreferredPort;
    bool bBrowser = true;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &strArg = arguments.at(i);
        if (strArg == QLatin1String("--scene")) {
            if (!readNumber(arguments, i, 1, 100000, nScene)) {
                Reporter::error(tr("--scene wants a scene number from 1"));
                return 2;
            }
        } else if (strArg == QLatin1String("--port")) {
            if (!readNumber(arguments, i, 1, 65535, nPort)) {
                Reporter::error(tr("--port wants a port number from 1 to 65535"));
                return 2;
            }
        } else if (strArg == QLatin1String("--no-browser")) {
            bBrowser = false;
        } else {
            positional << strArg;
        }
    }
    if (positional.size() != 1) {
        std::fputs(usage().toLocal8Bit().constData(), stderr);
        return 2;
    }

    KVHeadlessPlayerSource source;
    if (!source.open(positional.first()))
        return 1;
    KVHeadlessProject *project = source.project();
    if (nScene > 0) {
        if (nScene > project->sceneList()->count()) {
            Reporter::error(tr("The project has %1 scenes; there is no scene %2.")
                                .arg(project->sceneList()->count()).arg(nScene));
            return 1;
        }
        project->setCurrentScene(project->sceneList()->at(nScene - 1));
    }
    const QUrl url = KVPreviewer::preview(source.source(), project->resourceFolderPath(), nScene > 0, quint16(nPort));
    if (url.isEmpty())
        return 1;
    std::printf("%s\n", url.toString(QUrl::FullyEncoded).toLocal8Bit().constData());
    std::fflush(stdout);

    if (bBrowser && !QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)}))
        Reporter::warning(tr("Unable to preview %1 in default browser.").arg(QFileInfo(positional.first()).fileName()));

    if (::pipe(g_signalPipe) != 0) {
        Reporter::error(tr("Cannot wait for the end of the preview."));
        return 1;
    }
    QSocketNotifier notifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, QCoreApplication::instance(), &QCoreApplication::quit);
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    QCoreApplication::exec();
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    ::close(g_signalPipe[0]);
    ::close(g_signalPipe[1]);
    return 0;
}
