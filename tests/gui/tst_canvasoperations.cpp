// The canvas's editing operations as the editor's actions reach them (slots called by name on the
// canvas), and drops onto the stage: each operation is one undo step of the document, selecting is
// none, and a drop of files that no resource kind imports inserts nothing.
#include "canvas/KVCanvas.h"
#include "commands/KVDropPolicy.h"
#include "document/KVDocument.h"
#include "model/KVElementFactory.h"
#include "model/KVScene.h"
#include "resources/KVResourceManager.h"

#include "IEditor.h"

#include "KVTestMain.h"
#include "RecordingReporter.h"

#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

namespace {

class BareEditor : public IEditor
{
public:
    QWidget *widget() const override { return nullptr; }
};

} // namespace

class tst_CanvasOperations : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void alignmentSlots_data();
    void alignmentSlots();
    void selectAllIsNoUndoStep();
    void lockAndDeleteSlots();
    void groupSlots();
    void dropOfAnImageInsertsItAtTheStagePoint();
    void dropOfUnknownFilesInsertsNothing();
    void dropOfTextInsertsATextElement();

private:
    KVElement *addDiv(double dX, double dWidth);
    bool drop(QMimeData *pData, const QPoint &pt);

    QTemporaryDir m_dir;
    QScopedPointer<KVDocument> m_pDocument;
    QScopedPointer<BareEditor> m_pEditor;
    QScopedPointer<KVCanvas> m_pCanvas;
};

void tst_CanvasOperations::init()
{
    m_pDocument.reset(new KVDocument);
    static int s_nProject = 0;
    m_pDocument->setFileName(m_dir.filePath(QStringLiteral("ops%1/ops.kavio").arg(++s_nProject)));
    QDir().mkpath(QFileInfo(m_pDocument->getFileName()).absolutePath());
    QVERIFY(m_pDocument->create(800, 600, 1, false));
    m_pEditor.reset(new BareEditor);
    m_pEditor->setDocument(m_pDocument.data());
    m_pCanvas.reset(new KVCanvas(m_pEditor.data()));
    m_pCanvas->handleDocumentLoaded();
    QVERIFY(m_pCanvas->currentScene());
}

void tst_CanvasOperations::cleanup()
{
    m_pCanvas.reset();
    m_pEditor.reset();
    m_pDocument.reset();
}

KVElement *tst_CanvasOperations::addDiv(double dX, double dWidth)
{
    KVElement *p = KVElementFactory::createElement(5);
    p->setPositionX(dX, KVLayoutKey::base());
    p->setSizeW(dWidth, KVLayoutKey::base());
    p->setSizeH(20, KVLayoutKey::base());
    m_pCanvas->currentScene()->addElement(p);
    p->setSelected(true);
    return p;
}

void tst_CanvasOperations::alignmentSlots_data()
{
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<bool>("toParent");
    QTest::addColumn<QList<double>>("after");

    QTest::newRow("left") << QByteArray("setAlignLeft") << false << QList<double>{40, 40, 40};
    QTest::newRow("centre in the parent") << QByteArray("setAlignHCenter") << true << QList<double>{350, 375, 300};
    QTest::newRow("distribute left edges") << QByteArray("setDistLeftEdge") << false << QList<double>{40, 170, 300};
    QTest::newRow("same width") << QByteArray("setSameWidth") << false << QList<double>{40, 100, 300};
}

void tst_CanvasOperations::alignmentSlots()
{
    QFETCH(QByteArray, slot);
    QFETCH(bool, toParent);
    QFETCH(QList<double>, after);

    KVElement *pFocus = addDiv(40, 100);
    KVElement *pB = addDiv(100, 50);
    KVElement *pC = addDiv(300, 200);
    m_pCanvas->setFocusedItemId(pFocus->id());
    m_pCanvas->setAlignToParent(toParent);
    QVERIFY(QMetaObject::invokeMethod(m_pCanvas.data(), slot.constData()));
    QCOMPARE(m_pDocument->getUndoStack()->count(), 1);
    QCOMPARE(pFocus->positionX(KVLayoutKey::base()), after[0]);
    QCOMPARE(pB->positionX(KVLayoutKey::base()), after[1]);
    QCOMPARE(pC->positionX(KVLayoutKey::base()), after[2]);
    if (slot == "setSameWidth")
        QCOMPARE(pB->sizeW(KVLayoutKey::base()), 100.0);
    m_pDocument->getUndoStack()->undo();
    QCOMPARE(pB->positionX(KVLayoutKey::base()), 100.0);
}

void tst_CanvasOperations::selectAllIsNoUndoStep()
{
    KVElement *pA = addDiv(0, 10);
    KVElement *pB = addDiv(50, 10);
    QVERIFY(QMetaObject::invokeMethod(m_pCanvas.data(), "deselectAll"));
    QVERIFY(!pA->isSelected() && !pB->isSelected());
    QVERIFY(QMetaObject::invokeMethod(m_pCanvas.data(), "onSelectAll"));
    QVERIFY(pA->isSelected() && pB->isSelected());
    QCOMPARE(m_pDocument->getUndoStack()->count(), 0);
}

void tst_CanvasOperations::lockAndDeleteSlots()
{
    KVElement *pA = addDiv(0, 10);
    addDiv(50, 10);
    QVERIFY(QMetaObject::invokeMethod(m_pCanvas.data(), "lockAllElements"));
    QVERIFY(pA->isLocked());
    QCOMPARE(m_pDocument->getUndoStack()->undoText(), QStringLiteral("Lock All Elements"));
    QVERIFY(QMetaObject::invokeMethod(m_pCanvas.data(), "hideElements"));
    QVERIFY(!pA->isVisible());
    QCOMPARE(m_pDocument->getUndoStack()->undoText(), QStringLiteral("Hide Element"));
    // While text is being edited, Delete belongs to the text.
    m_pCanvas->setEditingText(true);
    QVERIFY(QMetaObject::invokeMethod(m_pCanvas.data(), "onDelete"));
    QCOMPARE(m_pCanvas->currentScene()->children().size(), 2);
    m_pCanvas->setEditingText(false);
    QVERIFY(QMetaObject::invokeMethod(m_pCanvas.data(), "onDelete"));
    QVERIFY(m_pCanvas->currentScene()->children().isEmpty());
    QCOMPARE(m_pDocument->getUndoStack()->count(), 3);
    m_pDocument->getUndoStack()->undo();
    QCOMPARE(m_pCanvas->currentScene()->children().size(), 2);
}

// Group, ungroup, take out and add back through the canvas: one undo step each, the elements
// keeping their stage positions.
void tst_CanvasOperations::groupSlots()
{
    KVElement *pA = addDiv(40, 10);
    KVElement *pB = addDiv(100, 10);
    KVScene *pScene = m_pCanvas->currentScene();
    QVERIFY(QMetaObject::invokeMethod(m_pCanvas.data(), "groupElements"));
    QCOMPARE(pScene->children().size(), 1);
    KVElement *pGroup = pScene->children().first();
    QCOMPARE(pGroup->type(), 6);
    QCOMPARE(pGroup->children().size(), 2);
    QCOMPARE(pGroup->positionX(KVLayoutKey::base()) + pB->positionX(KVLayoutKey::base()), 100.0);
    QCOMPARE(m_pDocument->getUndoStack()->undoText(), QStringLiteral("Group"));

    // Taking one out puts it beside the group, where it was on the stage (an element inside a
    // group is selected with the group it was entered through).
    pA->setSelected(false);
    pB->setSelected(true);
    QVERIFY(QMetaObject::invokeMethod(m_pCanvas.data(), "removeFromGroup"));
    QCOMPARE(pB->parent(), pGroup->parent());
    QCOMPARE(pB->positionX(KVLayoutKey::base()), 100.0);
    m_pDocument->getUndoStack()->undo();
    QCOMPARE(pB->parent(), pGroup);

    for (KVElement *p : {pA, pB})
        p->setSelected(false);
    pGroup->setSelected(true);
    QVERIFY(QMetaObject::invokeMethod(m_pCanvas.data(), "ungroupElement"));
    QCOMPARE(pScene->children().size(), 2);
    QCOMPARE(pA->positionX(KVLayoutKey::base()), 40.0);
    QCOMPARE(pB->positionX(KVLayoutKey::base()), 100.0);
    QCOMPARE(m_pDocument->getUndoStack()->undoText(), QStringLiteral("Ungroup"));
    m_pDocument->getUndoStack()->undo();
    m_pDocument->getUndoStack()->undo();
    QCOMPARE(pScene->children().size(), 2);
    QCOMPARE(pA->parent(), static_cast<KVElement *>(pScene));
}

// A drop reaches the widget that took the drag when it entered, as in a real drag.
bool tst_CanvasOperations::drop(QMimeData *pData, const QPoint &pt)
{
    QDragEnterEvent enter(pt, Qt::CopyAction, pData, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_pCanvas.data(), &enter);
    QDropEvent event(pt, Qt::CopyAction, pData, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_pCanvas.data(), &event);
    return event.isAccepted();
}

void tst_CanvasOperations::dropOfAnImageInsertsItAtTheStagePoint()
{
    QImage image(24, 12, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString strPath = m_dir.filePath(QStringLiteral("dropped.png"));
    QVERIFY(image.save(strPath));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(strPath)});
    QVERIFY(KVDropPolicy::accepts(&data, true));
    // The stage starts at the page's scene offset (200, 150) at zoom 1.
    QVERIFY(drop(&data, QPoint(230, 190)));
    QCOMPARE(m_pDocument->getUndoStack()->undoText(), QStringLiteral("Insert Element"));
    KVElement *p = m_pCanvas->currentScene()->children().constLast();
    QCOMPARE(p->type(), 0);
    QCOMPARE(p->positionX(KVLayoutKey::base()), 30.0);
    QCOMPARE(p->positionY(KVLayoutKey::base()), 40.0);
    QCOMPARE(p->widthPixels(KVLayoutKey::base()), 24.0);
    QCOMPARE(m_pDocument->resourceManager()->resources().size(), 1);
}

void tst_CanvasOperations::dropOfUnknownFilesInsertsNothing()
{
    RecordingReporter reporter;
    const QString strPath = m_dir.filePath(QStringLiteral("notes.xyz"));
    QFile file(strPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
    file.close();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(strPath)});
    QVERIFY(!KVDropPolicy::accepts(&data, true));
    drop(&data, QPoint(230, 190));
    QCOMPARE(m_pDocument->getUndoStack()->count(), 0);
    QVERIFY(m_pCanvas->currentScene()->children().isEmpty());
    QVERIFY(m_pDocument->resourceManager()->resources().isEmpty());
    QVERIFY(reporter.texts().isEmpty());
}

void tst_CanvasOperations::dropOfTextInsertsATextElement()
{
    QMimeData data;
    data.setText(QStringLiteral("Hello <world>"));
    QVERIFY(drop(&data, QPoint(210, 160)));
    QCOMPARE(m_pDocument->getUndoStack()->undoText(), QStringLiteral("Insert Text"));
    KVElement *p = m_pCanvas->currentScene()->children().constLast();
    QCOMPARE(p->type(), 4);
    QCOMPARE(p->positionX(KVLayoutKey::base()), 10.0);
    QCOMPARE(p->positionY(KVLayoutKey::base()), 10.0);
}

KAVIO_WEBENGINE_TEST_MAIN(tst_CanvasOperations)
#include "tst_canvasoperations.moc"
