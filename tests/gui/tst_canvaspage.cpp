// The staged canvas page in the real web engine, talking over an in-process web channel to a
// stand-in canvas object with the canvas object's signals and slots: the page finds the object from
// the canvas id the view sets, asks for the scene, draws it, and its gestures come back as requests;
// overloaded signals and slots reach the page and the object.
#include "KVTestMain.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineView>

// The page-facing side of a canvas: what the page listens to and what it may call, recorded.
class StandInCanvas : public QObject
{
    Q_OBJECT

public:
    QString strScene;
    int nSceneRequests = 0;
    QList<QPair<QString, bool>> requests;
    QList<int> focused;
    QStringList calls;
    QStringList texts;

signals:
    void currentSceneChanged(bool bHasScene, QString strSceneData);
    void dataChangedToJS(QString jsonUpdateViewInfo);
    void snapEnabledChanged(bool bEnabled);
    void startEditText(int nElementId);
    void stopEditText(bool bImmediately);
    void stopEditText();
    void finishAllTask();
    void zoomFactorChanged(double dZoomFactor);

public slots:
    void sendSceneDataToJS()
    {
        ++nSceneRequests;
        emit currentSceneChanged(true, strScene);
    }
    void submitCommandFromJS(QString strJson, bool bRunCmdOnly) { requests.append({strJson, bRunCmdOnly}); }
    void setFocusedItemId(int nId) { focused.append(nId); }
    void setEditingText(bool bEditing, int nX, int nY)
    {
        calls << QStringLiteral("setEditingText(%1,%2,%3)").arg(bEditing).arg(nX >= 0).arg(nY >= 0);
    }
    void setEditingText(bool bEditing, int) { calls << QStringLiteral("setEditingText(%1,x)").arg(bEditing); }
    void setEditingText(bool bEditing) { calls << QStringLiteral("setEditingText(%1)").arg(bEditing); }
    void editTextInnerHTML(QString strHtml) { texts << strHtml; }
    void onTextFormatChanged(QString) { calls << QStringLiteral("onTextFormatChanged"); }
    void onAllTaskFinished() { calls << QStringLiteral("onAllTaskFinished"); }
    void setZoomFactor(double) { calls << QStringLiteral("setZoomFactor"); }
    void setSceneOffset(double, double) {}
    void setScrollValue(double, double) {}
    void onShowContextMenu() { calls << QStringLiteral("onShowContextMenu"); }
    QString getDoubleClickToEditText() { return QStringLiteral("Double-click to edit text"); }
};

class tst_CanvasPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void drawsTheScene();
    void moveComesBackAsOneRequest();
    void overloadsReachBothSides();

private:
    QVariant run(const QString &strScript);

    QWebChannel *m_pChannel = nullptr;
    StandInCanvas *m_pCanvas = nullptr;
    QWebEngineView *m_pView = nullptr;
};

QVariant tst_CanvasPage::run(const QString &strScript)
{
    QVariant result;
    bool bDone = false;
    m_pView->page()->runJavaScript(strScript, [&](const QVariant &v) {
        result = v;
        bDone = true;
    });
    if (!QTest::qWaitFor([&] { return bDone; }, 10000))
        qWarning("The script did not finish: %s", qPrintable(strScript));
    return result;
}

void tst_CanvasPage::initTestCase()
{
    const QString strPage = KVTestEnvironment::binaryDir() + QStringLiteral("/share/kavio/resources/canvas/index.html");
    QVERIFY2(QFile::exists(strPage), qPrintable(strPage));
    QFile fixture(KVTestEnvironment::sourceDir() + QStringLiteral("/web/test/fixtures/canvas-banner.json"));
    QVERIFY(fixture.open(QIODevice::ReadOnly));

    m_pChannel = new QWebChannel(this);
    m_pCanvas = new StandInCanvas;
    m_pCanvas->setParent(this);
    m_pCanvas->strScene = QString::fromUtf8(fixture.readAll());
    m_pChannel->registerObject(QStringLiteral("kvcanvas_1"), m_pCanvas);

    m_pView = new QWebEngineView;
    m_pView->resize(800, 600);
    m_pView->show();
    m_pView->page()->setWebChannel(m_pChannel);
    const QUrl url = QUrl::fromLocalFile(strPage);
    // As the canvas does: the id at once and again when loading has finished.
    connect(m_pView, &QWebEngineView::loadFinished, this,
            [this] { m_pView->page()->runJavaScript(QStringLiteral("window.canvasId = 1;")); });
    m_pView->load(url);
    m_pView->page()->runJavaScript(QStringLiteral("window.canvasId = 1;"));
    QTRY_COMPARE_WITH_TIMEOUT(m_pCanvas->nSceneRequests, 1, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(run(QStringLiteral("!!(window.kvCanvasPage && window.kvCanvasPage.hasScene())")).toBool(), 10000);
}

void tst_CanvasPage::cleanupTestCase()
{
    delete m_pView;
}

void tst_CanvasPage::drawsTheScene()
{
    QCOMPARE(run(QStringLiteral("window.kvCanvasPage.ids().join(',')")).toString(), QStringLiteral("1,2,3,4,5,6"));
    const QVariantMap button = run(QStringLiteral("window.kvCanvasPage.position(6)")).toMap();
    QCOMPARE(button.value(QStringLiteral("x")).toDouble(), 90.0);
    QCOMPARE(button.value(QStringLiteral("y")).toDouble(), 196.0);
    QCOMPARE(button.value(QStringLiteral("w")).toDouble(), 120.0);
    QCOMPARE(button.value(QStringLiteral("h")).toDouble(), 36.0);
}

void tst_CanvasPage::moveComesBackAsOneRequest()
{
    emit m_pCanvas->snapEnabledChanged(false);
    // Signals reach the page through the channel, after scripts run now.
    QTRY_COMPARE(run(QStringLiteral("window.kvCanvasPage.page.snap")).toBool(), false);
    m_pCanvas->requests.clear();
    run(QStringLiteral("window.kvCanvasPage.moveBy(6, 30, 20)"));
    // The click selects (no undo step), the drag is one command.
    QTRY_COMPARE(m_pCanvas->requests.size(), 2);
    QCOMPARE(m_pCanvas->requests.at(0).second, true);
    QCOMPARE(m_pCanvas->requests.at(1).second, false);
    QCOMPARE(m_pCanvas->focused.value(0), 6);
    const QJsonObject jo = QJsonDocument::fromJson(m_pCanvas->requests.at(1).first.toUtf8()).object();
    QCOMPARE(jo.value(QStringLiteral("sceneId")).toInt(), 1);
    QCOMPARE(jo.value(QStringLiteral("symbolResourceId")).toInt(), -1);
    QCOMPARE(jo.value(QStringLiteral("text")).toString(), QStringLiteral("Change Geometry"));
    const QJsonArray actions = jo.value(QStringLiteral("actions")).toArray();
    QCOMPARE(actions.size(), 1);
    const QJsonObject action = actions.at(0).toObject();
    QCOMPARE(action.value(QStringLiteral("cmd")).toInt(), 1000);
    const QJsonArray params = action.value(QStringLiteral("params")).toArray();
    QCOMPARE(params.at(0).toObject().value(QStringLiteral("value")).toInt(), 6);
    QCOMPARE(params.at(4).toObject().value(QStringLiteral("value")).toArray(), (QJsonArray{0, 2}));
    QCOMPARE(params.at(5).toObject().value(QStringLiteral("value")).toDouble(), 120.0);
    QCOMPARE(params.at(6).toObject().value(QStringLiteral("value")).toDouble(), 216.0);
    QCOMPARE(run(QStringLiteral("window.kvCanvasPage.position(6).x")).toDouble(), 120.0);
}

void tst_CanvasPage::overloadsReachBothSides()
{
    m_pCanvas->calls.clear();
    emit m_pCanvas->startEditText(6);
    QTRY_VERIFY2(m_pCanvas->calls.contains(QStringLiteral("setEditingText(1,1,1)")),
                 qPrintable(m_pCanvas->calls.join(QLatin1Char(' '))));
    QTRY_VERIFY(m_pCanvas->calls.contains(QStringLiteral("onTextFormatChanged")));
    run(QStringLiteral("document.execCommand('insertText', false, 'Summer sale')"));
    emit m_pCanvas->stopEditText();
    QTRY_COMPARE(m_pCanvas->texts, QStringList{QStringLiteral("Summer sale")});
    QTRY_VERIFY(m_pCanvas->calls.contains(QStringLiteral("setEditingText(0)")));
    // The overload with a flag ends editing too (nothing changed this time: no text is sent).
    emit m_pCanvas->startEditText(6);
    QTRY_COMPARE(run(QStringLiteral("document.activeElement.isContentEditable")).toBool(), true);
    emit m_pCanvas->stopEditText(true);
    QTRY_COMPARE(run(QStringLiteral("document.activeElement.isContentEditable")).toBool(), false);
    QCOMPARE(m_pCanvas->texts.size(), 1);
    emit m_pCanvas->finishAllTask();
    QTRY_VERIFY(m_pCanvas->calls.contains(QStringLiteral("onAllTaskFinished")));
}

KAVIO_WEBENGINE_TEST_MAIN(tst_CanvasPage)
#include "tst_canvaspage.moc"
