#include "plugin/KVLocationManager.h"

#include "KVTestMain.h"

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

class tst_LocationManager : public QObject
{
    Q_OBJECT
private slots:
    void defaults_data();
    void defaults();
    void lastLocationFallsBackToDefault();
    void ownerLocations();
    void onlyTypesZeroToThreePersist();
    void historyReadLeavesMissingKeysAtDefault();

private:
    QTemporaryDir m_dir;
};

void tst_LocationManager::defaults_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("expected");
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString app = docs + QStringLiteral("/Kavio Studio");
    QTest::newRow("new project") << 0 << app;
    QTest::newRow("open project") << 1 << app;
    QTest::newRow("general") << 2 << docs;
    QTest::newRow("package") << 3 << docs;
    QTest::newRow("per document") << 1000 << QString();
    for (int t : {1001, 1002, 1006, 1007, 1012, 1016, 1017})
        QTest::addRow("resource %d", t) << t << docs;
    for (int t : {1003, 1015})
        QTest::addRow("video %d", t) << t << QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    for (int t : {1004, 1014})
        QTest::addRow("audio %d", t) << t << QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    for (int t : {1005, 1013})
        QTest::addRow("image %d", t) << t << QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
}

void tst_LocationManager::defaults()
{
    QFETCH(int, type);
    QFETCH(QString, expected);
    KVLocationManager lm;
    lm.setDefaults();
    QCOMPARE(lm.defaultLocation(type), expected);
    QCOMPARE(lm.lastLocation(type), expected);
    // the application folder is made at start-up
    QVERIFY(QFileInfo(KVLocationManager::applicationFolder()).isDir());
    QVERIFY(KVLocationManager::applicationFolder().startsWith(qEnvironmentVariable("HOME")));
}

void tst_LocationManager::lastLocationFallsBackToDefault()
{
    KVLocationManager lm;
    lm.setDefaults();
    lm.setLastLocation(1005, QStringLiteral("/srv/pictures"));
    QCOMPARE(lm.lastLocation(1005), QStringLiteral("/srv/pictures"));
    QCOMPARE(lm.lastLocation(1013), lm.defaultLocation(1013));
    QCOMPARE(lm.lastLocation(4242), QString());
}

void tst_LocationManager::ownerLocations()
{
    KVLocationManager lm;
    lm.setDefaults();
    int docA = 0, docB = 0;
    lm.setOwnerLocation(&docA, 1005, QStringLiteral("/a/img"));
    lm.setOwnerLocation(&docA, 1003, QStringLiteral("/a/video"));
    lm.setOwnerLocation(&docB, 1005, QStringLiteral("/b/img"));
    QCOMPARE(lm.ownerLocation(&docA, 1005), QStringLiteral("/a/img"));
    QCOMPARE(lm.ownerLocation(&docB, 1005), QStringLiteral("/b/img"));
    QCOMPARE(lm.ownerLocation(&docB, 1003), lm.defaultLocation(1003));
    lm.removeOwnerLocation(&docA, 1005);
    QCOMPARE(lm.ownerLocation(&docA, 1005), lm.defaultLocation(1005));
    lm.forgetOwner(&docA);
    QCOMPARE(lm.ownerLocation(&docA, 1003), lm.defaultLocation(1003));
    QCOMPARE(lm.ownerLocation(&docB, 1005), QStringLiteral("/b/img"));
}

void tst_LocationManager::onlyTypesZeroToThreePersist()
{
    QSettings settings(m_dir.filePath(QStringLiteral("persist.ini")), QSettings::IniFormat);
    {
        KVLocationManager lm;
        lm.setDefaults();
        lm.setSettings(&settings);
        lm.setLastLocation(0, QStringLiteral("/projects"));
        lm.setLastLocation(3, QStringLiteral("/packages"));
        lm.setLastLocation(1005, QStringLiteral("/pictures"));
    }
    QCOMPARE(settings.value(QStringLiteral("LocationHistory/0")).toString(), QStringLiteral("/projects"));
    QCOMPARE(settings.value(QStringLiteral("LocationHistory/3")).toString(), QStringLiteral("/packages"));
    QVERIFY(!settings.contains(QStringLiteral("LocationHistory/1005")));
    KVLocationManager restarted;
    restarted.setDefaults();
    restarted.setSettings(&settings);
    restarted.readHistory();
    QCOMPARE(restarted.lastLocation(0), QStringLiteral("/projects"));
    QCOMPARE(restarted.lastLocation(3), QStringLiteral("/packages"));
    QCOMPARE(restarted.lastLocation(1005), restarted.defaultLocation(1005));
}

void tst_LocationManager::historyReadLeavesMissingKeysAtDefault()
{
    QSettings settings(m_dir.filePath(QStringLiteral("partial.ini")), QSettings::IniFormat);
    settings.setValue(QStringLiteral("LocationHistory/1"), QStringLiteral("/opened"));
    KVLocationManager lm;
    lm.setDefaults();
    lm.setSettings(&settings);
    lm.readHistory();
    QCOMPARE(lm.lastLocation(1), QStringLiteral("/opened"));
    QCOMPARE(lm.lastLocation(0), lm.defaultLocation(0));
    QCOMPARE(lm.lastLocation(2), lm.defaultLocation(2));
}

KAVIO_TEST_MAIN(tst_LocationManager)
#include "tst_locationmanager.moc"
