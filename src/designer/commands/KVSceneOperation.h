#pragma once

#include <QCoreApplication>
#include <QList>

class IKVCommandTarget;
class KVCommand;
class KVScene;
class KVSceneList;
class QObject;

// The operations on the scene list of the container being edited, each computed here and handed
// back as one command (null when there is nothing to do); the caller submits it. A command that
// brings a scene in selects it alone, so the stage shows it; removing scenes selects the scene that
// takes their place. Showing a scene is no undo step: show() runs its selection at once.
class KVSceneOperation
{
    Q_DECLARE_TR_FUNCTIONS(KVSceneOperation)
public:
    // "Blank Scene": a new scene of the stage size right after pAfter (at the end when null).
    static KVCommand *blankScene(IKVCommandTarget *pTarget, KVScene *pAfter, QObject *pSender = nullptr);
    // "Duplicate Scene": a copy of the scene, with its elements and timelines, right after it.
    static KVCommand *duplicateScene(IKVCommandTarget *pTarget, KVScene *pScene, QObject *pSender = nullptr);
    // "Delete Scene": the scenes leave the list; the command owns them until it is destroyed.
    // Null when they are all the scenes there are (a project keeps at least one).
    static KVCommand *removeScenes(IKVCommandTarget *pTarget, const QList<KVScene *> &scenes,
                                   QObject *pSender = nullptr);
    // "Change Scene Index": the scene at nFrom ends up at nTo once moved. Null for the same place
    // or an index outside the list.
    static KVCommand *moveScene(IKVCommandTarget *pTarget, int nFrom, int nTo, QObject *pSender = nullptr);
    // Makes the scene the one the stage edits and the only selected scene, and tells the views;
    // false when it is not in the target's list.
    static bool show(IKVCommandTarget *pTarget, KVScene *pScene);

private:
    // Appends the selection actions that leave exactly pWanted selected in the list.
    static void selectOnly(KVCommand *pCommand, KVSceneList *pList, KVScene *pWanted);
    static KVCommand *insert(IKVCommandTarget *pTarget, KVScene *pScene, int nIndex, const QString &strText,
                             QObject *pSender);
};
