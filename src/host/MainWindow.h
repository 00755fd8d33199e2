#pragma once

#include <QMainWindow>
#include <QPointer>

class IDocument;
class IDocumentFactory;
class IEditor;
class IOptionsDlg;
class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class QWebChannel;
class QWebSocketServer;
class WebChannelServer;

// The main window: an MDI area holding one sub-window per editor (with a welcome widget while none
// is open), the File menu and toolbar with recent projects, and the web channel with its local
// web-socket server that pages in browser views use to reach registered objects.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *pParent = nullptr);
    ~MainWindow() override;

    QMdiArea *getMdiArea() const { return m_pMdiArea; }
    void setWelcomeWidget(QWidget *pWidget);
    QWidget *welcomeWidget() const { return m_pWelcome; }
    QToolBar *getFileToolbar() const { return m_pFileToolbar; }

    QWebChannel *getChannel() const;
    QWebSocketServer *getServer() const;
    WebChannelServer *webChannelServer() const { return m_pWebServer; }

    // Gives pDocument an editor in a new sub-window (or activates the one it has).
    IEditor *loadOpenedDocument(IDocument *pDocument, bool bActivate = true);
    IEditor *editorOfSubWindow(QMdiSubWindow *pSub) const;

    void updateRecentFileActions();
    QStringList recentFiles() const;
    void addRecentFile(const QString &strFile);
    static int maxRecentFiles() { return 10; }

    QString getDefaultTempPath() const;
    IOptionsDlg *getOptionsDialog();

    IDocumentFactory *factory() const;

    // File, Edit, View and Help menus with the host's own actions; made once when the core
    // services exist, before plug-ins add theirs.
    void createFileActions();

public slots:
    bool newDocument();
    bool openDocument(const QString &strFile = QString());
    bool saveDocument();
    bool saveDocumentAs();
    bool closeDocument(IDocument *pDocument = nullptr);
    bool closeAllDocuments();
    bool closeAllButActive();

protected:
    void closeEvent(QCloseEvent *pEvent) override;
    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;

private:
    void updateWelcomeVisibility();
    void onSubWindowActivated(QMdiSubWindow *pSub);
    QMdiSubWindow *subWindowOf(IDocument *pDocument) const;

    QMdiArea *m_pMdiArea;
    QPointer<QWidget> m_pWelcome;
    QToolBar *m_pFileToolbar;
    QMenu *m_pFileMenu = nullptr;
    QMenu *m_pRecentMenu = nullptr;
    QList<QAction *> m_recentActions;
    WebChannelServer *m_pWebServer;
    QPointer<IOptionsDlg> m_pOptions;
    bool m_bClosingAll = false;
};
