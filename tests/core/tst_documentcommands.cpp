// A project document edited through commands, as the editor does it: the command goes through the
// document's submit, every executed action reaches the views through dataChanged, undo and redo
// restore the model, and a save makes the change part of the file.
#include "commands/KVCmdParam.h"
#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"
#include "commands/KVUpdateViewInfo.h"
#include "document/KVDocument.h"
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

KAVIO_TEST_MAIN(tst_DocumentCommands)
#include "tst_documentcommands.moc"
