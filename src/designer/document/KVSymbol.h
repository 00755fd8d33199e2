#pragma once

#include "model/KVScene.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QJsonObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class IKVDocumentContext;
class KVBreakpointSet;
class KVEventListenerList;
class KVFunctionContainer;
class KVResourceManager;

class KVSceneList;

// A symbol: scenes with their responsive breakpoints, event handlers and page metadata. A project
// is its own top-level symbol, which also holds the project's user functions and resources; a
// symbol stored as a resource of a project leaves those two empty and uses the project's.
//
// The symbol owns everything it holds. It is not a QObject so that the document, which is one
// through the host's document base, can derive from it as well.
//
// Symbol data (the project form, without the project-only "resources" and "scripts"): "author",
// "created", "modified", "modifiedBy", "width", "height", "align", "title", "description",
// "keywords", "autofit", "scenes", "events", "layoutBreakpoints".
class KVSymbol
{
    Q_DECLARE_TR_FUNCTIONS(KVSymbol)

public:
    KVSymbol();
    virtual ~KVSymbol();

    KVSymbol(const KVSymbol &) = delete;
    KVSymbol &operator=(const KVSymbol &) = delete;

    // --- Parts (never null) --------------------------------------------------------------------
    KVSceneList *sceneList() const { return m_pSceneList; }
    KVBreakpointSet *breakpoints() const { return m_pBreakpoints; }
    KVFunctionContainer *functions() const { return m_pFunctions; }
    KVResourceManager *resourceManager() const { return m_pResourceManager; }
    KVEventListenerList *eventHandlers() const { return m_pEventHandlers; }

    // Gives every element of every scene a property object for each layout of the breakpoints (a
    // copy of its base one where it lacks one; objects of layouts that no longer exist go), and lets
    // each layout take the base values of what it does not override. Run after reading, after
    // creating and before exporting, so that every layout the page may pick has its geometry.
    void fillLayouts();

    // The scene the editor shows: the one set while it is listed and selected (or nothing is
    // selected), else the first selected scene, else the first scene; null for an empty list.
    KVScene *currentScene() const;
    // False (nothing changes) for a scene that is not in the list; null clears it.
    bool setCurrentScene(KVScene *pScene);

    // --- Metadata ------------------------------------------------------------------------------
    QString author() const { return m_strAuthor; }
    void setAuthor(const QString &str) { m_strAuthor = str; }
    QDateTime created() const { return m_dtCreated; }
    void setCreated(const QDateTime &dt) { m_dtCreated = dt; }
    QDateTime modified() const { return m_dtModified; }
    void setModified(const QDateTime &dt) { m_dtModified = dt; }
    QString modifiedBy() const { return m_strModifiedBy; }
    void setModifiedBy(const QString &str) { m_strModifiedBy = str; }
    // Stage size in pixels; the size new scenes get.
    int width() const { return m_nWidth; }
    void setWidth(int n);
    int height() const { return m_nHeight; }
    void setHeight(int n);
    // Alignment of the stage in its page.
    int align() const { return m_nAlign; }
    void setAlign(int n) { m_nAlign = n; }
    QString title() const { return m_strTitle; }
    void setTitle(const QString &str) { m_strTitle = str; }
    QString description() const { return m_strDescription; }
    void setDescription(const QString &str) { m_strDescription = str; }
    QString keywords() const { return m_strKeywords; }
    void setKeywords(const QString &str) { m_strKeywords = str; }
    bool autofit() const { return m_bAutofit; }
    void setAutofit(bool b) { m_bAutofit = b; }

    // --- Counts --------------------------------------------------------------------------------
    // Elements of every scene's tree, the scenes themselves left out.
    int elementCount() const;
    int timelineCount() const;
    // Animations of every timeline at every layout.
    int animationCount() const;

    // --- Symbol data ---------------------------------------------------------------------------
    // Appends the symbol data to jo. False when a part could not be written (a derived symbol's own
    // part failed, or the object did not keep a value); jo is then incomplete.
    virtual bool writeSymbolData(QJsonObject &jo) const;
    // Replaces the symbol data by that of jo, read tolerantly: missing or mistyped keys take their
    // defaults ("align" 0, "autofit" false, empty strings and invalid times, a stage of 800 x 600). Each object
    // of "scenes" becomes a scene appended in file order; the first scene becomes current when the
    // file named none. False when a scene cannot be read; what was read before stays.
    virtual bool readSymbolData(const QJsonObject &jo, const IKVDocumentContext *pContext = nullptr);
    // Deletes the scenes and handlers and resets the metadata and breakpoints (the functions and
    // resources stay).
    void clearSymbolData();
    // What the last readSymbolData() repaired (scene names used more than once), one message each.
    const QStringList &readRepairs() const { return m_readRepairs; }

protected:
    // A new scene read from its project form, or null when it cannot be read. The scene is not in
    // the list yet.
    virtual KVScene *readScene(const QJsonObject &joScene, const IKVDocumentContext *pContext);

private:
    KVSceneList *m_pSceneList = nullptr;
    KVBreakpointSet *m_pBreakpoints = nullptr;
    KVFunctionContainer *m_pFunctions = nullptr;
    KVResourceManager *m_pResourceManager = nullptr;
    KVEventListenerList *m_pEventHandlers = nullptr;
    QPointer<KVScene> m_pCurrentScene;

    QString m_strAuthor;
    QDateTime m_dtCreated;
    QDateTime m_dtModified;
    QString m_strModifiedBy;
    int m_nWidth = 800;
    int m_nHeight = 600;
    int m_nAlign = 4;
    QString m_strTitle;
    QString m_strDescription;
    QString m_strKeywords;
    bool m_bAutofit = false;
    QStringList m_readRepairs;
};
