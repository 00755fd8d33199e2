#pragma once

#include "document/KVDocument.h"
#include "interaction/IKVActionContext.h"

#include <QList>
#include <QPair>
#include <QPointer>

class KVDocument;
class KVScene;

// Names and first targets for the actions of a document's handlers, taken from its current scene
// and scene list; also the choices the event-action dialog offers as targets.
class KVDocumentActionContext : public IKVActionContext
{
public:
    explicit KVDocumentActionContext(KVDocument *pDocument = nullptr) : m_pDocument(pDocument) {}
    void setDocument(KVDocument *pDocument) { m_pDocument = pDocument; }

    QString timelineName(int nTimelineId) const override;
    QString elementName(int nElementId) const override;
    QString sceneName(int nSceneId) const override;
    QString functionName(int nFunctionId) const override;
    QString documentBaseName() const override;
    int firstSymbolInstanceId() const override;
    int firstMediaElementId() const override;
    int firstVideoElementId() const override;

    using Choices = QList<QPair<QString, int>>;
    // "Main Timeline" first, then the other timelines of the current scene by name.
    Choices timelineChoices() const;
    // The named elements of the current scene (depth first); only the given types when any are given.
    Choices elementChoices(const QList<int> &types = QList<int>()) const;
    // "Next Scene", "Previous Scene", "Last Scene", "First Scene", then the scenes by name.
    Choices sceneChoices() const;
    // The project's functions by name.
    Choices functionChoices() const;

private:
    KVScene *scene() const;
    int firstOfTypes(const QList<int> &types) const;

    QPointer<KVDocument> m_pDocument;
};
