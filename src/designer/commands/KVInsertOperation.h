#pragma once

#include <QCoreApplication>
#include <QList>
#include <QPointF>
#include <QSize>
#include <QStringList>

#include <functional>

class KVCommand;
class KVEditContext;
class KVElement;
class KVResource;
class KVResourceManager;
class KVScene;

// Inserting new elements into the scene shown: text, HTML widgets and elements that show imported
// resources. Each new element starts with its kind's defaults, gets every layout the scene has and
// shows the scene's current one, and enters the scene in front of the others (type 1, index -1).
// One operation is one command; the caller submits it.
//
// Elements made from resources are placed one after another 50 px further right and down, starting
// at the given point; an image takes the natural size of its picture, a video the size its
// resource has recorded.
class KVInsertOperation
{
    Q_DECLARE_TR_FUNCTIONS(KVInsertOperation)
public:
    // Step between elements inserted together, in pixels.
    static constexpr int Stagger = 50;

    // "Insert Text" at the point; with strHtml the text shows it.
    static KVCommand *insertText(const KVEditContext &context, const QString &strHtml = QString(),
                                 const QPointF &pt = QPointF());
    // "Insert HTML Widget" at (0, 0) with the size, showing the URL or, when given, the resource.
    static KVCommand *insertHtmlWidget(const KVEditContext &context, const QString &strUrl,
                                       KVResource *pResource, KVResourceManager *pManager,
                                       const QSize &size, const QString &strSrcdoc = QString());
    // One element per image, audio, video or symbol resource (others are skipped). The text is
    // "Insert Image", "Insert Audio", "Insert Video" or "Insert Symbol" after the first resource's
    // kind unless strText is given. A symbol for which isRefused answers true is left out and
    // reported once with strRefusal (by default "Cannot insert symbol that is parent of current
    // symbol"). With bImported
    // the resources were just imported (importFiles) and the command records their adding too
    // (type 39), so that undo takes those out of the project that nothing uses any more. Null when
    // there is nothing to do.
    static KVCommand *insertResources(const KVEditContext &context, const QList<KVResource *> &resources,
                                      KVResourceManager *pManager, const QPointF &ptOrigin = QPointF(),
                                      const QString &strText = QString(),
                                      const std::function<bool(const KVResource *)> &isRefused = {},
                                      bool bImported = false, const QString &strRefusal = QString());

    // Imports the files as resources of the kind and adds them to the manager (their files must be
    // in place for natural sizes); the insert command then records the adding. Files that fail are
    // reported once, after the others, with the kind's message ("Could not import some image
    // files." ...). Returns the new resources; empty when the user aborted.
    static QList<KVResource *> importFiles(KVResourceManager *pManager, const QStringList &paths, int nType);

    // A new element showing the resource (image, audio, video or symbol), or null for other kinds.
    static KVElement *elementFor(KVResource *pResource, KVResourceManager *pManager);
    // Gives a new element every layout of the scene and makes the scene's current one its own.
    static void adoptLayouts(KVElement *pElement, const KVScene *pScene);
    // "Insert Image" ... by resource type; empty for other kinds.
    static QString commandText(int nResourceType);
    // "Could not import some image files." ... by resource type.
    static QString failureText(int nResourceType);
};
