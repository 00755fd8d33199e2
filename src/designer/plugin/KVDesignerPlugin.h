#pragma once

#include "IPlugin.h"
#include "ui/timeline/KVTimelineWindow.h"

#include <QList>
#include <QComboBox>
#include <QPointer>
#include <QScopedPointer>
#include <QSet>
#include <QWebEngineView>

class IEditor;
class KVCanvas;
class KVEditor;
class KVDesignerActions;
class KVDocumentHost;
class KVInteractionTools;

class KVDesignerFactory;
class KVPanelSet;
class QAction;
class QCheckBox;
class QComboBox;
class QDockWidget;
class QTimer;
class QToolBar;

// The designer plug-in: registers the document factory, the welcome page, the actions, the dock
// windows and the remembered folders, and follows the active editor.
class KVDesignerPlugin : public ExtensionSystem::IPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID KavioPlugin_iid FILE "designer.json")
    Q_INTERFACES(ExtensionSystem::IPlugin)
public:
    KVDesignerPlugin();
    ~KVDesignerPlugin() override;

    bool initialize(const QStringList &arguments, QString *errorString) override;
    void extensionsInitialized() override;
    bool delayedInitialize() override;
    ShutdownFlag aboutToShutdown() override;
    QObject *remoteCommand(const QStringList &options, const QString &workingDirectory,
                           const QStringList &arguments) override;

    // For the shell and its tests.
    QList<QDockWidget *> docks() const { return m_docks; }
    QDockWidget *dock(const QString &strObjectName) const;
    QTimer *updateTimer() const { return m_pUpdateTimer; }
    QWebEngineView *welcomeView() const { return m_pWelcomeView; }
    bool isEditorState() const { return m_bEditorState; }
    // Ids of the actions and menus that only show while an editor is active.
    static QStringList editorStateActionIds();
    static QStringList editorStateMenuIds();
    static int randomUpdateDelay(int nRandom) { return 20000 + (nRandom % 41) * 1000; }

public slots:
    void checkUpdates(bool bSilentIfNoUpdate);
    void checkUpdates();

    KVDesignerActions *designerActions() const { return m_pActions; }
    // The active editor when it is one of the designer's, and its canvas; null otherwise.
    KVEditor *activeEditor() const;
    KVCanvas *activeCanvas() const;
    // Whether the action is connected to a command (an action connected to nothing is never
    // enabled: its feature does not exist yet).
    bool isConnected(const QString &strId) const;
    // The content of the Timeline dock.
    KVTimelineWindow *timelineWindow() const { return m_pTimelineWindow; }
    // The panels of the Scenes, Document, Elements and Resources docks.
    KVPanelSet *panels() const { return m_pPanels; }
    // The event-action dialog, the functions panel and the function editor.
    KVInteractionTools *interactionTools() const { return m_pInteraction; }
    // The canvas zoom box of the status bar.
    QComboBox *zoomBox() const { return m_pZoom; }

private slots:
    // Play/Stop, Go to Start and Go to End on the active editor's document.
    void togglePlayback();
    void goToTimelineStart();
    void goToTimelineEnd();
    void updateEditorActivated(IEditor *pEditor);
    void updateEditorDeactivated(IEditor *pEditor);
    // Commands: each does nothing unless the active editor has a canvas, and otherwise hands the
    // work to the editor or its canvas.
    void showPreviousScene();
    void showNextScene();
    void selectAll();
    void deleteSelection();
    void copySelection();
    void cutSelection();
    void pasteElements();
    void pasteWithAnimation();
    void insertRectangle();
    void insertRoundedRect();
    void insertEllipse();
    void insertText();
    void insertSymbol();
    void insertHtmlWidget();
    void insertImage();
    void insertAudio();
    void insertVideo();
    void insertShape(int nId);
    void setAlignLeft();
    void setAlignRight();
    void setAlignTop();
    void setAlignBottom();
    void setAlignVCenter();
    void setAlignHCenter();
    void setDistLeftEdge();
    void setDistHorzCenter();
    void setDistRightEdge();
    void setDistTopEdge();
    void setDistVertCenter();
    void setDistBottomEdge();
    void setDistHorzSpace();
    void setDistVertSpace();
    void makeSameWidth();
    void makeSameHeight();
    void makeSameSize();
    void bringToFront();
    void bringForward();
    void sendToBack();
    void sendBackward();
    void groupElements();
    void ungroupElement();
    void addToGroup();
    void removeFromGroup();
    void restoreOriginalSize();
    void removeAllOverrides();
    void lockAllElements();
    void lockElements();
    void hideAllElements();
    void hideElements();
    void enableCanvasSnap(bool bEnabled);
    void showRuler(bool bShow);
    void showShapeMenu();
    void zoomIn();
    void zoomOut();
    void zoomFit();
    void zoomChanged(int nPercentage);
    void onCurrentPreview();
    void onPreview();
    void onExport();
    void saveAsPackage();
    void showAbout();
    void openCommunity();
    void onAlignToLayoutChanged(int nState);
    void onFluidLayoutChanged(int nState);
    // A zoom typed or chosen in the status bar's box.
    void onZoomEntered(const QString &strText);

private:
    void createWelcomePage();
    void createActions();
    void createDocks();
    void setEditorState(bool bEditor);
    // Connects the actions of the features that exist to their commands.
    void connectCommands();
    // Enables each action only while the active editor can carry it out and the state rules allow.
    void updateActionAvailability();
    // The box shows the active canvas's zoom, and only while there is one.
    void showCanvasZoom();

    KVDesignerFactory *m_pFactory = nullptr;
    KVDesignerActions *m_pActions = nullptr;
    QScopedPointer<KVDocumentHost> m_pDocumentHost;
    QTimer *m_pUpdateTimer;
    QPointer<QWebEngineView> m_pWelcomeView;
    QList<QDockWidget *> m_docks;
    QList<QPair<QWidget *, QString>> m_contexts;
    QList<QToolBar *> m_toolbars;
    QPointer<QComboBox> m_pZoom;
    QPointer<KVTimelineWindow> m_pTimelineWindow;
    KVPanelSet *m_pPanels = nullptr;
    KVInteractionTools *m_pInteraction = nullptr;
    bool m_bEditorState = false;
    bool m_bShowTimelineWithEditor = false;
    QSet<QString> m_connectedIds;
};
