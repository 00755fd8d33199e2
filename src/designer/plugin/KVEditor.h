#pragma once

#include "IEditor.h"
#include "KVActionStates.h"
#include "canvas/KVCanvas.h"

#include <QPointer>


class KVDocument;
class KVResponsiveToolbar;
class QMdiSubWindow;
class QVBoxLayout;


// The window of one open project: a container with the symbol stack bar (shown while a symbol is
// edited) and the canvas view that loads the editing page. The host puts it in an MDI sub-window.
class KVEditor : public IEditor
{
    Q_OBJECT
public:
    explicit KVEditor(QObject *pParent = nullptr);
    ~KVEditor() override;

    QWidget *widget() const override;
    QString title() const override;

    KVDocument *document() const;
    KVCanvas *canvasView() const { return m_pCanvasView; }
    KVResponsiveToolbar *responsiveToolbar() const { return m_pResponsiveToolbar; }
    QUrl canvasUrl() const;

    // The tab title of a document: its file's base name, "%1 - preloader" or "%1 - backup", with
    // "[*]" when it has unsaved changes, is temporary or opened as a backup.
    static QString tabTitle(const KVDocument *pDocument, bool *pbModified = nullptr);
    // What the action states are computed from, read from the document and the current scene.
    KVEditorState editorState() const;

signals:
    // A command has run to its end (selection, elements or layouts may differ): the action states
    // are computed again.
    void editorStateChanged();

public slots:
    void initSystemMenu();
    void selfActivate();
    void onDocumentModifyChanged(bool bModify);
    void updateDocumentTabName();
    void onDocumentLoaded();
    void onDocumentUnloaded();
    void onDocumentDataChanged(QObject *pInfo);
    void activateDocumentTab();
    void updateUndoRedoMenu();
    void setUndoStackIndex();
    void openProjectFolder();
    void closeAll();
    void closeAllButThis();
    // Browser preview of the project or of its current scene, and HTML5 export.
    void onPreview();
    void onCurrentPreview();
    void onExport();
    // File > Save As > Package: asks where, then writes the project as a package.
    void saveAsPackage();

    // Shows the next (nStep 1) or previous (-1) scene of the document on the stage; false when
    // there is none in that direction.
    bool showAdjacentScene(int nStep);
    void showNextScene() { showAdjacentScene(1); }
    void showPreviousScene() { showAdjacentScene(-1); }

private:
    QMdiSubWindow *subWindow() const;
    void previewInBrowser(bool bCurrentScene);
    // Opens the address with the desktop's opener; a failure is reported (strFailure, or a
    // message naming the address).
    static bool openWithDesktop(const QUrl &url, const QString &strFailure = QString());

    // Owned until the host puts it into a sub-window, which then deletes it.
    QPointer<QWidget> m_pContainer;
    QWidget *m_pSymbolBar;
    KVCanvas *m_pCanvasView = nullptr;
    KVResponsiveToolbar *m_pResponsiveToolbar = nullptr;
    bool m_bMenuBuilt = false;
    QString m_strServedFolder; // the resource folder the preview server serves for this editor
};
