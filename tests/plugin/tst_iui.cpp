#include "ui/IUi.h"

#include "KVTestMain.h"

class tst_IUi : public QObject
{
    Q_OBJECT
private slots:
    void fileNames_data();
    void fileNames();
    void iconCarriesNormalAndDisabledPixmaps();
    void pixmapsAreCachedByPath();
    void toolIconsComeInTheirSizes_data();
    void toolIconsComeInTheirSizes();
};

void tst_IUi::fileNames_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("disabled");
    QTest::addColumn<QString>("file");
    QTest::newRow("no size") << 0 << false << "play.png";
    QTest::newRow("12") << 1 << false << "play_12.png";
    QTest::newRow("16 disabled") << 2 << true << "play_16_d.png";
    QTest::newRow("24") << 3 << false << "play_24.png";
    QTest::newRow("32") << 4 << false << "play_32.png";
    QTest::newRow("48") << 5 << false << "play_48.png";
    QTest::newRow("64 disabled") << 6 << true << "play_64_d.png";
    QTest::newRow("out of range") << 7 << false << "play.png";
    QTest::newRow("negative") << -1 << true << "play_d.png";
}

void tst_IUi::fileNames()
{
    QFETCH(int, size);
    QFETCH(bool, disabled);
    QFETCH(QString, file);
    QCOMPARE(IUi::fileName(QStringLiteral("play"), size, disabled), file);
}

void tst_IUi::iconCarriesNormalAndDisabledPixmaps()
{
    IUi ui;
    const QIcon icon = ui.icon(QStringLiteral("kavio"), IUi::Size32);
    QVERIFY(!icon.isNull());
    const QImage normal = icon.pixmap(32, QIcon::Normal).toImage();
    const QImage disabled = icon.pixmap(32, QIcon::Disabled).toImage();
    QCOMPARE(normal.size(), QSize(32, 32));
    // the disabled variant is the grey file, not a generated one
    QCOMPARE(disabled.pixelColor(1, 1), ui.pixmap(QStringLiteral("kavio"), IUi::Size32, true).toImage().pixelColor(1, 1));
    QVERIFY(normal.pixelColor(1, 1) != disabled.pixelColor(1, 1));
    QVERIFY(ui.icon(QStringLiteral("no-such-icon")).isNull());
}

void tst_IUi::pixmapsAreCachedByPath()
{
    IUi ui;
    ui.pixmap(QStringLiteral("kavio"), IUi::Size16);
    ui.pixmap(QStringLiteral("kavio"), IUi::Size16);
    QCOMPARE(ui.cachedPixmaps(), 1);
    ui.pixmap(QStringLiteral("kavio"), IUi::Size16, true);
    QCOMPARE(ui.cachedPixmaps(), 2);
}

void tst_IUi::toolIconsComeInTheirSizes_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"undo", "align_left", "insert_text", "play_preview", "text_bold", "zoom_auto_fit"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void tst_IUi::toolIconsComeInTheirSizes()
{
    QFETCH(QString, name);
    IUi ui;
    for (const auto &size : {qMakePair(int(IUi::Default), 24), qMakePair(int(IUi::Size16), 16), qMakePair(int(IUi::Size24), 24)}) {
        const QPixmap normal = ui.pixmap(name, size.first, false);
        const QPixmap disabled = ui.pixmap(name, size.first, true);
        QCOMPARE(normal.size(), QSize(size.second, size.second));
        QCOMPARE(disabled.size(), QSize(size.second, size.second));
        QVERIFY(normal.toImage() != disabled.toImage());
    }
}

KAVIO_GUI_TEST_MAIN(tst_IUi)
#include "tst_iui.moc"
