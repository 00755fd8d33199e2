// kavio-studio: the host application. It makes the main window and the host's services, loads the
// plug-ins from the plug-in folder and runs the event loop.
#include "host/ICore.h"
#include "host/IPlugin.h"
#include "host/MainWindow.h"
#include "host/MessageBoxReporter.h"
#include "host/PluginManager.h"
#include "host/PluginSpec.h"
#include "host/ResourceUrlScheme.h"
#include "host/Reporter.h"
#include "host/SessionGuard.h"
#include "host/StderrReporter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace {
bool hasArgument(int argc, char **argv, const char *name)
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], name) == 0)
            return true;
    }
    return false;
}
} // namespace

int main(int argc, char **argv)
{
    const bool bVersionOnly = hasArgument(argc, argv, "--version") || hasArgument(argc, argv, "-v");
    // --version loads the plug-ins without showing anything: no display is needed for that.
    if (bVersionOnly && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Chromium's sandbox refuses to start for root (containers, CI); the embedded pages are all
    // our own, so the application runs them without it there.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    registerResourceUrlScheme();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kavio Studio"));
    QApplication::setOrganizationName(QStringLiteral("Kavio"));
    QApplication::setApplicationVersion(QStringLiteral(KAVIO_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Kavio Studio, an authoring tool for HTML5 animations."));
    parser.addHelpOption();
    QCommandLineOption versionOption({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Print the version and the loaded plug-ins, then exit."));
    QCommandLineOption settingsOption(QStringLiteral("settings"),
                                      QStringLiteral("Keep the settings in <file> (also KAVIO_SETTINGS_PATH)."),
                                      QStringLiteral("file"));
    QCommandLineOption pluginOption(QStringLiteral("plugin-path"),
                                    QStringLiteral("Load plug-ins from <folder>."), QStringLiteral("folder"));
    QCommandLineOption resourceOption(QStringLiteral("resource-path"),
                                      QStringLiteral("Take pages and scripts from <folder>."), QStringLiteral("folder"));
    parser.addOptions({versionOption, settingsOption, pluginOption, resourceOption});
    parser.addPositionalArgument(QStringLiteral("project"), QStringLiteral("Projects to open."), QStringLiteral("[project...]"));
    parser.process(app);

    ExtensionSystem::PluginManager pluginManager;
    if (parser.isSet(settingsOption))
        ExtensionSystem::PluginManager::setSettingsPath(parser.value(settingsOption));
    const QString pluginPath = parser.isSet(pluginOption)
        ? parser.value(pluginOption)
        : QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../lib/kavio/plugins"));
    ExtensionSystem::PluginManager::setPluginPaths({pluginPath});
    ExtensionSystem::PluginManager::setArguments(parser.positionalArguments());

    MainWindow mainWindow;
    ICore core(&mainWindow);
    if (parser.isSet(resourceOption))
        core.setResourcePath(parser.value(resourceOption));
    MessageBoxReporter boxReporter(&mainWindow);
    StderrReporter stderrReporter(QStringLiteral("kavio-studio"));
    Reporter::setInstance(bVersionOnly ? static_cast<IReporter *>(&stderrReporter) : &boxReporter);

    const bool bLoaded = ExtensionSystem::PluginManager::loadPlugins();

    if (bVersionOnly) {
        std::printf("Kavio Studio %s\n", KAVIO_VERSION);
        for (ExtensionSystem::PluginSpec *spec : ExtensionSystem::PluginManager::plugins()) {
            if (!spec->hasError())
                std::printf("%s %s\n", qPrintable(spec->name()), qPrintable(spec->version()));
        }
        for (const QString &error : ExtensionSystem::PluginManager::errors())
            std::fprintf(stderr, "kavio-studio: error: %s\n", qPrintable(QString(error).replace('\n', ' ')));
        std::fflush(stdout);
        ExtensionSystem::PluginManager::shutdown();
        return bLoaded && !ExtensionSystem::PluginManager::plugins().isEmpty() ? 0 : 1;
    }

    if (!bLoaded)
        Reporter::error(ExtensionSystem::PluginManager::errors().join(QLatin1Char('\n')));

    // SIGTERM, logging out and the like end the process with the backups of unsaved work written.
    SessionGuard sessionGuard(core.documentManager());
    sessionGuard.installSignalHandlers();
    mainWindow.show();
    for (const QString &file : parser.positionalArguments())
        QTimer::singleShot(0, &mainWindow, [&mainWindow, file] { mainWindow.openDocument(file); });
    const int rc = app.exec();
    ExtensionSystem::PluginManager::shutdown();
    Reporter::setInstance(nullptr);
    return rc;
}
