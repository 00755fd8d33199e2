#pragma once

#include <QList>
#include <QPointer>
#include <QUndoCommand>

class IKVCommandTarget;
class KVCommandAction;
class KVElement;
class KVScene;
class KVTimeline;
class KVUpdateViewInfo;

// One undoable edit of a project: an ordered list of actions run as one step. Commands never
// merge (id() and mergeWith() keep the defaults), so every submitted command is one undo step.
//
// Every execution (the first one when pushed, then each undo and redo) pauses a playing timeline,
// puts back the selection recorded at submit time, runs the actions and announces each one to the
// views, re-seeks the scenes when animation changed, reloads fonts when resources came or went, and
// ends with the closing notification (type 41), on which views flush what they collected.
//
// The sender (the view that made the change) is handed to the notifications of the first
// execution only, so that view does not redo what it already shows.
class KVCommand : public QUndoCommand
{
public:
    KVCommand(IKVCommandTarget *pDocument, const QString &strText, QObject *pSender = nullptr,
              QUndoCommand *pParent = nullptr);
    // Destroys the actions, which destroy their parameters and the objects those own.
    ~KVCommand() override;

    KVCommand(const KVCommand &) = delete;
    KVCommand &operator=(const KVCommand &) = delete;

    void undo() override;
    void redo() override;
    // Runs the command without recording it (the caller destroys it afterwards).
    virtual void execute();

    // Takes the action over; a null action is ignored.
    void addAction(KVCommandAction *pAction);
    const QList<KVCommandAction *> &actions() const { return m_listActions; }
    IKVCommandTarget *document() const { return m_pDocument; }
    QObject *commandSender() const { return m_pSender.data(); }

    bool undoInRecordedOrder() const { return m_bUndoInRecordedOrder; }
    void setUndoInRecordedOrder(bool b) { m_bUndoInRecordedOrder = b; }
    bool redoInReverseOrder() const { return m_bRedoInReverseOrder; }
    void setRedoInReverseOrder(bool b) { m_bRedoInReverseOrder = b; }
    bool pausePlaybackFirst() const { return m_bPausePlaybackFirst; }
    void setPausePlaybackFirst(bool b) { m_bPausePlaybackFirst = b; }

    // Takes the selection snapshot that every execution restores before its actions: the
    // document's selection list, the selected scenes, their current timelines and the selected
    // elements of the current scene.
    void recordSelection();
    bool isSelectionRecorded() const { return m_bSelectionRecorded; }

    // Push mode: records the selection, adds the content-id action (type 63) when a symbol is being
    // edited and an action changes more than selection or view state, clears the status text on a
    // clean stack and pushes the command onto the target's undo stack (which runs redo() at once).
    // A command without actions is destroyed instead; false then, or when there is no stack.
    static bool push(KVCommand *pCommand);
    // Whether an action of the type leaves a symbol's content as it was (selection, resources,
    // notifications), so that editing inside a symbol needs no new content id for it.
    static bool keepsSymbolContent(int nType);

private:
    void run(bool bUndo);
    void notify(KVUpdateViewInfo &info, int nType, QList<class KVCmdParam *> *pParams);
    void restoreSelection(KVUpdateViewInfo &info);
    void refreshSceneTimes(KVUpdateViewInfo &info);

    QList<KVCommandAction *> m_listActions;
    IKVCommandTarget *m_pDocument = nullptr;
    QPointer<QObject> m_pSender;
    bool m_bSelectionRecorded = false;
    QList<QPointer<QObject>> m_listDocumentSelection;
    QList<QPointer<KVScene>> m_listSelectedScenes;
    QList<QPointer<KVTimeline>> m_listCurrentTimelines;
    QList<QPointer<KVElement>> m_listSelectedElements;
    bool m_bUndoInRecordedOrder = false;
    bool m_bRedoInReverseOrder = false;
    bool m_bPausePlaybackFirst = true;
};
