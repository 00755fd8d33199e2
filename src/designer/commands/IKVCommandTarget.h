#pragma once

#include <QList>
#include <QObject>

class KVDocumentSettings;
class KVPreloader;
class KVResource;
class KVScene;
class KVSceneList;
class KVSymbol;
class KVTimeline;
class QUndoStack;

// What commands need from the project they edit: the scenes of the container being edited, the
// undo stack, the selection, playback and the channel on which every executed action is announced
// to the views. The document implements it; tests implement it over a bare scene list.
//
// Every member has a neutral default except the scene list and the announcement channel, so a
// target that has no playback, no symbol editing or no fonts simply leaves those alone.
class IKVCommandTarget
{
public:
    virtual ~IKVCommandTarget() = default;

    // The scenes of the current container (the project itself, or the symbol being edited).
    virtual KVSceneList *commandSceneList() const = 0;
    // Hands a view-update object to every view (the host document's dataChanged signal).
    virtual void emitDataChanged(QObject *pInfo) = 0;

    // The stack that pushed commands go on; null when the target records nothing.
    virtual QUndoStack *commandUndoStack() const { return nullptr; }

    // The scene the editor shows: by default the first selected scene, else the first scene.
    virtual KVScene *commandCurrentScene() const;
    // The scene list that a scene-list owner parameter stands for: the list itself when the owner
    // is one, else the current container's list when the owner is that list's owner; else null.
    virtual KVSceneList *sceneListOf(QObject *pOwner) const;

    // The document's own selection list (the objects the panels and the inspector act on).
    virtual QList<QObject *> selectionList() const { return QList<QObject *>(); }
    virtual void setSelectionList(const QList<QObject *> &list) { Q_UNUSED(list) }

    // Playback of the current timeline of the current scene.
    virtual bool isPlaying() const { return false; }
    virtual void pausePlayback() {}

    // The project's own symbol part (title, description, author, keywords); null when there is none.
    virtual KVSymbol *commandProject() const { return nullptr; }
    // The project's document-level settings (playback, preloader kind, HTML5 output); null when
    // there are none.
    virtual KVDocumentSettings *commandSettings() const { return nullptr; }
    // The custom preloader when it is the document being edited; null otherwise.
    virtual KVPreloader *commandPreloader() const { return nullptr; }
    // The resource of the symbol being edited; null while the project itself is edited.
    virtual KVResource *editedSymbolResource() const { return nullptr; }
    // Opens the symbol of the resource with that id for editing, or the project itself for -1;
    // false (nothing changes) when the target cannot.
    virtual bool setEditedSymbol(int nResourceId) { Q_UNUSED(nResourceId) return false; }
    // The container (the project, or a symbol) whose responsive-layout data is the object (its
    // breakpoint set); by default the project when the object is the project's set, else null.
    virtual KVSymbol *layoutContainer(QObject *pLayoutData) const;
    // The scenes that follow the layouts of the container: the scenes being edited when the
    // container is the one being edited, else the container's own.
    virtual KVSceneList *layoutScenes(KVSymbol *pContainer) const;
    // Reloads the project's fonts into the application's font database (resources came or went).
    virtual void reloadFonts() {}
    // Clears the document's status text (called before a push onto a clean stack).
    virtual void clearStatus() {}
};
