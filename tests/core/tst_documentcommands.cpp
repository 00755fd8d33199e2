// A project document edited through commands, as the editor does it: the command goes through the
// document's submit, every executed action reaches the views through dataChanged, undo and redo
// restore the model, and a save makes the change part of the file.
#include "commands/KVCmdParam.h"
#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"
#include "commands/KVUpdateViewInfo.h"
#include "document/KVDocument.h"
#include "animation/KVTimeline.h"
#include "commands/KVEventLoopLocker.h"
#include "model/KVElementFactory.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"

#include "KVTestMain.h"
#include "RecordingReporter.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUndoStack>

using P = KVCmdParam;

class tst_DocumentCommands : public QObject
{
    Q_OBJECT
private slots:
    void insertThroughTheDocument();
    void playbackIsToldToTheViews();
};

void tst_DocumentCommands::insertThroughTheDocument()
{
    RecordingReporter rec;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("p/p.kavio"));
    QDir().mkpath(QFileInfo(file).absolutePath());
    KVDocument doc;
    doc.setFileName(file);
    QVERIFY(doc.create(800, 600, 1, false));
    KVScene *scene = doc.sceneList()->at(0);
    QVERIFY(scene);
    QCOMPARE(scene->children().size(), 0);

    QList<int> announced;
    connect(&doc, &IDocument::dataChanged, this, [&announced](QObject *pInfo) {
        if (auto *info = qobject_cast<KVUpdateViewInfo *>(pInfo))
            announced << info->type();
    });
    KVElement *rect = KVElementFactory::createElement(5);
    rect->setSizeW(120);
    rect->setSizeH(80);
    auto *command = new KVCommand(&doc, QStringLiteral("Insert Rectangle"));
    auto *insert = new KVCommandAction(1, &doc, 3);
    insert->addParam(P::makeObject(P::Element, rect, true));
    insert->addParam(P::makeInt(-1));
    insert->addParam(P::makeObject(P::Scene, scene));
    command->addAction(insert);
    doc.submitCommand(command);

    QCOMPARE(scene->children().size(), 1);
    QVERIFY(rect->id() > 0);
    QVERIFY(doc.isModified());
    QCOMPARE(doc.getUndoStack()->count(), 1);
    QVERIFY(announced.contains(1));
    QCOMPARE(announced.last(), 41); // the closing notification

    doc.getUndoStack()->undo();
    QCOMPARE(scene->children().size(), 0);
    QVERIFY(!doc.isModified());
    doc.getUndoStack()->redo();
    QCOMPARE(scene->children().size(), 1);

    QVERIFY(doc.save());
    QVERIFY(!doc.isModified());
    KVDocument reopened;
    QVERIFY(reopened.load(file));
    QCOMPARE(reopened.sceneList()->at(0)->children().size(), 1);
    QCOMPARE(reopened.sceneList()->at(0)->children().first()->sizeW(), 120.0);
    QVERIFY(rec.entries().isEmpty());
}

// Play, stop and the timeline edges: the views are asked to finish their work before playback
// starts (and the wait ends when they say so), then told the time of each change; the model's
// timeline really runs, and nothing lands on the undo stack.
void tst_DocumentCommands::playbackIsToldToTheViews()
{
    RecordingReporter rec;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("p/p.kavio"));
    QDir().mkpath(QFileInfo(file).absolutePath());
    KVDocument doc;
    doc.setFileName(file);
    QVERIFY(doc.create(800, 600, 1, false));
    KVTimeline *timeline = doc.sceneList()->at(0)->currentTimeline();
    QVERIFY(timeline);
    timeline->addLabel(QStringLiteral("end"), 400);
    QCOMPARE(timeline->totalDuration(), 400);

    QList<QPair<int, int>> told; // type, the time it carries (-1 without one)
    connect(&doc, &IDocument::dataChanged, this, [&told](QObject *pInfo) {
        auto *info = qobject_cast<KVUpdateViewInfo *>(pInfo);
        if (!info || info->type() == 41)
            return;
        int nTime = -1;
        if (info->params() && !info->params()->isEmpty()) {
            const int nAt = info->type() == 76 ? 0 : 1;
            nTime = info->params()->value(nAt) ? info->params()->value(nAt)->toInt() : -1;
        }
        told << qMakePair(info->type(), nTime);
        // The page answers the request to finish its work at once.
        if (info->type() == 82)
            QTimer::singleShot(0, KVEventLoopLocker::getInstance(), &KVEventLoopLocker::unlock);
    });

    QVERIFY(!doc.stopPlayback());
    QVERIFY(doc.goToTimelineEdge(true));
    QCOMPARE(timeline->currentTimeMs(), 400);
    QVERIFY(doc.goToTimelineEdge(false));
    QCOMPARE(timeline->currentTimeMs(), 0);
    QCOMPARE(told, (QList<QPair<int, int>>{{76, 400}, {76, 0}}));
    told.clear();

    // The wait is long; only the answer can end it before the end of the test's own time-out.
    QVERIFY(doc.startPlayback(60000));
    QVERIFY(doc.isPlaying());
    QCOMPARE(told, (QList<QPair<int, int>>{{82, -1}, {74, 0}}));
    QVERIFY(!doc.startPlayback(0)); // already playing
    QTRY_VERIFY(timeline->currentTimeMs() >= 100);
    told.clear();
    QVERIFY(doc.togglePlayback());
    QVERIFY(!doc.isPlaying());
    QCOMPARE(told.size(), 1);
    QCOMPARE(told.first().first, 75);
    QVERIFY(told.first().second >= 100);
    const int nPausedAt = timeline->currentTimeMs();

    // Sought while paused, playing goes on from the sought time, and so does a resume.
    timeline->seek(250);
    told.clear();
    QVERIFY(doc.startPlayback(0));
    QCOMPARE(told.last(), qMakePair(74, 250));
    QVERIFY(timeline->currentTimeMs() >= 250);
    QVERIFY(doc.pause());
    timeline->seek(300);
    QVERIFY(doc.play());
    QTest::qWait(20);
    QVERIFY(timeline->currentTimeMs() >= 300);
    QTRY_VERIFY(!doc.isPlaying());
    QCOMPARE(timeline->currentTimeMs(), 400);

    // Played to the end, a new start begins from the start.
    QVERIFY(doc.startPlayback(0));
    QTRY_VERIFY(!doc.isPlaying());
    QCOMPARE(timeline->currentTimeMs(), 400);
    QVERIFY(nPausedAt < 400);
    told.clear();
    QVERIFY(doc.startPlayback(0));
    QCOMPARE(told.last(), qMakePair(74, 0));
    QVERIFY(doc.stopPlayback());
    // Saving, like a preview, an export or a close, stops playback: the views hear it as from Stop.
    QVERIFY(doc.startPlayback(0));
    told.clear();
    QVERIFY(doc.save());
    QVERIFY(!doc.isPlaying());
    QCOMPARE(told.size(), 1);
    QCOMPARE(told.first().first, 75);
    QCOMPARE(doc.getUndoStack()->count(), 0);
    QVERIFY(rec.entries().isEmpty());
}

KAVIO_TEST_MAIN(tst_DocumentCommands)
#include "tst_documentcommands.moc"
