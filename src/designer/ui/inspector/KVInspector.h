#pragma once

#include "model/KVLayoutKey.h"

#include <QColor>
#include <QList>
#include <QPointer>
#include <QScrollArea>
#include <QStringList>
#include <QTimer>

class IEditor;
class KVCommand;
class KVDocument;
class KVEditContext;
class KVElement;
class KVInspectorPageInfo;
class KVInspectorPageTitle;
class KVScene;
class QVBoxLayout;

// One tab of the property inspector: a scrolling column of collapsible pages that show and edit
// the selected elements (or, with none selected, the current scene) at the layout and time shown.
// It changes nothing itself: every edit is a command submitted to the document, and the pages
// refresh from the view updates the commands send.
class KVInspector : public QScrollArea
{
    Q_OBJECT
public:
    explicit KVInspector(QWidget *pParent = nullptr);
    ~KVInspector() override;

    // Adds a page (before the first show); the inspector owns it.
    void addPage(int nPageId, const QString &strTitle);
    // Reads each page's open state from the settings.
    void restoreExpanded();
    const QList<KVInspectorPageInfo *> &pageInfos() const { return m_pages; }
    KVInspectorPageInfo *pageInfo(int nPageId) const;

    KVDocument *document() const;
    // The elements the pages edit: the selected ones, else the current scene.
    QList<KVElement *> selection() const;
    KVScene *currentScene() const;
    KVLayoutKey layout() const;
    // What an edit works on now.
    KVEditContext context() const;
    // The colours the current scene uses, most used first, and the font families to offer.
    QList<QColor> documentColors() const;
    QStringList fontFamilies() const;
    // The widget whose edit made the last command, until onResetWidgetCmdSrc clears it.
    QWidget *commandSource() const { return m_pCommandSource; }
    // Every available page refreshed now (also what the refresh timer does).
    void refreshNow();

signals:
    void titleClicked(KVInspectorPageTitle *title);
    // Pages came or went with the selection.
    void availabilityChanged();

public slots:
    void updateEditorActivated(IEditor *pEditor);
    void updateEditorDeactivated(IEditor *pEditor);
    void handleDocumentLoaded();
    void handleDocumentChanged(QObject *pUpdateInfo);
    void handleDocumentClosing();
    void showPage(KVInspectorPageInfo *pInfo, bool bShow);
    void updateVScrollBar();
    // Submits the command (null: nothing to do) made by the widget.
    void processCommand(KVCommand *pCmd, QWidget *pWidgetCmdSrc);
    void onToggleShowHide();
    // Edits between these two are one step of the undo history (a drag, a colour picked in the
    // dialog); they may nest.
    void beginEdit();
    void endEdit();

private:
    void readSelection();
    void updateAvailability();
    void refreshPage(KVInspectorPageInfo *pInfo);
    void onTitleClicked(KVInspectorPageTitle *pTitle);

    QList<KVInspectorPageInfo *> m_pages;
    QWidget *m_pContent = nullptr;
    QVBoxLayout *m_pColumn = nullptr;
    QPointer<KVDocument> m_pDocument;
    QPointer<KVScene> m_pScene;
    QList<QPointer<KVElement>> m_selection;
    QPointer<QWidget> m_pCommandSource;
    bool m_bSelectionChanged = true;
    bool m_bEditingText = false;
    int m_nEditDepth = 0;
    bool m_bMacroOpen = false;
    QTimer m_refreshTimer;
};
