#include "ActionContainer.h"
#include "ActionManager.h"
#include "ContextAction.h"
#include "ContextManager.h"

#include "KVTestMain.h"

#include <QAction>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>

class tst_ActionManager : public QObject
{
    Q_OBJECT
private slots:
    void shortcutsSurviveARestart();
    void resetToDefaultForgetsTheSavedKeys();
    void containersAreKnownById();
    void contextActionsFollowTheFocusedWidget();

private:
    QTemporaryDir m_dir;
};

void tst_ActionManager::shortcutsSurviveARestart()
{
    const QString path = m_dir.filePath(QStringLiteral("restart.ini"));
    {
        QSettings settings(path, QSettings::IniFormat);
        ActionManager am;
        QAction save(QStringLiteral("Save"));
        save.setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
        QAction zoom(QStringLiteral("Zoom In"));
        zoom.setShortcut(QKeySequence(QStringLiteral("Ctrl+=")));
        am.registerAction(&save, QStringLiteral("File.Save"));
        am.registerAction(&zoom, QStringLiteral("View.Zoom_In"));
        am.getContextAction(QStringLiteral("View.Zoom_In"))
            ->setShortcuts({QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("F9"))});
        am.saveSettings(&settings);
    }
    // A new process: the same actions registered with their defaults, then settings read.
    QSettings settings(path, QSettings::IniFormat);
    ActionManager am;
    QAction save(QStringLiteral("Save"));
    save.setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    QAction zoom(QStringLiteral("Zoom In"));
    zoom.setShortcut(QKeySequence(QStringLiteral("Ctrl+=")));
    am.registerAction(&save, QStringLiteral("File.Save"));
    am.registerAction(&zoom, QStringLiteral("View.Zoom_In"));
    am.readFromSettings(&settings);
    QCOMPARE(zoom.shortcuts(),
             QList<QKeySequence>({QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("F9"))}));
    QCOMPARE(save.shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    // An unchanged action is not written at all.
    settings.beginGroup(QStringLiteral("Shortcuts"));
    QVERIFY(!settings.contains(QStringLiteral("File.Save")));
    QVERIFY(settings.contains(QStringLiteral("View.Zoom_In")));
}

void tst_ActionManager::resetToDefaultForgetsTheSavedKeys()
{
    const QString path = m_dir.filePath(QStringLiteral("reset.ini"));
    QSettings settings(path, QSettings::IniFormat);
    ActionManager am;
    QAction a(QStringLiteral("Copy"));
    a.setShortcut(QKeySequence(QStringLiteral("Ctrl+C")));
    ContextAction *ca = am.registerAction(&a, QStringLiteral("Edit.Copy"));
    ca->setShortcuts({QKeySequence(QStringLiteral("Alt+C"))});
    QVERIFY(!ca->isDefault());
    am.saveSettings(&settings);
    QVERIFY(settings.contains(QStringLiteral("Shortcuts/Edit.Copy")));
    am.resetToDefault();
    QCOMPARE(a.shortcut(), QKeySequence(QStringLiteral("Ctrl+C")));
    am.saveSettings(&settings);
    QVERIFY(!settings.contains(QStringLiteral("Shortcuts/Edit.Copy")));
    // A garbled saved key leaves the default in place rather than a wrong key.
    settings.setValue(QStringLiteral("Shortcuts/Edit.Copy"), QStringList{QStringLiteral("Ctrl+Nonsense+")});
    am.readFromSettings(&settings);
    QCOMPARE(a.shortcut(), QKeySequence(QStringLiteral("Ctrl+C")));
    // A list the user emptied on purpose means no shortcut.
    settings.setValue(QStringLiteral("Shortcuts/Edit.Copy"), QStringList());
    am.readFromSettings(&settings);
    QVERIFY(a.shortcuts().isEmpty());
}

void tst_ActionManager::containersAreKnownById()
{
    ActionManager am;
    ActionContainer *view = am.createMenuContainer(QStringLiteral("MenuBar.View"), QStringLiteral("View"));
    QCOMPARE(am.createMenuContainer(QStringLiteral("MenuBar.View")), view);
    QCOMPARE(am.getActionContainer(QStringLiteral("MenuBar.View")), view);
    QVERIFY(!am.getActionContainer(QStringLiteral("MenuBar.Nothing")));
    QAction a(QStringLiteral("Ruler"));
    view->addAction(&a);
    QCOMPARE(view->menu()->actions().size(), 1);
    view->setVisible(false);
    QVERIFY(!view->isVisible());
}

void tst_ActionManager::contextActionsFollowTheFocusedWidget()
{
    ContextManager cm;
    ActionManager am(&cm);
    QWidget canvas;
    QWidget child(&canvas);
    QWidget timeline;
    cm.registerContext(&canvas, QStringLiteral("Canvas"), QStringLiteral("Canvas"));
    cm.registerContext(&timeline, QStringLiteral("Timeline"));
    QAction del(QStringLiteral("Delete"));
    am.registerAction(&del, QStringLiteral("Edit.Delete"), QStringLiteral("Canvas"));
    QAction global(QStringLiteral("New"));
    am.registerAction(&global, QStringLiteral("File.New"));
    QVERIFY(!del.isEnabled());
    cm.updateFromWidget(&child);
    QCOMPARE(cm.activeContexts(), QStringList{QStringLiteral("Canvas")});
    QVERIFY(del.isEnabled());
    cm.updateFromWidget(&timeline);
    QVERIFY(!del.isEnabled());
    QVERIFY(global.isEnabled());
    cm.unregisterContext(&canvas, QStringLiteral("Canvas"));
    cm.updateFromWidget(&child);
    QVERIFY(cm.activeContexts().isEmpty());
}

KAVIO_GUI_TEST_MAIN(tst_ActionManager)
#include "tst_actionmanager.moc"
