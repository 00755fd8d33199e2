#pragma once

#include <QCoreApplication>
#include <QList>
#include <QPointF>
#include <QUrl>

#include <functional>

class KVCommand;
class KVEditContext;
class KVResource;
class KVResourceManager;
class QMimeData;

// What the stage accepts when something is dropped on it, and what a drop of resources or files
// becomes.
//
// - "kavio-resource" (resources dragged from the resources panel; binary JSON {"ids": [ids]}) is
//   always accepted; the resources become elements at the drop point.
// - "kavio-element" (copied elements) is accepted while a timeline is current; the clipboard
//   pastes them.
// - File URLs are accepted when at least one file has an extension some resource kind imports;
//   the files are imported, images, media and symbols become elements and the other kinds (scripts,
//   style sheets) only resources. Failures are reported once, after the rest is in.
// - Plain text is accepted when the data carries no URLs; it becomes a text element.
class KVDropPolicy
{
    Q_DECLARE_TR_FUNCTIONS(KVDropPolicy)
public:
    enum Kind { Refused = 0, Resources, Elements, Files, PlainText };

    static QString resourceFormat();
    static QString elementFormat();

    // The kind of drop the data makes, Refused when the stage does not take it.
    static Kind kindOf(const QMimeData *pData, bool bHasTimeline);
    static bool accepts(const QMimeData *pData, bool bHasTimeline) { return kindOf(pData, bHasTimeline) != Refused; }
    // Whether a resource kind imports the file (by its extension).
    static bool isImportable(const QUrl &url);

    // The "kavio-resource" payload of resource ids, and its reading (empty for other data).
    static QByteArray resourcePayload(const QList<int> &ids);
    static QList<int> resourceIds(const QMimeData *pData);

    // "Insert Element": the dragged resources as elements from the point. A resource for which
    // containsEdited answers true is refused with "Cannot insert element that contains the
    // current symbol.".
    static KVCommand *dropResources(const KVEditContext &context, KVResourceManager *pManager,
                                    const QList<int> &ids, const QPointF &pt,
                                    const std::function<bool(const KVResource *)> &containsEdited = {});
    // Imports the files and returns "Insert Element" for those that become elements (null when
    // none does). The failures are reported with "Could not import %1 file(s).\nFile format may
    // not be supported.".
    static KVCommand *dropFiles(const KVEditContext &context, KVResourceManager *pManager,
                                const QList<QUrl> &urls, const QPointF &pt,
                                const std::function<bool(const KVResource *)> &containsEdited = {});
};
