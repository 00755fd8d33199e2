#pragma once

#include "ICore.h"
#include "KVTestEnvironment.h"
#include "MainWindow.h"
#include "PluginManager.h"

#include <QFile>
#include <QScopedPointer>
#include <QString>
#include <QTest>

// The application as it starts, for GUI tests: the real plug-ins loaded from the build tree into a
// shown main window with the staged resource folder, the settings kept in the test home. Empty when
// the window is up, else what went wrong.
inline QString kvStartEditorWindow(QScopedPointer<ExtensionSystem::PluginManager> &manager, QScopedPointer<MainWindow> &window,
                                   QScopedPointer<ICore> &core, int nWidth = 1400, int nHeight = 900)
{
    QFile::remove(KVTestEnvironment::settingsPath());
    using ExtensionSystem::PluginManager;
    manager.reset(new PluginManager);
    PluginManager::setSettingsPath(KVTestEnvironment::settingsPath());
    PluginManager::setPluginPaths({KVTestEnvironment::binaryDir() + QStringLiteral("/lib/kavio/plugins")});
    window.reset(new MainWindow);
    core.reset(new ICore(window.data()));
    core->setResourcePath(KVTestEnvironment::binaryDir() + QStringLiteral("/share/kavio"));
    if (!QFile::exists(core->resourcePath() + QStringLiteral("/resources/canvas/kvcanvas.js")))
        return QStringLiteral("the canvas page is not staged");
    if (!PluginManager::loadPlugins())
        return PluginManager::errors().join(QLatin1Char('\n'));
    window->resize(nWidth, nHeight);
    window->show();
    return QTest::qWaitForWindowExposed(window.data()) ? QString() : QStringLiteral("the window was not shown");
}
