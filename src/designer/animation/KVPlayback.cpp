#include "animation/KVPlayback.h"

#include "animation/KVAnimation.h"

#include "animation/IKVPlaybackContent.h"
#include "interaction/KVEventCatalogue.h"
#include "interaction/KVEventListener.h"
#include "interaction/KVEventListenerList.h"
#include "model/KVElement.h"
#include "model/KVElementType.h"
#include "model/KVJsonUtil.h"

#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QString kTime = QStringLiteral("time");
const QString kSpeed = QStringLiteral("speed");
const QString kDuration = QStringLiteral("duration");

constexpr int kFirstSymbolAction = 20;
constexpr int kFirstMediaAction = 40;

// Nearest integer, halves away from zero, kept inside the int range.
int roundToInt(double d)
{
    if (std::isnan(d))
        return 0;
    const double dLimit = double(std::numeric_limits<int>::max());
    return int(std::round(std::clamp(d, -dLimit, dLimit)));
}

} // namespace

KVPlayback::KVPlayback(KVElement *pElement, QObject *pParent)
    : QVariantAnimation(pParent), m_pElement(pElement), m_pList(new KVEventListenerList(this))
{
    setDuration(0);
}

KVPlayback::~KVPlayback() = default;

const IKVPlaybackContent *KVPlayback::content() const
{
    return dynamic_cast<const IKVPlaybackContent *>(m_pElement);
}

int KVPlayback::contentLength() const
{
    const IKVPlaybackContent *pContent = content();
    return pContent ? std::max(0, pContent->playbackContentLength()) : 0;
}

int KVPlayback::kindForAction(int nAction, int nElementType)
{
    const bool bSymbolAction = nAction >= kFirstSymbolAction && nAction < kFirstSymbolAction + 5;
    const bool bMediaAction = nAction >= kFirstMediaAction && nAction < kFirstMediaAction + 5;
    const bool bSymbol = nElementType == KVElementType::Symbol;
    const bool bMedia = nElementType == KVElementType::Audio || nElementType == KVElementType::Video;
    const bool bUnknown = !bSymbol && !bMedia;
    if (bSymbolAction && (bSymbol || bUnknown))
        return nAction - (kFirstSymbolAction - 1);
    if (bMediaAction && (bMedia || bUnknown))
        return nAction - (kFirstMediaAction - 1);
    return None;
}

int KVPlayback::kindOf(const KVEventListener *pItem) const
{
    if (!pItem)
        return None;
    return kindForAction(pItem->action(), m_pElement ? m_pElement->type() : -1);
}

KVEventListener *KVPlayback::addItem(int nAction, int nActionTime, const QJsonValue &target, int nSpeed)
{
    QJsonObject joData;
    if (!target.isUndefined() && !target.isNull())
        joData.insert(kTime, target);
    if (nSpeed != 0)
        joData.insert(kSpeed, nSpeed);
    auto *pItem = new KVEventListener(KVEventCatalogue::Playback, nAction, joData);
    pItem->setActionTime(nActionTime);
    m_pList->insert(pItem);
    recompute();
    return pItem;
}

bool KVPlayback::takeItem(KVEventListener *pItem)
{
    if (m_pList->remove(pItem) < 0)
        return false;
    recompute();
    return true;
}

int KVPlayback::targetOf(const KVEventListener *pItem) const
{
    const QJsonValue target = pItem->actionData().value(kTime);
    if (target.isDouble())
        return roundToInt(target.toDouble());
    if (target.isString()) {
        const QString strTarget = target.toString();
        const IKVPlaybackContent *pContent = content();
        const int nLabelTime = pContent ? pContent->playbackLabelTime(strTarget) : -1;
        if (nLabelTime >= 0)
            return nLabelTime;
        // A position kept as text by an older editor.
        bool bOk = false;
        const int nTime = strTarget.trimmed().toInt(&bOk);
        return bOk ? nTime : -1;
    }
    return -1;
}

QList<KVPlayback::Step> KVPlayback::walk() const
{
    const int L = contentLength();
    QList<Step> steps;
    int P = 0;       // previous item's time
    int S = 0;       // previous entry's start position
    int Q = 0;       // current position of the content
    int V = 100;     // current speed in percent

    const QList<KVEventListener *> &items = m_pList->handlers();
    for (int n = 0; n < items.size(); ++n) {
        const KVEventListener *pItem = items.at(n);
        const int nKind = kindOf(pItem);
        if (nKind == None)
            continue;

        const int t = std::max(pItem->actionTime(), P);
        // A command that comes while the previous one still runs cuts it short where it is.
        if (!steps.isEmpty() && t < P + steps.last().nDuration) {
            steps.last().nDuration = t - P;
            Q = S + roundToInt(V / 100.0 * (t - P));
            Q = V >= 0 ? std::min(Q, L - 1) : std::max(Q, 1);
        }

        const int nTarget = targetOf(pItem);
        const int nSpeedData = KVJsonUtil::readInt(pItem->actionData(), kSpeed, 0);
        const int v = nSpeedData != 0 ? nSpeedData : V;
        const double dSpeed = v / 100.0;

        Step step;
        step.nItem = n;
        step.nKind = nKind;
        step.nTime = t;
        step.dSpeed = dSpeed;
        int nEnd = 0;
        switch (nKind) {
        case Start:
            step.nStart = v < 0 ? L : 0;
            nEnd = v < 0 ? 0 : L;
            step.nDuration = roundToInt(L / std::abs(dSpeed));
            break;
        case Play:
        case PlayFrom:
            if (nKind == Play) {
                if (v < 0)
                    step.nStart = Q < 1 ? L : Q;
                else
                    step.nStart = Q >= L ? 0 : Q;
                // Playing on from where the content cannot go on restarts it.
                if (step.nStart != Q)
                    step.nKind = Start;
            } else if (nTarget == -1) {
                step.nStart = v < 0 ? L : 0;
            } else {
                step.nStart = nTarget < 0 ? 0 : std::min(nTarget, L);
            }
            nEnd = v < 0 ? 0 : L;
            step.nDuration = roundToInt((nEnd - step.nStart) / dSpeed);
            break;
        case Pause:
            step.nStart = nEnd = Q;
            step.nDuration = 0;
            break;
        case PauseAt:
        default:
            step.nStart = nEnd = std::clamp(nTarget, 0, L);
            step.nDuration = 0;
            break;
        }
        steps.append(step);

        S = step.nStart;
        Q = nEnd;
        P = t;
        if (nKind == Start || nKind == Play || nKind == PlayFrom)
            V = v;
    }
    return steps;
}

void KVPlayback::recompute()
{
    const QList<KVEventListener *> &items = m_pList->handlers();
    QVector<int> durations(items.size(), 0);
    for (const Step &step : walk())
        durations[step.nItem] = step.nDuration;
    for (int n = 0; n < items.size(); ++n) {
        QJsonObject joData = items.at(n)->actionData();
        joData.insert(kDuration, durations.at(n));
        items.at(n)->setActionData(joData);
    }
    updateLength();
}

void KVPlayback::updateLength()
{
    int nLength = 0;
    if (const KVEventListener *pLast = m_pList->at(m_pList->count() - 1)) {
        const qint64 nEnd = qint64(pLast->actionTime())
            + KVJsonUtil::readInt(pLast->actionData(), kDuration, 0);
        nLength = int(std::clamp<qint64>(nEnd, 0, std::numeric_limits<int>::max()));
    }
    if (nLength != duration()) {
        setDuration(nLength);
        KVAnimation::invalidateGroupDurations(this);
    }
}

QJsonArray KVPlayback::toJson() const
{
    return m_pList->toJson();
}

void KVPlayback::fromJson(const QJsonArray &ja)
{
    m_pList->fromJson(ja);
    updateLength();
}

void KVPlayback::toPlayerJson(QJsonArray &entries, int nElementId) const
{
    for (const Step &step : walk()) {
        QJsonArray jaAction{step.nKind, step.nStart};
        if (step.nKind == Start || step.nKind == Play || step.nKind == PlayFrom)
            jaAction.append(step.dSpeed);
        QJsonObject jo;
        jo.insert(QStringLiteral("el"), nElementId);
        jo.insert(QStringLiteral("p"), QStringLiteral("pb"));
        jo.insert(QStringLiteral("t"), step.nTime);
        jo.insert(QStringLiteral("d"), step.nDuration);
        jo.insert(QStringLiteral("a"), jaAction);
        entries.append(jo);
    }
}

void KVPlayback::updateCurrentTime(int nCurrentTime)
{
    // The player runs the items; in the model the playback only gives the timeline its length.
    Q_UNUSED(nCurrentTime)
}
