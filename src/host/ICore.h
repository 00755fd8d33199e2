#pragma once

#include <QObject>
#include <QString>

class ActionManager;
class ContextManager;
class DocumentManager;
class EditorManager;
class MainWindow;
class QSettings;
class Updater;

// The host's services as plug-ins see them. One instance per process, made by the application
// before plug-ins load.
class ICore : public QObject
{
    Q_OBJECT
public:
    // pMainWindow may be null for a process without windows (tests of the managers).
    explicit ICore(MainWindow *pMainWindow = nullptr, QObject *pParent = nullptr);
    ~ICore() override;

    static ICore *instance();

    MainWindow *getMainWindow() const { return m_pMainWindow; }
    // The folder that holds "resources/" (pages, scripts, templates): set explicitly, else
    // KAVIO_RESOURCE_PATH, else share/kavio beside the executable's bin/ folder.
    QString resourcePath() const;
    void setResourcePath(const QString &strPath) { m_strResourcePath = strPath; }
    QString version() const;

    QSettings *settings() const;
    ActionManager *actionManager() const { return m_pActionManager; }
    ContextManager *contextManager() const { return m_pContextManager; }
    EditorManager *editorManager() const { return m_pEditorManager; }
    DocumentManager *documentManager() const { return m_pDocumentManager; }
    Updater *updater() const { return m_pUpdater; }

    static QString defaultResourcePath();

private:
    MainWindow *m_pMainWindow;
    QString m_strResourcePath;
    ContextManager *m_pContextManager;
    ActionManager *m_pActionManager;
    EditorManager *m_pEditorManager;
    DocumentManager *m_pDocumentManager;
    Updater *m_pUpdater;
};
