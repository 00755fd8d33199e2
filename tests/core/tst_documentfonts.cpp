// Fonts of a project: opening registers the files of its font resources with the toolkit (the
// family found is kept with the resource, a status text counts them), closing takes them away.
// The font database needs the GUI application (offscreen), not widgets.

#include "KVDocumentTestKit.h"
#include "KVTestMain.h"
#include "RecordingReporter.h"

#include "resources/KVFontResource.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QtTest>

class tst_DocumentFonts : public QObject
{
    Q_OBJECT

private slots:
    void openRegistersFontsCloseRemovesThem();
};

void tst_DocumentFonts::openRegistersFontsCloseRemovesThem()
{
    const QString strFont = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    if (!QFileInfo::exists(strFont))
        QSKIP("no TrueType font to test with");
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = folder.path(QStringLiteral("fonts.kavio"));
    {
        KVDocument doc;
        doc.setFileName(strFile);
        QVERIFY(doc.create(800, 600, 1, false));
        for (const QString &name : {QStringLiteral("broken.ttf"), QStringLiteral("sans.ttf")}) {
            const QByteArray data = name.startsWith(QLatin1String("sans")) ? readBytes(strFont) : QByteArray("not a font");
            KVResource *pFont = doc.resourceManager()->importFile(folder.source(name, data), 4);
            QVERIFY(pFont && doc.resourceManager()->addResource(pFont));
        }
        QVERIFY(doc.save());
        doc.close();
    }
    const int nBefore = QFontDatabase().families().size();

    KVDocument doc;
    QSignalSpy status(&doc, &IDocument::statusChanged);
    QVERIFY(doc.load(strFile));
    QStringList texts;
    for (const QList<QVariant> &args : qAsConst(status))
        texts << args.first().toString();
    // The file that cannot be added is skipped; the count runs over the font resources.
    QCOMPARE(texts, (QStringList{QStringLiteral("Adding Google fonts 1/2"), QString()}));
    QCOMPARE(doc.status(), QString());
    QString family;
    for (KVResource *r : doc.resourceManager()->liveResources(4)) {
        if (r->fileName() == QLatin1String("sans.ttf"))
            family = static_cast<KVFontResource *>(r)->family();
    }
    QCOMPARE(family, QStringLiteral("DejaVu Sans"));

    doc.close();
    QCOMPARE(QFontDatabase().families().size(), nBefore);
    QVERIFY(rec.texts().isEmpty());
}

KAVIO_TEST_MAIN_APP(tst_DocumentFonts, QGuiApplication)
#include "tst_documentfonts.moc"
