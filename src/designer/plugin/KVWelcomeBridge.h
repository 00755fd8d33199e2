#pragma once

#include <QObject>
#include <QStringList>

class MainWindow;

// What the welcome page reaches through the web channel (as "kvwelcome"): the recent projects and
// the commands that start work.
class KVWelcomeBridge : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QStringList recentProjects READ recentProjects NOTIFY recentProjectsChanged)
    Q_PROPERTY(QString version READ version CONSTANT)
public:
    explicit KVWelcomeBridge(MainWindow *pMainWindow, QObject *pParent = nullptr);

    QStringList recentProjects() const;
    QString version() const;

public slots:
    void newProject();
    void openProject(const QString &strFile);
    void openProjectDialog();
    // The page reports that it has connected and rendered; tests and the log use it.
    void pageReady(const QString &strInfo);

signals:
    void recentProjectsChanged();
    void ready(const QString &strInfo);

private:
    MainWindow *m_pMainWindow;
};
