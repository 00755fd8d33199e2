#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

class IKVCommandTarget;
class KVCommand;
class KVElement;
class QObject;

// The edits of the element tree of a scene that the elements panel makes, each one command (null
// when nothing would change); the caller submits it.
class KVElementTreeOperation
{
    Q_DECLARE_TR_FUNCTIONS(KVElementTreeOperation)
public:
    enum RenameResult { Renamed, Unchanged, Taken };

    // "Change Element Name" ("Change Scene Name" for a scene). An empty or unchanged name gives
    // Unchanged; a name that another scene of the list (for a scene) or another element of the
    // scene's tree has gives Taken. Null unless Renamed.
    static KVCommand *rename(IKVCommandTarget *pTarget, KVElement *pElement, const QString &strName,
                             RenameResult *pResult = nullptr, QObject *pSender = nullptr);
    // "Lock Element" / "Unlock Element" (bLock) or "Show Element" / "Hide Element": the flag of one
    // element set to bOn; null when it has it already.
    static KVCommand *setFlag(IKVCommandTarget *pTarget, KVElement *pElement, bool bLock, bool bOn,
                              QObject *pSender = nullptr);
    // "Move Element": the elements, in the given order, go into pParent so that the first stands at
    // nIndex of its children and the others follow it. Elements that are pParent or hold it, stage
    // roots and elements of another scene are left out; null when none moves or nothing changes.
    static KVCommand *move(IKVCommandTarget *pTarget, const QList<KVElement *> &elements, KVElement *pParent,
                           int nIndex, QObject *pSender = nullptr);
};
