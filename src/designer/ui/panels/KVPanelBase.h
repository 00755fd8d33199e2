#pragma once

#include "document/KVDocument.h"

#include <QPointer>
#include <QWidget>

class IEditor;
class KVCommand;

// What every panel of the side docks shares: it follows the active editor's document, collects
// the view-update messages of a command and shows the project again once the command has ended
// (refresh()), and changes the project only by submitting commands.
class KVPanelBase : public QWidget
{
    Q_OBJECT
public:
    explicit KVPanelBase(QWidget *pParent = nullptr);

    KVDocument *document() const { return m_pDocument.data(); }

public slots:
    void updateEditorActivated(IEditor *pEditor);
    void updateEditorDeactivated(IEditor *pEditor);
    void handleDocumentLoaded();
    void handleDocumentChanged(QObject *pUpdateInfo);
    void handleDocumentClosing();

protected:
    // Shows the document (or nothing without one) again.
    virtual void refresh() = 0;
    // Whether an action of the type changes what the panel shows (by default everything but the
    // playback notices).
    virtual bool concerns(int nType) const;
    // Whether an action of the type changes only which objects are selected; such commands call
    // followSelection() instead of refresh().
    virtual bool isSelectionOnly(int nType) const;
    virtual void followSelection() {}
    // Pushes the command as one undo step; false for null or without a document.
    bool submit(KVCommand *pCommand);

private:
    QPointer<KVDocument> m_pDocument;
    bool m_bDirty = false;
    bool m_bSelection = false;
};
