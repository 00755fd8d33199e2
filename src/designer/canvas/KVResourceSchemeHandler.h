#pragma once

#include <QPointer>
#include <QWebEngineUrlSchemeHandler>

#include <functional>

// Serves "resource://<file>" to a canvas page: the files of the project's resource folder. The
// folder is asked for at each request (the project may be saved elsewhere meanwhile); a name that
// leaves the folder, a missing file or a project without a folder fails the request.
class KVResourceSchemeHandler : public QWebEngineUrlSchemeHandler
{
    Q_OBJECT
public:
    using FolderProvider = std::function<QString()>;

    explicit KVResourceSchemeHandler(const FolderProvider &folder, QObject *pParent = nullptr);

    void requestStarted(QWebEngineUrlRequestJob *pJob) override;

    // The scheme's name; the application registers it before it starts (registerScheme()).
    static QByteArray schemeName();
    // Registers the scheme with the web engine; must run before the application object exists.
    static void registerScheme();
    // The file a URL names inside the folder; empty when it names none there.
    static QString filePathFor(const QUrl &url, const QString &strFolder);

private:
    FolderProvider m_folder;
};
