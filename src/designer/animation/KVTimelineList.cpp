#include "animation/KVTimelineList.h"

#include "animation/KVTimeline.h"
#include "model/KVElement.h"
#include "model/KVJsonUtil.h"

#include <QAnimationGroup>
#include <QJsonArray>
#include <QPointer>

#include <algorithm>

namespace {
const QString kTimelines = QStringLiteral("timelines");
const QString kCurrentTimeline = QStringLiteral("current_timeline");
} // namespace

KVTimelineList::KVTimelineList(KVElement *pOwner, QObject *pParent)
    : QObject(pParent), m_pOwner(pOwner)
{
    qRegisterMetaType<KVTimeline *>();
    KVTimeline *pMain = newMainTimeline();
    insert(pMain);
    m_pCurrent = pMain;
}

KVTimelineList::~KVTimelineList()
{
    const QList<KVTimeline *> timelines = m_listTimelines;
    m_listTimelines.clear();
    m_pCurrent = nullptr;
    for (KVTimeline *pTimeline : timelines) {
        forget(pTimeline);
        // A timeline held by an animation group leaves that group as it is deleted.
        delete pTimeline;
    }
}

KVTimeline *KVTimelineList::newMainTimeline() const
{
    auto *pTimeline = new KVTimeline(m_pOwner);
    pTimeline->setName(tr("Timeline"));
    return pTimeline;
}

int KVTimelineList::indexOf(const KVTimeline *pTimeline) const
{
    return m_listTimelines.indexOf(const_cast<KVTimeline *>(pTimeline));
}

KVTimeline *KVTimelineList::findById(int nId) const
{
    for (KVTimeline *pTimeline : m_listTimelines) {
        if (pTimeline->id() == nId)
            return pTimeline;
    }
    return nullptr;
}

void KVTimelineList::admit(KVTimeline *pTimeline)
{
    const int nId = pTimeline->id();
    if (nId < 1 || findById(nId)) {
        pTimeline->setId(m_nNextId++);
    } else if (nId >= m_nNextId) {
        m_nNextId = nId + 1;
    }
    pTimeline->setCurrentLayout(m_pOwner ? m_pOwner->currentLayout() : KVLayoutKey::base());
    // Only the stored pointer is compared once the timeline is being destroyed.
    connect(pTimeline, &QObject::destroyed, this, [this, pTimeline]() {
        m_listTimelines.removeAll(pTimeline);
        if (m_pCurrent == pTimeline) {
            m_pCurrent = m_listTimelines.value(0);
            emit currentTimelineChanged(m_pCurrent);
        }
    });
}

void KVTimelineList::forget(KVTimeline *pTimeline)
{
    disconnect(pTimeline, &QObject::destroyed, this, nullptr);
}

int KVTimelineList::insert(KVTimeline *pTimeline, int nIndex)
{
    if (!pTimeline || m_listTimelines.contains(pTimeline))
        return -1;
    admit(pTimeline);
    if (nIndex < 0 || nIndex > m_listTimelines.size())
        nIndex = m_listTimelines.size();
    m_listTimelines.insert(nIndex, pTimeline);
    return nIndex;
}

int KVTimelineList::remove(KVTimeline *pTimeline)
{
    const int nIndex = indexOf(pTimeline);
    if (nIndex < 0)
        return -1;
    m_listTimelines.removeAt(nIndex);
    forget(pTimeline);
    if (m_pCurrent == pTimeline) {
        m_pCurrent = m_listTimelines.value(0);
        emit currentTimelineChanged(m_pCurrent);
    }
    return nIndex;
}

bool KVTimelineList::moveToFront(KVTimeline *pTimeline)
{
    const int nIndex = indexOf(pTimeline);
    if (nIndex < 0)
        return false;
    m_listTimelines.move(nIndex, 0);
    return true;
}

bool KVTimelineList::setCurrentTimeline(KVTimeline *pTimeline)
{
    if (indexOf(pTimeline) < 0)
        return false;
    if (m_pCurrent != pTimeline) {
        m_pCurrent = pTimeline;
        emit currentTimelineChanged(m_pCurrent);
    }
    return true;
}

void KVTimelineList::toJson(QJsonObject &jo) const
{
    QJsonArray jaTimelines;
    for (const KVTimeline *pTimeline : m_listTimelines) {
        QJsonObject joTimeline;
        pTimeline->toJson(joTimeline);
        jaTimelines.append(joTimeline);
    }
    jo.insert(kTimelines, jaTimelines);
    jo.insert(kCurrentTimeline, m_pCurrent ? m_pCurrent->id() : -1);
}

void KVTimelineList::fromJson(const QJsonObject &jo)
{
    // A symbol instance may be playing the current timeline as a child of its animation.
    QPointer<QAnimationGroup> pHolder = m_pCurrent ? m_pCurrent->group() : nullptr;
    const int nHolderIndex = pHolder ? pHolder->indexOfAnimation(m_pCurrent) : -1;

    const QList<KVTimeline *> oldTimelines = m_listTimelines;
    m_listTimelines.clear();
    m_pCurrent = nullptr;
    m_nNextId = 1;
    for (KVTimeline *pTimeline : oldTimelines) {
        forget(pTimeline);
        delete pTimeline;
    }

    for (const QJsonValue &value : KVJsonUtil::readArray(jo, kTimelines)) {
        if (!value.isObject())
            continue;
        auto *pTimeline = new KVTimeline(m_pOwner);
        pTimeline->fromJson(value.toObject());
        insert(pTimeline);
    }
    // A scene or symbol always has its main timeline.
    if (m_listTimelines.isEmpty())
        insert(newMainTimeline());

    KVTimeline *pCurrent = findById(KVJsonUtil::readInt(jo, kCurrentTimeline, -1));
    m_pCurrent = pCurrent ? pCurrent : m_listTimelines.first();
    m_pCurrent->seek(m_pCurrent->currentTimeMs());
    if (pHolder && nHolderIndex >= 0)
        pHolder->insertAnimation(std::min(nHolderIndex, pHolder->animationCount()), m_pCurrent);
    emit currentTimelineChanged(m_pCurrent);
}
