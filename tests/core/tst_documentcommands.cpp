// A project document edited through commands, as the editor does it: the command goes through the
// document's submit, every executed action reaches the views through dataChanged, undo and redo
// restore the model, and a save makes the change part of the file.
#include "KVDocumentTestKit.h"

#include "animation/KVAnimation.h"
#include "commands/KVClipBoard.h"
#include "commands/KVCmdParam.h"
#include "commands/KVEditContext.h"
#include "commands/KVInsertOperation.h"
#include "model/KVImage.h"
#include "model/KVJsonUtil.h"
#include "resources/KVResource.h"
#include "resources/KVResourceManager.h"
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

#include <QJsonArray>
#include <QJsonDocument>
#include <QMimeData>
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
    void clipboardPaste_data();
    void clipboardPaste();
    void pasteOffsetWraps();
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

namespace {

KVEditContext editOf(KVDocument &doc, KVScene *pScene)
{
    KVEditContext c;
    c.pTarget = &doc;
    c.pScene = pScene;
    c.pTimeline = pScene->currentTimeline();
    return c;
}

// The image and the rectangle of a scene that the rows paste, with their positions and resources.
QString sceneForm(const KVScene *pScene)
{
    QStringList parts;
    for (const KVElement *p : pScene->children()) {
        QString strPart = QStringLiteral("%1 %2 (%3,%4)").arg(p->id()).arg(p->name()).arg(p->leftPixels()).arg(p->topPixels());
        if (auto *pImage = dynamic_cast<const KVImage *>(p))
            strPart += QLatin1Char(' ') + (pImage->image() ? pImage->image()->fileName() : QStringLiteral("-"));
        if (pScene->currentTimeline()->findAnimation(p, KVLayoutKey::base()))
            strPart += QStringLiteral(" animated");
        parts << strPart;
    }
    return parts.join(QStringLiteral("; "));
}

} // namespace

// Elements copied in one project and pasted into the same or another one through the clipboard
// data: one undo step each, offsets per scene, the image's file copied into the other project's
// resource folder under a new name when its own name is taken there; data that cannot be read
// is reported and changes nothing.
void tst_DocumentCommands::clipboardPaste_data()
{
    QTest::addColumn<QString>("target");   // "same", "other scene" or "other project"
    QTest::addColumn<QString>("data");     // "copied", "garbage" or "newer"
    QTest::addColumn<bool>("withAnimation");
    QTest::addColumn<int>("pastes");
    QTest::addColumn<QString>("pasted");   // the scene's form after the pastes (below the copied ones)
    QTest::addColumn<QString>("message");

    QTest::newRow("same scene, shifted by 10 then 20")
        << "same" << "copied" << false << 2
        << "3 Image_1_1 (30,50) badge.png; 4 Div_1_1 (110,130); 5 Image_1_2 (40,60) badge.png; 6 Div_1_2 (120,140)"
        << "";
    QTest::newRow("other scene starts at 0, animations come along")
        << "other scene" << "copied" << true << 2
        << "1 Image_1 (20,40) badge.png; 2 Div_1 (100,120) animated; 3 Image_1_1 (30,50) badge.png; 4 Div_1_1 (110,130) animated"
        << "";
    QTest::newRow("other project: the image arrives renamed")
        << "other project" << "copied" << false << 1
        << "1 Image_1 (20,40) badge_1.png; 2 Div_1 (100,120)" << "";
    QTest::newRow("garbage")
        << "other project" << "garbage" << true << 1 << ""
        << "The clipboard does not hold elements that can be pasted.";
    QTest::newRow("newer element kind")
        << "same" << "newer" << false << 1 << ""
        << "The copied elements come from a newer version of Kavio Studio and cannot be pasted here.";
}

void tst_DocumentCommands::clipboardPaste()
{
    QFETCH(QString, target);
    QFETCH(QString, data);
    QFETCH(bool, withAnimation);
    QFETCH(int, pastes);
    QFETCH(QString, pasted);
    QFETCH(QString, message);
    RecordingReporter rec;
    ProjectFolder folder;
    KVDocument source;
    source.setFileName(folder.path(QStringLiteral("a/a.kavio")));
    QVERIFY(source.create(800, 600, 2, false));
    const QByteArray badge = patternBytes(300, 1);
    KVResource *pBadge = folder.addResource(source, QStringLiteral("badge.png"), badge);
    KVScene *pScene = source.sceneList()->at(0);
    KVElement *pImage = KVInsertOperation::elementFor(pBadge, source.resourceManager());
    pImage->setPositionX(20);
    pImage->setPositionY(40);
    KVElement *pRect = KVElementFactory::createElement(5);
    pRect->setPositionX(100);
    pRect->setPositionY(120);
    for (KVElement *p : {pImage, pRect}) {
        KVInsertOperation::adoptLayouts(p, pScene);
        pScene->addElement(p, -1, nullptr);
        p->setSelected(true);
    }
    QVERIFY(pScene->currentTimeline()->addAnimation(new KVAnimation(pRect), KVLayoutKey::base()));
    std::unique_ptr<QMimeData> pData(KVClipBoard::getInstance()->copyElements(editOf(source, pScene),
                                                                             source.resourceManager()));
    QVERIFY(pData);
    if (data == QLatin1String("garbage"))
        pData->setData(KVClipBoard::elementFormat(), QByteArray("not binary json"));
    if (data == QLatin1String("newer")) {
        QJsonArray array = KVJsonUtil::fromBinary(pData->data(KVClipBoard::elementFormat())).array();
        QJsonObject jo = array.at(1).toObject();
        jo.insert(QStringLiteral("type"), 42);
        array.replace(1, jo);
        pData->setData(KVClipBoard::elementFormat(), KVJsonUtil::toBinary(QJsonDocument(array)));
    }

    KVDocument other;
    KVDocument *pTarget = &source;
    KVScene *pInto = pScene;
    if (target == QLatin1String("other scene"))
        pInto = source.sceneList()->at(1);
    if (target == QLatin1String("other project")) {
        other.setFileName(folder.path(QStringLiteral("b/b.kavio")));
        QVERIFY(other.create(800, 600, 1, false));
        folder.addResource(other, QStringLiteral("badge.png"), patternBytes(200, 2));
        pTarget = &other;
        pInto = other.sceneList()->at(0);
    }
    const QString strCopied = pInto == pScene ? sceneForm(pScene) + QStringLiteral("; ") : QString();
    const QString strBefore = sceneForm(pInto);
    const int nResources = pTarget->resourceManager()->liveResources().size();
    for (int i = 0; i < pastes; ++i) {
        KVCommand *pCommand = KVClipBoard::getInstance()->paste(editOf(*pTarget, pInto), pTarget, pData.get(),
                                                                 withAnimation);
        QCOMPARE(pCommand != nullptr, message.isEmpty());
        if (pCommand)
            pTarget->submitCommand(pCommand);
    }
    QCOMPARE(rec.texts(), message.isEmpty() ? QStringList() : QStringList(message));
    if (!message.isEmpty()) {
        QCOMPARE(sceneForm(pInto), strBefore);
        QCOMPARE(pTarget->resourceManager()->liveResources().size(), nResources);
        QCOMPARE(pTarget->getUndoStack()->count(), 0);
        return;
    }
    QCOMPARE(sceneForm(pInto), strCopied + pasted);
    QCOMPARE(pTarget->getUndoStack()->count(), pastes);
    if (target == QLatin1String("other project")) {
        // The copied file, beside the project's own badge.png that kept its bytes.
        const QString strRes = pTarget->resourceFolderPath();
        QCOMPARE(readBytes(strRes + QStringLiteral("/badge_1.png")), badge);
        QCOMPARE(readBytes(strRes + QStringLiteral("/badge.png")), patternBytes(200, 2));
        QCOMPARE(pTarget->resourceManager()->liveResources().size(), nResources + 1);
    }
    const QString strAfter = sceneForm(pInto);
    for (int i = 0; i < pastes; ++i)
        pTarget->getUndoStack()->undo();
    QCOMPARE(sceneForm(pInto), strBefore);
    // The carried image stays while the removed element, kept by the command, still uses it.
    QCOMPARE(pTarget->resourceManager()->liveResources().size(),
             nResources + (target == QLatin1String("other project") ? 1 : 0));
    for (int i = 0; i < pastes; ++i)
        pTarget->getUndoStack()->redo();
    QCOMPARE(sceneForm(pInto), strAfter);
}

// A new copy starts its scene at 0; past 500 the offset starts again at 0, and other scenes of the
// container count from 0 on their own.
void tst_DocumentCommands::pasteOffsetWraps()
{
    KVClipBoard *pClip = KVClipBoard::getInstance();
    int nContainer = 0;
    pClip->resetPasteOffset(&nContainer, 1);
    QList<int> offsets;
    for (int i = 0; i < 52; ++i)
        offsets << pClip->pasteOffset(&nContainer, 1);
    QCOMPARE(offsets.mid(0, 3), (QList<int>{10, 20, 30}));
    QCOMPARE(offsets.mid(48), (QList<int>{490, 500, 0, 10}));
    QCOMPARE(pClip->pasteOffset(&nContainer, 2), 0);
    QCOMPARE(pClip->pasteOffset(&nContainer, 2), 10);
    QCOMPARE(pClip->pasteOffset(&nContainer, 1), 20);
}
