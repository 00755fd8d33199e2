#include "KVTestMain.h"

#include "document/KVHeadlessProject.h"
#include "model/KVBreakpointSet.h"
#include "model/KVElement.h"
#include "model/KVElementFactory.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"
#include "output/KVCanvasSceneData.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {

// A project of 640 x 360 with one scene holding a rectangle with a child, and a second scene.
struct Project
{
    QTemporaryDir dir;
    KVHeadlessProject project;
    KVScene *pScene = nullptr;

    Project() : project(dir.path() + QStringLiteral("/show.kavio"))
    {
        project.setWidth(640);
        project.setHeight(360);
        project.setAlign(2);
        KVSceneList *pScenes = project.sceneList();
        pScene = pScenes->createScene();
        pScenes->addScene(pScene);
        pScenes->addScene(pScenes->createScene());
        KVElement *pBox = KVElementFactory::createElement(5);
        pBox->setName(QStringLiteral("box"));
        pScene->addElement(pBox);
        KVElement *pInner = KVElementFactory::createElement(5);
        pInner->setName(QStringLiteral("inner"));
        pScene->addElement(pInner, -1, pBox);
        project.setCurrentScene(pScene);
    }
};

// The keys of the outermost object of a JSON text, in the order they are written.
QStringList topLevelKeys(const QString &strText)
{
    QStringList keys;
    int nDepth = 0;
    bool bInString = false;
    int nStringStart = -1;
    for (int i = 0; i < strText.size(); ++i) {
        const QChar c = strText.at(i);
        if (bInString) {
            if (c == QLatin1Char('\\')) {
                ++i;
            } else if (c == QLatin1Char('"')) {
                bInString = false;
                if (nDepth == 1 && i + 1 < strText.size() && strText.at(i + 1) == QLatin1Char(':'))
                    keys << strText.mid(nStringStart + 1, i - nStringStart - 1);
            }
        } else if (c == QLatin1Char('"')) {
            bInString = true;
            nStringStart = i;
        } else if (c == QLatin1Char('{') || c == QLatin1Char('[')) {
            ++nDepth;
        } else if (c == QLatin1Char('}') || c == QLatin1Char(']')) {
            --nDepth;
        }
    }
    return keys;
}

} // namespace

class tst_CanvasSceneData : public QObject
{
    Q_OBJECT

private slots:
    void keysInOrder_data();
    void keysInOrder();
    void values();
    void sceneInCanvasForm();
    void noScene();
};

void tst_CanvasSceneData::keysInOrder_data()
{
    QTest::addColumn<int>("symbolResourceId");
    QTest::addColumn<bool>("withBreakpoint");
    QTest::addColumn<bool>("withLoader");
    QTest::addColumn<QStringList>("tail");

    const QStringList none;
    QTest::newRow("document") << -1 << false << false << none;
    QTest::newRow("document with breakpoints and preloader")
        << -1 << true << true << QStringList{QStringLiteral("breakpoints"), QStringLiteral("canvasLoaderData")};
    // A symbol being edited never carries the document's preloader.
    QTest::newRow("symbol with preloader data") << 4 << false << true << none;
    QTest::newRow("symbol with breakpoints") << 4 << true << false << QStringList{QStringLiteral("breakpoints")};
}

void tst_CanvasSceneData::keysInOrder()
{
    QFETCH(int, symbolResourceId);
    QFETCH(bool, withBreakpoint);
    QFETCH(bool, withLoader);
    QFETCH(QStringList, tail);

    Project p;
    if (withBreakpoint)
        QVERIFY(p.project.breakpoints()->addHBreakpoint(480).nId > 0);
    KVCanvasSceneData::ViewFlags flags;
    flags.nSymbolResourceId = symbolResourceId;
    if (withLoader)
        flags.joLoaderData = QJsonObject{{QStringLiteral("scenes"), QJsonArray()}};
    const QString strText =
        KVCanvasSceneData::buildText(p.project, p.pScene, p.project.resourceManager(), flags);
    QVERIFY(QJsonDocument::fromJson(strText.toUtf8()).isObject());
    const QStringList head{QStringLiteral("scene"),           QStringLiteral("resources"),
                           QStringLiteral("outputCss"),       QStringLiteral("symbolResourceId"),
                           QStringLiteral("containerW"),      QStringLiteral("containerH"),
                           QStringLiteral("docAlign"),        QStringLiteral("autoAddKeyframe"),
                           QStringLiteral("showContainerHandler"), QStringLiteral("transformTools")};
    QCOMPARE(topLevelKeys(strText), head + tail);
    QVERIFY(!strText.contains(QLatin1Char('\n')));
}

void tst_CanvasSceneData::values()
{
    Project p;
    KVCanvasSceneData::ViewFlags flags;
    QJsonObject jo = KVCanvasSceneData::build(p.project, p.pScene, p.project.resourceManager(), flags);
    // Without a size of its own the container shows the stage size.
    QCOMPARE(jo.value(QStringLiteral("containerW")).toInt(), 640);
    QCOMPARE(jo.value(QStringLiteral("containerH")).toInt(), 360);
    QCOMPARE(jo.value(QStringLiteral("docAlign")).toInt(), 2);
    QCOMPARE(jo.value(QStringLiteral("symbolResourceId")).toInt(), -1);
    QCOMPARE(jo.value(QStringLiteral("resources")).toArray(), QJsonArray());

    flags.strOutputCss = QStringLiteral(".a{color:red}");
    flags.nContainerW = 480;
    flags.nContainerH = 320;
    flags.bAutoAddKeyframe = true;
    flags.bShowContainerHandler = true;
    flags.nTransformTool = 2;
    jo = KVCanvasSceneData::build(p.project, p.pScene, nullptr, flags);
    QCOMPARE(jo.value(QStringLiteral("outputCss")).toString(), QStringLiteral(".a{color:red}"));
    QCOMPARE(jo.value(QStringLiteral("containerW")).toInt(), 480);
    QCOMPARE(jo.value(QStringLiteral("containerH")).toInt(), 320);
    QCOMPARE(jo.value(QStringLiteral("autoAddKeyframe")).toBool(), true);
    QCOMPARE(jo.value(QStringLiteral("showContainerHandler")).toBool(), true);
    QCOMPARE(jo.value(QStringLiteral("transformTools")).toInt(), 2);
    QVERIFY(jo.value(QStringLiteral("resources")).isArray());

    QVERIFY(p.project.breakpoints()->addHBreakpoint(480).nId > 0);
    jo = KVCanvasSceneData::build(p.project, p.pScene, nullptr, flags);
    QCOMPARE(jo.value(QStringLiteral("breakpoints")).toObject(), p.project.breakpoints()->toPlayerJson());
}

void tst_CanvasSceneData::sceneInCanvasForm()
{
    Project p;
    const QJsonObject jo = KVCanvasSceneData::build(p.project, p.pScene, nullptr, {});
    const QJsonObject joScene = jo.value(QStringLiteral("scene")).toObject();
    QCOMPARE(joScene.value(QStringLiteral("id")).toInt(), p.pScene->id());
    // The editing page's form: the current layout's keys straight in each element, the editing
    // flags, the children nested, and only the current timeline.
    const QJsonArray jaElems = joScene.value(QStringLiteral("elems")).toArray();
    QCOMPARE(jaElems.size(), 1);
    const QJsonObject joBox = jaElems.at(0).toObject();
    QCOMPARE(joBox.value(QStringLiteral("n")).toString(), QStringLiteral("box"));
    QVERIFY(!joBox.contains(QStringLiteral("rp")));
    QVERIFY(joBox.value(QStringLiteral("r")).isArray());
    for (const char *key : {"selected", "locked", "visible", "aspectRatioLocked"})
        QVERIFY2(joBox.value(QLatin1String(key)).isBool(), key);
    QCOMPARE(joBox.value(QStringLiteral("elems")).toArray().at(0).toObject().value(QStringLiteral("n")).toString(),
             QStringLiteral("inner"));
    QCOMPARE(joScene.value(QStringLiteral("timelines")).toArray().size(), 1);
}

void tst_CanvasSceneData::noScene()
{
    Project p;
    QCOMPARE(KVCanvasSceneData::build(p.project, nullptr, nullptr, {}), QJsonObject());
    QCOMPARE(KVCanvasSceneData::buildText(p.project, nullptr, nullptr, {}), QString());
}

KAVIO_TEST_MAIN(tst_CanvasSceneData)
#include "tst_canvasscenedata.moc"
