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

// The main window: an MDI area holding one sub-window per editor (with a welcome widget while none
// is open) and the File menu and toolbar with recent projects. Pages in browser views reach the
// application's objects through a web channel each view hands its own page in-process; nothing
// listens on a socket for them.
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
    // Closes the documents of every sub-window but pKeep; false when one of them stays open.
    bool closeSubWindows(QMdiSubWindow *pKeep);
    void onSubWindowActivated(QMdiSubWindow *pSub);
    QMdiSubWindow *subWindowOf(IDocument *pDocument) const;

    QMdiArea *m_pMdiArea;
    QPointer<QWidget> m_pWelcome;
    QToolBar *m_pFileToolbar;
    QMenu *m_pFileMenu = nullptr;
    QMenu *m_pRecentMenu = nullptr;
    QList<QAction *> m_recentActions;
    QPointer<IOptionsDlg> m_pOptions;
    bool m_bClosingAll = false;
};
