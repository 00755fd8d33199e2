#include "IPlugin.h"
#include "PluginManager.h"
#include "PluginSpec.h"

#include "KVTestMain.h"

#include <QPluginLoader>

using ExtensionSystem::PluginManager;
using ExtensionSystem::PluginSpec;

class tst_PluginManager : public QObject
{
    Q_OBJECT
private slots:
    void versionCompare_data();
    void versionCompare();
    void providesDependency_data();
    void providesDependency();
    void resolvesAndOrdersPlugins();
    void failuresAreNamedAndNothingHalfLoaded_data();
    void failuresAreNamedAndNothingHalfLoaded();
    void designerMetadata();
    void settingsFollowTheConfiguredPath();

private:
    QStringList log() const { return QCoreApplication::instance()->property("kavioPluginLog").toStringList(); }
};

void tst_PluginManager::versionCompare_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("result");
    QTest::newRow("equal") << "1.0.0" << "1.0.0" << 0;
    QTest::newRow("shorter equal") << "1.0" << "1.0.0" << 0;
    QTest::newRow("patch") << "1.0.1" << "1.0.0" << 1;
    QTest::newRow("numeric not lexical") << "1.10.0" << "1.9.0" << 1;
    QTest::newRow("major") << "1.9.9" << "2.0.0" << -1;
}

void tst_PluginManager::versionCompare()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, result);
    QCOMPARE(PluginSpec::versionCompare(a, b), result);
    QCOMPARE(PluginSpec::versionCompare(b, a), -result);
}

void tst_PluginManager::providesDependency_data()
{
    QTest::addColumn<QString>("asked");
    QTest::addColumn<bool>("provided");
    // beta is 1.2.0, compatible back to 1.0.0
    QTest::newRow("exact") << "1.2.0" << true;
    QTest::newRow("older compatible") << "1.1.0" << true;
    QTest::newRow("compat floor") << "1.0.0" << true;
    QTest::newRow("below compat") << "0.9.0" << false;
    QTest::newRow("newer") << "1.3.0" << false;
}

void tst_PluginManager::providesDependency()
{
    QFETCH(QString, asked);
    QFETCH(bool, provided);
    PluginSpec spec(QStringLiteral(KAVIO_TEST_PLUGIN_DIR "/libtestplugin_beta.so"));
    QVERIFY2(spec.readMetaData(), qPrintable(spec.errorString()));
    QCOMPARE(spec.name(), QStringLiteral("beta"));
    QCOMPARE(spec.provides(QStringLiteral("beta"), asked), provided);
    QVERIFY(!spec.provides(QStringLiteral("alpha"), asked));
}

void tst_PluginManager::resolvesAndOrdersPlugins()
{
    QCoreApplication::instance()->setProperty("kavioPluginLog", QStringList());
    {
        PluginManager manager;
        PluginManager::setPluginPaths({QStringLiteral(KAVIO_TEST_PLUGIN_DIR)});
        QVERIFY(!PluginManager::loadPlugins()); // some plug-ins are broken on purpose

        QStringList loaded;
        for (PluginSpec *spec : PluginManager::plugins())
            loaded << spec->name();
        QCOMPARE(loaded, QStringList({"alpha", "beta"}));

        // initialise in dependency order, extensions in reverse; eta started and refused
        const QStringList expected = {"initialize:alpha", "initialize:beta", "initialize:eta", "delete:eta",
                                      "extensionsInitialized:beta", "extensionsInitialized:alpha"};
        QCOMPARE(log(), expected);

        // the auto-released objects reached the pool
        QStringList names;
        for (QObject *o : PluginManager::allObjects())
            names << o->objectName();
        QCOMPARE(names, QStringList({"object-of-alpha", "object-of-beta"}));

        QCoreApplication::instance()->setProperty("kavioPluginLog", QStringList());
        PluginManager::shutdown();
        QCOMPARE(log(), QStringList({"aboutToShutdown:beta", "aboutToShutdown:alpha", "delete:beta", "delete:alpha"}));
        QVERIFY(PluginManager::allObjects().isEmpty());
    }
}

void tst_PluginManager::failuresAreNamedAndNothingHalfLoaded_data()
{
    QTest::addColumn<QString>("plugin");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("wasStarted");
    QTest::newRow("missing") << "gamma" << "Plug-in \"gamma\" needs \"missing\" 1.0.0, which was not found" << false;
    QTest::newRow("wrong version") << "delta" << "Plug-in \"delta\" needs \"alpha\" 2.0.0, but version 1.0.0 was found"
                                   << false;
    QTest::newRow("failed dependency") << "epsilon" << "Plug-in \"epsilon\" cannot start because \"gamma\" failed"
                                       << false;
    QTest::newRow("host too old") << "zeta" << "Plug-in \"zeta\" needs \"core\" 2.0.0, but the host provides 1.0.0"
                                  << false;
    QTest::newRow("refused start") << "eta" << "Plug-in \"eta\" failed to start: refused to start" << true;
}

void tst_PluginManager::failuresAreNamedAndNothingHalfLoaded()
{
    QFETCH(QString, plugin);
    QFETCH(QString, message);
    QFETCH(bool, wasStarted);
    QCoreApplication::instance()->setProperty("kavioPluginLog", QStringList());
    PluginManager manager;
    PluginManager::setPluginPaths({QStringLiteral(KAVIO_TEST_PLUGIN_DIR)});
    PluginManager::loadPlugins();
    PluginSpec *spec = PluginManager::specForName(plugin);
    QVERIFY(spec);
    QVERIFY(spec->hasError());
    QVERIFY2(spec->errorString().contains(message), qPrintable(spec->errorString()));
    QVERIFY(!spec->plugin());
    QVERIFY(PluginManager::errors().join('\n').contains(message));
    QCOMPARE(log().contains(QStringLiteral("initialize:") + plugin), wasStarted);
    // a plug-in that never resolved was never even loaded into the process
    if (!wasStarted) {
        QPluginLoader probe(spec->filePath());
        QVERIFY(!probe.isLoaded());
    }
    PluginManager::shutdown();
}

void tst_PluginManager::designerMetadata()
{
    QPluginLoader loader(KVTestEnvironment::binaryDir() + QStringLiteral("/lib/kavio/plugins/libdesigner.so"));
    const QJsonObject root = loader.metaData();
    QCOMPARE(root.value("IID").toString(), QStringLiteral("com.DORUN.Kavio.Plugin"));
    QCOMPARE(root.value("className").toString(), QStringLiteral("KVDesignerPlugin"));
    const QJsonObject meta = root.value("MetaData").toObject();
    QCOMPARE(meta.value("Name").toString(), QStringLiteral("designer"));
    QCOMPARE(meta.value("Version").toString(), QStringLiteral("1.0.0"));
    QCOMPARE(meta.value("CompatVersion").toString(), QStringLiteral("1.0.0"));
    QCOMPARE(meta.value("Required").toBool(), true);
    QCOMPARE(meta.value("License").toArray(), QJsonArray());
    QCOMPARE(meta.value("Category").toString(), QStringLiteral("Kavio"));
    QCOMPARE(meta.value("Description").toString(), QStringLiteral("The main editor of Kavio Studio"));
    QCOMPARE(meta.value("Arguments").toArray(), QJsonArray());
    const QJsonArray deps = meta.value("Dependencies").toArray();
    QCOMPARE(deps.size(), 1);
    QCOMPARE(deps.at(0).toObject().value("Name").toString(), QStringLiteral("core"));
    QCOMPARE(deps.at(0).toObject().value("Version").toString(), QStringLiteral("1.0.0"));
    QVERIFY(!meta.value("Vendor").toString().isEmpty());
    QVERIFY(!loader.isLoaded());
}

void tst_PluginManager::settingsFollowTheConfiguredPath()
{
    const QString path = QDir::temp().filePath(QStringLiteral("kavio-settings-%1.ini").arg(QCoreApplication::applicationPid()));
    QFile::remove(path);
    PluginManager manager;
    PluginManager::setSettingsPath(path);
    PluginManager::settings()->setValue(QStringLiteral("Kavio/Language"), QStringLiteral("de"));
    PluginManager::settings()->sync();
    QVERIFY(QFile::exists(path));
    QSettings check(path, QSettings::IniFormat);
    QCOMPARE(check.value(QStringLiteral("Kavio/Language")).toString(), QStringLiteral("de"));
    QFile::remove(path);
}

KAVIO_TEST_MAIN(tst_PluginManager)
#include "tst_pluginmanager.moc"
