#pragma once

#include "commands/KVCmdParam.h"

#include <initializer_list>

class IKVCommandTarget;
class KVTimeline;

// One primitive, reversible change of a command: an action type code and its typed parameters.
// redo() applies the change, undo() the inverse; both write into the parameters what the opposite
// direction needs (the index an object was removed from, the value before, the negated delta), and
// objects taken out of the model are owned by their parameter until they are put back.
//
// An action whose type is unknown, or whose parameter count or kinds do not fit the type, changes
// nothing. With skip next redo set, the next redo() only clears the flag: the creator has already
// made the change in the model before the command is pushed (the push runs redo() at once).
class KVCommandAction
{
public:
    // Document-level types; element property groups (KVElementCommandAction) use 1000 and up.
    enum Type {
        InsertElement = 1,
        RemoveElement = 2,
        MoveElement = 3,
        DisplayOrder = 4,
        InsertScene = 5,
        RemoveScene = 6,
        SelectScene = 7,
        MoveScene = 8,
        AddTimeline = 9,
        RemoveTimeline = 10,
        CurrentTimeline = 11,
        RenameTimeline = 12,
        InsertLabel = 13,
        RemoveLabel = 14,
        RenameLabel = 15,
        MoveLabel = 16,
        AddAnimation = 17,
        RemoveAnimation = 18,
        AddTrack = 19,
        RemoveTrack = 20,
        ShiftTrack = 21,
        SetEasing = 22,
        SetTransition = 23,
        AddKeyValue = 25,
        RemoveKeyValue = 26,
        SetKeyValue = 27,
        SetKeyValueTime = 28,
        SelectElement = 33,
        AddResource = 39,
        CommandDone = 41,
        SelectionChanged = 43,
        TextEditingNotice = 51,
        TextFormatNotice = 53,
        TextCommandNotice = 54,
        SymbolContentId = 63,
        DocumentTitle = 65,
        DocumentDescription = 66,
        DocumentAuthor = 67,
        DocumentKeywords = 77,
        PlayNotice = 74,
        PauseNotice = 75,
        TimeNotice = 76,
        FinishTasksNotice = 82,
        RemoveOverrides = 85,
        LastDocumentType = 103
    };

    KVCommandAction(int nType, IKVCommandTarget *pDocument, int nReservedParams = 0,
                    bool bSkipNextRedo = false);
    // Destroys the parameters (and with them the objects they own).
    virtual ~KVCommandAction();

    // A playback notification for the views, with skip next redo set so that running it changes
    // nothing: 74 (play) and 75 (pause) carry the timeline and its current time, 76 the time and
    // whether it is a seek, 82 (finish pending work) nothing.
    static KVCommandAction *playbackNotice(int nType, IKVCommandTarget *pDocument, KVTimeline *pTimeline,
                                           bool bSeeking = false);

    KVCommandAction(const KVCommandAction &) = delete;
    KVCommandAction &operator=(const KVCommandAction &) = delete;

    virtual void undo();
    virtual void redo();

    int type() const { return m_nType; }
    IKVCommandTarget *document() const { return m_pDocument; }
    bool skipNextRedo() const { return m_bSkipNextRedo; }
    void setSkipNextRedo(bool b) { m_bSkipNextRedo = b; }

    // Takes the parameter over; a null parameter is ignored.
    void addParam(KVCmdParam *pParam);
    const KVCmdParamList &params() const { return m_listParams; }
    // The list itself, handed to the views with each notification (not copied).
    KVCmdParamList *paramList() { return &m_listParams; }
    KVCmdParam *param(int nIndex) const { return m_listParams.value(nIndex); }
    int paramCount() const { return m_listParams.size(); }

    // True when the parameters are exactly of these kinds, in order (0 accepts any kind).
    bool hasKinds(std::initializer_list<int> kinds) const;
    // True when the first parameters are of these kinds; the count must lie in nMin..nMax.
    bool hasLeadingKinds(std::initializer_list<int> kinds, int nMin, int nMax) const;

protected:
    // Applies the change forwards (bForward) or backwards; false when the type or the parameters
    // do not fit (then nothing changed).
    virtual bool apply(bool bForward);

private:
    // 65, 66, 67, 77: an exchange of one text of the project.
    bool applyDocumentText();

    int m_nType = 0;
    IKVCommandTarget *m_pDocument = nullptr;
    bool m_bSkipNextRedo = false;
    KVCmdParamList m_listParams;
};
