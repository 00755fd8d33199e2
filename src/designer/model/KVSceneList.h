#pragma once

#include "model/KVLayoutKey.h"

#include <QList>
#include <QObject>
#include <QSize>
#include <QString>

class KVScene;

// The scenes of a document or of a symbol, in play order. The list owns its scenes, numbers them
// from its own counter (scene ids are a number space of their own, unique within the list), keeps
// their names unique, and keeps the selected scenes in the order they were selected.
//
// The owner (the document or the symbol) tells the list its current responsive layout; a scene
// that enters the list is switched to it.
class KVSceneList : public QObject
{
    Q_OBJECT

public:
    // pOwner is the document or symbol that keeps the list (not owned; may be null).
    explicit KVSceneList(QObject *pOwner = nullptr, QObject *pParent = nullptr);
    // Deletes the scenes.
    ~KVSceneList() override;

    KVSceneList(const KVSceneList &) = delete;
    KVSceneList &operator=(const KVSceneList &) = delete;

    QObject *owner() const { return m_pOwner; }

    // --- Scenes ----------------------------------------------------------------------------------
    const QList<KVScene *> &scenes() const { return m_listScenes; }
    int count() const { return m_listScenes.size(); }
    KVScene *at(int nIndex) const { return m_listScenes.value(nIndex); }
    int indexOf(const KVScene *pScene) const;
    // The scene with that id, or null.
    KVScene *findScene(int nId) const;
    // The first scene with that name, or null.
    KVScene *findSceneByName(const QString &strName) const;

    // A new initialised scene of the stage size, not in the list yet.
    KVScene *createScene() const;
    // Takes the scene over. An id below 1, or one that another scene of the list carries, is
    // replaced by the next scene id; a kept id raises the counter past it. The scene gets the
    // current layout and the back pointer, a selected scene joins the selected scenes, then the
    // scene goes in at nIndex (appended for an index outside 0..count) and its names are made
    // unique. Returns the index used; -1 (nothing taken) for null or a scene already in the list.
    int addScene(KVScene *pScene, int nIndex = -1);
    // Takes the scene out (and out of the selected scenes) without deleting it: the caller owns it
    // again. Its former index, or -1 when it is not in the list.
    int removeScene(KVScene *pScene);
    // Moves the scene at nFrom so that it ends up before the scene that stood at nTo (at the end
    // for nTo == count). False, with nothing changed, when an index is below 0 or above the count,
    // or nFrom names no scene.
    bool moveScene(int nFrom, int nTo);

    // True when a scene of the list other than pExcept has the name.
    bool isSceneNameTaken(const QString &strName, const KVScene *pExcept = nullptr) const;
    // The name the scene gets in this list: its own when free, else "<name>_<n>" with the lowest
    // free n from 1; an unnamed scene gets the first free "Scene_<n>".
    QString uniqueSceneName(const KVScene *pScene) const;

    // --- Selection -------------------------------------------------------------------------------
    // Not owned; in the order of selection.
    const QList<KVScene *> &selectedScenes() const { return m_listSelected; }
    // Sets the scene's selected flag and keeps the selected scenes in step; false when the scene is
    // not in the list.
    bool setSceneSelected(KVScene *pScene, bool bSelected);
    void clearSelection();

    // --- Numbering and sizes ---------------------------------------------------------------------
    int nextSceneId() const { return m_nNextSceneId; }
    void setNextSceneId(int n) { m_nNextSceneId = n; }
    // The next scene id becomes 1 + the largest scene id (1 for an empty list).
    void recountSceneIds();
    // The size new scenes get.
    QSize stageSize() const { return m_stageSize; }
    void setStageSize(const QSize &size) { m_stageSize = size; }

    KVLayoutKey currentLayout() const { return m_currentLayout; }
    // Switches every scene (and its timelines) to the layout.
    void setCurrentLayout(const KVLayoutKey &layout);

    // --- Whole sequence --------------------------------------------------------------------------
    // The sum over the scenes of the main timeline's duration plus the transition duration of the
    // scenes that have a transition.
    int totalDuration() const;
    // The time from the start of the sequence at which the first main timeline that has the label
    // reaches it (transitions count before their scene); -1 when no scene has the label.
    int labelTime(const QString &strName) const;

private:
    QList<KVScene *> m_listScenes;
    QList<KVScene *> m_listSelected;
    QSize m_stageSize{800, 600};
    int m_nNextSceneId = 1;
    QObject *m_pOwner = nullptr;
    KVLayoutKey m_currentLayout;
};
