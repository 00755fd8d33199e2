// The document-level action types: project settings and the preloader.

#include "KVCommandTypesKit.h"

#include "document/KVDocumentSettings.h"

#include "KVTestMain.h"

using P = KVCmdParam;
using A = KVCommandAction;

namespace {

// A settings field as text, for comparing before and after.
QString settingsText(const KVDocumentSettings &s)
{
    QJsonObject jo;
    s.toJson(jo);
    return QString::fromUtf8(QJsonDocument(jo).toJson(QJsonDocument::Compact));
}

} // namespace

class TestDocumentTypes : public QObject
{
    Q_OBJECT

private slots:
    void settings_data();
    void settings();
    void unfittingChangeNothing_data();
    void unfittingChangeNothing();
    void preloaderMessage();
};

void TestDocumentTypes::settings_data()
{
    QTest::addColumn<int>("nType");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QString>("strKey");
    QTest::newRow("68 autoplay") << 68 << QVariantList{false} << "autoplay";
    QTest::newRow("70 preloader kind") << 70 << QVariantList{2} << "loaderType";
    QTest::newRow("72 custom preloader") << 72 << QVariantList{true} << "hasCustomLoader";
    QTest::newRow("94 embed fonts") << 94 << QVariantList{true} << "embedSytemFont";
    QTest::newRow("95 resource folder") << 95 << QVariantList{"media"} << "resFolderHtml5Output";
    QTest::newRow("96 viewport") << 96 << QVariantList{320, 480} << "viewportWMeta";
    QTest::newRow("97 container id") << 97 << QVariantList{"stageOne"} << "containerID";
    QTest::newRow("98 preloader folder") << 98 << QVariantList{"pre"} << "preResFolderHtml5Output";
    QTest::newRow("99 HTML output") << 99 << QVariantList{"<div></div>"} << "htmlOutput";
    QTest::newRow("100 CSS output") << 100 << QVariantList{"body{}"} << "cssDoc";
}

void TestDocumentTypes::settings()
{
    QFETCH(int, nType);
    QFETCH(QVariantList, values);
    QFETCH(QString, strKey);
    TypesFixture f;
    f.t.settings.m_strContainerId = QStringLiteral("abcdefgh");
    const QString strBefore = settingsText(f.t.settings);
    auto *pAction = new A(nType, &f.t, values.size());
    for (const QVariant &v : values) {
        switch (v.userType()) {
        case QMetaType::Bool: pAction->addParam(P::makeBool(v.toBool())); break;
        case QMetaType::Int: pAction->addParam(P::makeInt(v.toInt())); break;
        default: pAction->addParam(P::makeString(v.toString())); break;
        }
    }
    f.push({pAction});
    QJsonObject jo;
    f.t.settings.toJson(jo);
    QVERIFY2(jo.contains(strKey), qPrintable(strKey));
    QCOMPARE(jo.value(strKey).toVariant(), values.first());
    const QString strAfter = settingsText(f.t.settings);
    QVERIFY(strAfter != strBefore);
    for (int i = 0; i < 2; ++i) {
        f.t.stack.undo();
        QCOMPARE(settingsText(f.t.settings), strBefore);
        f.t.stack.redo();
        QCOMPARE(settingsText(f.t.settings), strAfter);
    }
}

void TestDocumentTypes::unfittingChangeNothing_data()
{
    QTest::addColumn<int>("nCase");
    QTest::newRow("68 an int for the flag") << 0;
    QTest::newRow("96 one value") << 1;
    QTest::newRow("97 an id that is no CSS name") << 2;
    QTest::newRow("71 an empty indicator") << 3;
    QTest::newRow("73 without a preloader") << 4;
    QTest::newRow("99 two strings") << 5;
}

void TestDocumentTypes::unfittingChangeNothing()
{
    QFETCH(int, nCase);
    TypesFixture f;
    const QString strBefore = settingsText(f.t.settings);
    A *pAction = nullptr;
    switch (nCase) {
    case 0: pAction = f.action(68, {P::makeInt(0)}); break;
    case 1: pAction = f.action(96, {P::makeInt(5)}); break;
    case 2: pAction = f.action(97, {P::makeString("1 bad")}); break;
    case 3: pAction = f.action(71, {P::makeJsonObject({})}); break;
    case 4: pAction = f.action(73, {P::makeBool(true)}); break;
    case 5: pAction = f.action(99, {P::makeString("a"), P::makeString("b")}); break;
    }
    f.push({pAction});
    QCOMPARE(settingsText(f.t.settings), strBefore);
    f.t.stack.undo();
    QCOMPARE(settingsText(f.t.settings), strBefore);
}

void TestDocumentTypes::preloaderMessage()
{
    TypesFixture f;
    KVLoadingIndicator indicator;
    indicator.m_nDiameter = 90;
    f.push({f.action(71, {P::makeJsonObject(indicator.toJson())})});
    QCOMPARE(f.t.settings.m_defaultLoadingIndicator.m_nDiameter, 90);
    f.t.stack.undo();
    QCOMPARE(f.t.settings.m_defaultLoadingIndicator.m_nDiameter, 60);
    f.t.notes.clear();
    f.push({f.action(72, {P::makeBool(true)})});
    const QJsonObject jo = f.t.notes.first().joPage.value("params").toArray().at(0).toObject().value("value").toObject();
    QCOMPARE(jo.value("custom").toBool(), true);
    QCOMPARE(jo.value("indicator").toObject().value("diameter").toInt(), 60);
}

KAVIO_TEST_MAIN(TestDocumentTypes)
#include "tst_documenttypes.moc"
