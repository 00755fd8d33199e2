#include "document/KVDocument.h"
#include "model/KVBreakpointSet.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"
#include "plugin/KVDesignerFactory.h"
#include "plugin/KVLocationManager.h"
#include "plugin/KVNewProjectDialog.h"

#include "DocumentManager.h"
#include "ICore.h"
#include "IDocument.h"
#include "PluginManager.h"

#include "KVTestMain.h"
#include "RecordingReporter.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include <algorithm>

#include <unistd.h>

namespace {
void writeFile(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}
} // namespace

class tst_NewProjectDialog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opensWithDefaults();
    void nameValidator_data();
    void nameValidator();
    void nameEditingFinished_data();
    void nameEditingFinished();
    void presetsSetTheSize();
    void responsiveEnablesBreakpoints();
    void missingLocationIsRefused();
    void unwritableLocationIsRefused();
    void createsTheProjectFolder();
    void refusedOverwriteTouchesNothing();
    void acceptedOverwriteClearsTheOldProject();
    void openProjectIsNeverOverwritten();
    void defaultLocationIsRemembered();
    void firstUseInitialisesBreakpoints();
    void factoryDescribesTheProjectFiles();

private:
    void prepareOldProject(const QString &folder);
    QScopedPointer<QTemporaryDir> m_dir;
    QScopedPointer<ICore> m_core;
};

void tst_NewProjectDialog::init()
{
    m_dir.reset(new QTemporaryDir);
    // The settings file stands beside the project folder, so checksums of the folder see only
    // what the dialog does to projects.
    ExtensionSystem::PluginManager::setSettingsPath(m_dir->path() + QStringLiteral("-settings.ini"));
    m_core.reset(new ICore(nullptr));
    KVLocationManager *lm = KVLocationManager::getInstance();
    lm->setDefaults();
    lm->setSettings(ExtensionSystem::PluginManager::settings());
}

void tst_NewProjectDialog::cleanup()
{
    QFile::remove(m_dir->path() + QStringLiteral("-settings.ini"));
    m_core.reset();
    KVLocationManager::destroyInstance();
    m_dir.reset();
}

void tst_NewProjectDialog::opensWithDefaults()
{
    KVNewProjectDialog dlg;
    QCOMPARE(dlg.windowTitle(), QStringLiteral("New Project"));
    QCOMPARE(dlg.nameEdit()->text(), QStringLiteral("untitled"));
    QCOMPARE(dlg.nameEdit()->selectedText(), QStringLiteral("untitled"));
    QCOMPARE(dlg.locationEdit()->text(), KVLocationManager::getInstance()->lastLocation(0));
    QCOMPARE(dlg.getWidth(), 800);
    QCOMPARE(dlg.getHeight(), 600);
    QCOMPARE(dlg.getSceneCount(), 1);
    QVERIFY(!dlg.isResponsive());
}

void tst_NewProjectDialog::nameValidator_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("acceptable");
    QTest::newRow("plain") << "banner ad" << true;
    QTest::newRow("dots") << "spring.sale.v2" << true;
    for (const char *bad : {"a/b", "a\\b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b"})
        QTest::addRow("refuses %s", bad) << QString::fromLatin1(bad) << false;
}

void tst_NewProjectDialog::nameValidator()
{
    QFETCH(QString, name);
    QFETCH(bool, acceptable);
    KVNewProjectDialog dlg;
    int pos = 0;
    QString text = name;
    QCOMPARE(dlg.nameEdit()->validator()->validate(text, pos) == QValidator::Acceptable, acceptable);
}

void tst_NewProjectDialog::nameEditingFinished_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    QTest::newRow("trimmed") << "  promo  " << "promo";
    QTest::newRow("extension normalised") << " promo .KAVIO" << "promo.kavio";
    QTest::newRow("other extension kept") << "promo.html" << "promo.html";
}

void tst_NewProjectDialog::nameEditingFinished()
{
    QFETCH(QString, typed);
    QFETCH(QString, result);
    KVNewProjectDialog dlg;
    dlg.nameEdit()->setText(typed);
    dlg.onEditingNameFinished();
    QCOMPARE(dlg.nameEdit()->text(), result);
}

void tst_NewProjectDialog::presetsSetTheSize()
{
    KVNewProjectDialog dlg;
    QStringList texts;
    QStringList sizes;
    for (QAction *a : dlg.presetActions()) {
        if (a->isSeparator())
            continue;
        texts << a->text();
        dlg.onPresetSizeChanged(a);
        sizes << QStringLiteral("%1x%2").arg(dlg.getWidth()).arg(dlg.getHeight());
    }
    QCOMPARE(texts.mid(0, 8), QStringList({"400 x 300", "640 x 480", "720 x 480", "800 x 600", "1024 x 768", "1080 x 720",
                                           "1920 x 1080", "300 x 250 (Medium Rectangle)"}));
    // Each preset sets the size its text names, the screen sizes and then the IAB ad sizes.
    QCOMPARE(sizes, QStringList({"400x300", "640x480", "720x480", "800x600", "1024x768", "1080x720", "1920x1080",
                                 "300x250", "728x90", "160x600", "300x600", "320x50", "320x100", "970x250", "336x280"}));
}

void tst_NewProjectDialog::responsiveEnablesBreakpoints()
{
    KVNewProjectDialog dlg;
    QVERIFY(!dlg.breakpointsButton()->isEnabled());
    dlg.responsiveBox()->setChecked(true);
    QVERIFY(dlg.breakpointsButton()->isEnabled());
    QVERIFY(dlg.isResponsive());
    dlg.responsiveBox()->setChecked(false);
    QVERIFY(!dlg.breakpointsButton()->isEnabled());
}

void tst_NewProjectDialog::missingLocationIsRefused()
{
    RecordingReporter rec;
    KVNewProjectDialog dlg;
    dlg.locationEdit()->setText(m_dir->filePath(QStringLiteral("nowhere")));
    dlg.accept();
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QCOMPARE(rec.texts(), QStringList{QStringLiteral("The selected directory doesn't exist.")});
    QCOMPARE(rec.entries().first().title, QStringLiteral("Kavio Studio"));
    QVERIFY(!QFileInfo::exists(m_dir->filePath(QStringLiteral("nowhere"))));
}

void tst_NewProjectDialog::unwritableLocationIsRefused()
{
    if (getuid() == 0)
        QSKIP("root can write into read-only folders");
    RecordingReporter rec;
    const QString locked = m_dir->filePath(QStringLiteral("locked"));
    QDir().mkpath(locked);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    KVNewProjectDialog dlg;
    dlg.locationEdit()->setText(locked);
    dlg.accept();
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(rec.texts(), QStringList{QStringLiteral("Could not create folder to store project files.")});
}

void tst_NewProjectDialog::createsTheProjectFolder()
{
    RecordingReporter rec;
    KVNewProjectDialog dlg;
    dlg.locationEdit()->setText(m_dir->path());
    dlg.nameEdit()->setText(QStringLiteral("a.KAVIO"));
    dlg.accept();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(rec.entries().isEmpty());
    QVERIFY(QFileInfo(m_dir->filePath(QStringLiteral("a"))).isDir());
    QCOMPARE(dlg.getFilePath(), m_dir->filePath(QStringLiteral("a/a.KAVIO")));
}

void tst_NewProjectDialog::prepareOldProject(const QString &folder)
{
    writeFile(folder + QStringLiteral("/promo.kavio"), "{\"old\":true}");
    writeFile(folder + QStringLiteral("/promo.kaviobak"), "{\"backup\":true}");
    writeFile(folder + QStringLiteral("/promo_res/images/logo.png"), QByteArray(4096, 'x'));
    writeFile(folder + QStringLiteral("/notes.txt"), "keep me");
}

void tst_NewProjectDialog::refusedOverwriteTouchesNothing()
{
    const QString folder = m_dir->filePath(QStringLiteral("promo"));
    prepareOldProject(folder);
    const QString before = KVTestEnvironment::sha256OfTree(m_dir->path());
    RecordingReporter rec;
    rec.answer(IReporter::No);
    KVNewProjectDialog dlg;
    dlg.locationEdit()->setText(m_dir->path());
    dlg.nameEdit()->setText(QStringLiteral("promo"));
    dlg.accept();
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QCOMPARE(rec.texts(),
             QStringList{QStringLiteral("The folder contains an existing project.\nDo you want to overwrite it?")});
    QCOMPARE(KVTestEnvironment::sha256OfTree(m_dir->path()), before);
}

void tst_NewProjectDialog::acceptedOverwriteClearsTheOldProject()
{
    const QString folder = m_dir->filePath(QStringLiteral("promo"));
    prepareOldProject(folder);
    RecordingReporter rec;
    rec.answer(IReporter::Yes);
    KVNewProjectDialog dlg;
    dlg.locationEdit()->setText(m_dir->path());
    dlg.nameEdit()->setText(QStringLiteral("promo"));
    dlg.accept();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/promo.kavio")));
    QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/promo.kaviobak")));
    QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/promo_res")));
    QVERIFY(QFileInfo::exists(folder + QStringLiteral("/notes.txt"))); // not the project's
}

void tst_NewProjectDialog::openProjectIsNeverOverwritten()
{
    const QString folder = m_dir->filePath(QStringLiteral("promo"));
    prepareOldProject(folder);
    IDocument open;
    open.setFileName(folder + QStringLiteral("/promo.kavio"));
    m_core->documentManager()->addDocument(&open);
    const QString before = KVTestEnvironment::sha256OfTree(m_dir->path());
    RecordingReporter rec;
    rec.answer(IReporter::Yes);
    KVNewProjectDialog dlg;
    dlg.locationEdit()->setText(m_dir->path());
    dlg.nameEdit()->setText(QStringLiteral("promo"));
    dlg.accept();
    m_core->documentManager()->removeDocument(&open);
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QCOMPARE(rec.lastText(), QStringLiteral("Could not overwrite an opening project."));
    QCOMPARE(KVTestEnvironment::sha256OfTree(m_dir->path()), before);
}

void tst_NewProjectDialog::defaultLocationIsRemembered()
{
    RecordingReporter rec;
    const QString place = m_dir->filePath(QStringLiteral("work"));
    QDir().mkpath(place);
    KVNewProjectDialog dlg;
    dlg.locationEdit()->setText(place);
    dlg.defaultLocationBox()->setChecked(true);
    dlg.accept();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(KVLocationManager::getInstance()->lastLocation(0), place);
    QCOMPARE(ExtensionSystem::PluginManager::settings()->value(QStringLiteral("LocationHistory/0")).toString(), place);
}

void tst_NewProjectDialog::firstUseInitialisesBreakpoints()
{
    DocumentManager *dm = m_core->documentManager();
    dm->setHBreakpoints({});
    dm->setVBreakpoints({});
    KVNewProjectDialog dlg;
    QVERIFY(!dm->getHBreakpoints().isEmpty());
    // stored back: a fresh manager reads the same presets
    DocumentManager other;
    other.readSettings();
    QCOMPARE(other.getHBreakpoints(), dm->getHBreakpoints());
    QCOMPARE(other.getVBreakpoints(), dm->getVBreakpoints());

    // A responsive project made with the presets has their layouts in every scene from the start.
    QDir().mkpath(m_dir->filePath(QStringLiteral("presets")));
    KVDocument doc;
    doc.setFileName(m_dir->filePath(QStringLiteral("presets/p.kavio")));
    QVERIFY(doc.create(800, 600, 2, true));
    QList<KVLayoutKey> layouts = doc.breakpoints()->layouts();
    std::sort(layouts.begin(), layouts.end());
    QVERIFY(layouts.size() > 1);
    for (const KVScene *pScene : doc.sceneList()->scenes())
        QCOMPARE(pScene->properties().keys(), layouts);
}

void tst_NewProjectDialog::factoryDescribesTheProjectFiles()
{
    KVDesignerFactory factory;
    QCOMPARE(factory.supportedExtensions(), QStringList({"kaviopack", "kavio"}));
    QCOMPARE(KVDesignerFactory::openProjectFilter(),
             QStringLiteral("Supported Files (*.kavio *.kaviopack);;Project Files (*.kavio);;Package Files (*.kaviopack)"));
    // the start folder falls back to the default when the remembered one is gone
    KVLocationManager::getInstance()->setLastLocation(1, m_dir->filePath(QStringLiteral("gone")));
    QCOMPARE(KVDesignerFactory::openProjectStartFolder(), KVLocationManager::getInstance()->defaultLocation(1));
    const QString project = m_dir->filePath(QStringLiteral("p/p.kavio"));
    QDir().mkpath(QFileInfo(project).absolutePath());
    KVDesignerFactory::rememberOpenedFile(project);
    QCOMPARE(KVDesignerFactory::openProjectStartFolder(), QFileInfo(project).absolutePath());
    QCOMPARE(ExtensionSystem::PluginManager::settings()->value(QStringLiteral("LocationHistory/1")).toString(),
             QFileInfo(project).absolutePath());
}

KAVIO_GUI_TEST_MAIN(tst_NewProjectDialog)
#include "tst_newprojectdialog.moc"
