#include "commands/KVTimelineOperation.h"

#include "animation/KVAnimation.h"
#include "animation/KVKeyValue.h"
#include "animation/KVKeyframe.h"
#include "animation/KVKeyframeSegment.h"
#include "animation/KVPropertyCatalogue.h"
#include "animation/KVTimeline.h"
#include "animation/KVTimelineList.h"
#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"
#include "commands/KVEditContext.h"
#include "model/KVElement.h"
#include "model/KVScene.h"

#include <QSet>

#include <algorithm>

namespace {

using P = KVCmdParam;

// The action that makes a timeline the main one (kept with the other timeline actions).
constexpr int kMainTimelineType = 79;

KVCommand *finished(KVCommand *pCommand)
{
    if (pCommand->actions().isEmpty()) {
        delete pCommand;
        return nullptr;
    }
    return pCommand;
}

KVCommand *newCommand(const KVEditContext &c, const QString &strText)
{
    return new KVCommand(c.pTarget, strText, c.pSender);
}

void addKeyAction(KVCommand *pCommand, const KVEditContext &c, KVKeyframe *pTrack, int nTime,
                  const QVariant &value)
{
    auto *pAction = new KVCommandAction(KVCommandAction::AddKeyValue, c.pTarget, 4);
    pAction->addParam(P::makeObject(P::Keyframe, pTrack));
    pAction->addParam(P::makeKeyValue(new KVKeyValue(nTime, value), true));
    pAction->addParam(P::makeInt(c.pTimeline ? c.pTimeline->defaultEasing().type() : 0));
    pAction->addParam(P::makeBool(true));
    pCommand->addAction(pAction);
}

KVCommandAction *keyAction(int nType, const KVEditContext &c, KVKeyframe *pTrack, KVKeyValue *pKey, int nReserve)
{
    auto *pAction = new KVCommandAction(nType, c.pTarget, nReserve);
    pAction->addParam(P::makeObject(P::Keyframe, pTrack));
    pAction->addParam(P::makeKeyValue(pKey));
    return pAction;
}

// Only inner segments (a key with a key after it) carry easing and transitions.
bool startsSegment(const KVTimelineOperation::KeyRef &ref)
{
    if (!ref.pTrack || !ref.pKey)
        return false;
    const int nIndex = ref.pTrack->keyValues().indexOf(ref.pKey);
    return nIndex >= 0 && nIndex + 1 < ref.pTrack->keyValues().size();
}

KVTimelineList *timelinesOf(const KVEditContext &c)
{
    return c.pScene ? c.pScene->timelines() : nullptr;
}

} // namespace

QVariant KVTimelineOperation::currentValue(const KVElement *pElement, int nCode, const KVLayoutKey &layout)
{
    QObject *pHolder = KVPropertyCatalogue::holder(pElement, nCode, layout);
    const QByteArray field = KVPropertyCatalogue::fieldName(nCode);
    if (!pHolder || field.isEmpty())
        return QVariant();
    return pHolder->property(field.constData());
}

KVKeyframe *KVTimelineOperation::trackOf(const KVTimeline *pTimeline, const KVElement *pElement, int nCode,
                                         const KVLayoutKey &layout)
{
    const KVAnimation *pAnimation = pTimeline ? pTimeline->findAnimation(pElement, layout) : nullptr;
    return pAnimation ? pAnimation->keyframe(nCode) : nullptr;
}

bool KVTimelineOperation::recordValue(KVCommand *pCommand, const KVEditContext &c, KVElement *pElement,
                                      const KVLayoutKey &layout, int nCode, const QVariant &value,
                                      const QVariant &valueBefore, QHash<KVElement *, KVAnimation *> &created)
{
    if (!c.pTimeline || !pElement)
        return false;
    if (KVKeyframe *pTrack = trackOf(c.pTimeline, pElement, nCode, layout)) {
        if (KVKeyValue *pKey = pTrack->keyValueAt(c.nCurrentTime)) {
            KVCommandAction *pAction = keyAction(KVCommandAction::SetKeyValue, c, pTrack, pKey, 3);
            pAction->addParam(P::makeVariant(value));
            pCommand->addAction(pAction);
        } else {
            addKeyAction(pCommand, c, pTrack, c.nCurrentTime, value);
        }
        return true;
    }
    if (layout != c.pTimeline->currentLayout() || !KVTimeline::isAnimatable(pElement, nCode, layout, layout))
        return false;
    KVKeyframe *pTrack = KVKeyframe::create(pElement, nCode, layout);
    if (!pTrack)
        return false;
    if (!c.pTimeline->findAnimation(pElement, layout) && !created.contains(pElement)) {
        auto *pAnimation = new KVAnimation(pElement);
        created.insert(pElement, pAnimation);
        auto *pAction = new KVCommandAction(KVCommandAction::AddAnimation, c.pTarget, 4);
        pAction->addParam(P::makeObject(P::Animation, pAnimation, true));
        pAction->addParam(P::makeObject(P::Timeline, c.pTimeline));
        pAction->addParam(P::makeInt(layout.nHLayoutId));
        pAction->addParam(P::makeInt(layout.nVLayoutId));
        pCommand->addAction(pAction);
    }
    auto *pAction = new KVCommandAction(KVCommandAction::AddTrack, c.pTarget, 4);
    pAction->addParam(P::makeObject(P::Keyframe, pTrack, true));
    pAction->addParam(P::makeObject(P::Element, pElement));
    pAction->addParam(P::makeObject(P::Timeline, c.pTimeline));
    pAction->addParam(P::makeValue(P::ValueList, QVariant()));
    pCommand->addAction(pAction);
    if (c.nCurrentTime > 0 && valueBefore.isValid())
        addKeyAction(pCommand, c, pTrack, 0, valueBefore);
    addKeyAction(pCommand, c, pTrack, c.nCurrentTime, value);
    return true;
}

KVCommand *KVTimelineOperation::addKeyframe(const KVEditContext &c, int nCode)
{
    if (!c.isUsable() || !c.pTimeline || !KVPropertyCatalogue::isValidCode(nCode))
        return nullptr;
    const KVLayoutKey layout = c.pTimeline->currentLayout();
    KVCommand *pCommand = newCommand(c, tr("Add Keyframe: %1").arg(KVPropertyCatalogue::displayName(nCode)));
    QHash<KVElement *, KVAnimation *> created;
    for (KVElement *pElement : c.selectedElements()) {
        KVKeyframe *pTrack = trackOf(c.pTimeline, pElement, nCode, layout);
        if (pTrack && pTrack->keyValueAt(c.nCurrentTime))
            continue;
        const QVariant value = pTrack ? pTrack->valueAt(c.nCurrentTime) : currentValue(pElement, nCode, layout);
        if (!value.isValid())
            continue;
        // A new track starts with this one key: the property keeps its value before and after it.
        recordValue(pCommand, c, pElement, layout, nCode, value, QVariant(), created);
    }
    return finished(pCommand);
}

KVCommand *KVTimelineOperation::setPropertyValue(const KVEditContext &c, KVElement *pElement, int nCode,
                                                 const QVariant &value)
{
    if (!c.isUsable() || !c.pTimeline || !pElement || !value.isValid())
        return nullptr;
    const KVLayoutKey layout = c.pTimeline->currentLayout();
    const QVariant before = currentValue(pElement, nCode, layout);
    if (KVKeyValue::normalized(before) == KVKeyValue::normalized(value))
        return nullptr;
    KVCommand *pCommand = newCommand(c, tr("Add Keyframe: %1").arg(KVPropertyCatalogue::displayName(nCode)));
    QHash<KVElement *, KVAnimation *> created;
    recordValue(pCommand, c, pElement, layout, nCode, value, before, created);
    return finished(pCommand);
}

KVCommand *KVTimelineOperation::moveKeyValues(const KVEditContext &c, const QList<KeyMove> &moves)
{
    QHash<KVKeyframe *, QList<KeyMove>> byTrack;
    QSet<KVKeyValue *> moving;
    for (const KeyMove &m : moves) {
        if (!m.pTrack || !m.pKey || !m.pTrack->keyValues().contains(m.pKey) || m.nTime < 0
            || m.nTime == m.pKey->time() || moving.contains(m.pKey)) {
            continue;
        }
        byTrack[m.pTrack].append(m);
        moving.insert(m.pKey);
    }
    KVCommand *pCommand = newCommand(c, tr("Move Timeline Items"));
    for (auto it = byTrack.begin(); it != byTrack.end(); ++it) {
        const QList<KeyMove> &list = it.value();
        // The new times must keep the track's order and leave no two keys at one time.
        QMap<int, KVKeyValue *> after;
        for (KVKeyValue *pKey : it.key()->keyValues()) {
            if (!moving.contains(pKey))
                after.insert(pKey->time(), pKey);
        }
        for (const KeyMove &m : qAsConst(list)) {
            if (after.contains(m.nTime)) {
                delete pCommand;
                return nullptr;
            }
            after.insert(m.nTime, m.pKey);
        }
        if (after.values() != it.key()->keyValues()) {
            delete pCommand;
            return nullptr;
        }
        // Moving later: the last key first; moving earlier: the first key first.
        QList<KeyMove> later, earlier;
        for (const KeyMove &m : qAsConst(list))
            (m.nTime > m.pKey->time() ? later : earlier).append(m);
        std::sort(later.begin(), later.end(),
                  [](const KeyMove &a, const KeyMove &b) { return a.pKey->time() > b.pKey->time(); });
        std::sort(earlier.begin(), earlier.end(),
                  [](const KeyMove &a, const KeyMove &b) { return a.pKey->time() < b.pKey->time(); });
        for (const QList<KeyMove> *pGroup : {&later, &earlier}) {
            for (const KeyMove &m : *pGroup) {
                KVCommandAction *pAction = keyAction(KVCommandAction::SetKeyValueTime, c, m.pTrack, m.pKey, 3);
                pAction->addParam(P::makeInt(m.nTime));
                pCommand->addAction(pAction);
            }
        }
    }
    return finished(pCommand);
}

KVCommand *KVTimelineOperation::removeKeyValues(const KVEditContext &c, const QList<KeyRef> &keys)
{
    QHash<KVKeyframe *, QList<KVKeyValue *>> byTrack;
    for (const KeyRef &ref : keys) {
        if (ref.pTrack && ref.pKey && ref.pTrack->keyValues().contains(ref.pKey)
            && !byTrack.value(ref.pTrack).contains(ref.pKey)) {
            byTrack[ref.pTrack].append(ref.pKey);
        }
    }
    KVCommand *pCommand = newCommand(c, tr("Remove Timeline Item"));
    for (auto it = byTrack.cbegin(); it != byTrack.cend(); ++it) {
        KVKeyframe *pTrack = it.key();
        if (it.value().size() == pTrack->keyValues().size()) {
            auto *pAction = new KVCommandAction(KVCommandAction::RemoveTrack, c.pTarget, 5);
            pAction->addParam(P::makeObject(P::Keyframe, pTrack));
            pAction->addParam(P::makeObject(P::Element, pTrack->element()));
            pAction->addParam(P::makeObject(P::Timeline, c.pTimeline));
            pAction->addParam(P::makeValue(P::ValueList, QVariant()));
            pAction->addParam(P::makeVariant(pTrack->valueAt(c.nCurrentTime)));
            pCommand->addAction(pAction);
            continue;
        }
        for (KVKeyValue *pKey : it.value())
            pCommand->addAction(keyAction(KVCommandAction::RemoveKeyValue, c, pTrack, pKey, 5));
    }
    return finished(pCommand);
}

KVCommand *KVTimelineOperation::changeEasing(const KVEditContext &c, const QList<KeyRef> &segments, int nCode)
{
    if (!KVKeyframeSegment::isValidCode(nCode))
        return nullptr;
    KVCommand *pCommand = newCommand(c, tr("Change Easing Curve"));
    for (const KeyRef &ref : segments) {
        if (!startsSegment(ref))
            continue;
        const int nIndex = ref.pTrack->keyValues().indexOf(ref.pKey);
        if (ref.pTrack->innerSegment(nIndex)->easingCode() == nCode)
            continue;
        KVCommandAction *pAction = keyAction(KVCommandAction::SetEasing, c, ref.pTrack, ref.pKey, 3);
        pAction->addParam(P::makeInt(nCode));
        pCommand->addAction(pAction);
    }
    return finished(pCommand);
}

KVCommand *KVTimelineOperation::setTransition(const KVEditContext &c, const QList<KeyRef> &segments, bool bOn)
{
    KVCommand *pCommand = newCommand(c, bOn ? tr("Create Transition") : tr("Remove Transition"));
    for (const KeyRef &ref : segments) {
        if (!startsSegment(ref))
            continue;
        const int nIndex = ref.pTrack->keyValues().indexOf(ref.pKey);
        if (ref.pTrack->innerSegment(nIndex)->hasTransition() == bOn)
            continue;
        KVCommandAction *pAction = keyAction(KVCommandAction::SetTransition, c, ref.pTrack, ref.pKey, 3);
        pAction->addParam(P::makeBool(bOn));
        pCommand->addAction(pAction);
    }
    return finished(pCommand);
}

KVCommand *KVTimelineOperation::invertSegments(const KVEditContext &c, const QList<KeyRef> &segments)
{
    KVCommand *pCommand = newCommand(c, tr("Invert Animation Segment"));
    for (const KeyRef &ref : segments) {
        if (!startsSegment(ref))
            continue;
        KVKeyValue *pEnd = ref.pTrack->keyValues().at(ref.pTrack->keyValues().indexOf(ref.pKey) + 1);
        const QVariant from = ref.pKey->value();
        const QVariant to = pEnd->valueMinus();
        if (from == to)
            continue;
        KVCommandAction *pStart = keyAction(KVCommandAction::SetKeyValue, c, ref.pTrack, ref.pKey, 4);
        pStart->addParam(P::makeVariant(to));
        pStart->addParam(P::makeVariant(ref.pKey->valueMinus()));
        pCommand->addAction(pStart);
        KVCommandAction *pEndAction = keyAction(KVCommandAction::SetKeyValue, c, ref.pTrack, pEnd, 4);
        pEndAction->addParam(P::makeVariant(pEnd->value() == to ? from : pEnd->value()));
        pEndAction->addParam(P::makeVariant(from));
        pCommand->addAction(pEndAction);
    }
    return finished(pCommand);
}

QString KVTimelineOperation::proposedTimelineName(const KVTimelineList *pList)
{
    QSet<QString> names;
    if (pList) {
        for (const KVTimeline *pTimeline : pList->timelines())
            names.insert(pTimeline->name());
    }
    const QString strBase = QStringLiteral("Timeline");
    if (!names.contains(strBase))
        return strBase;
    for (int n = 1;; ++n) {
        const QString strName = QStringLiteral("Timeline_%1").arg(n);
        if (!names.contains(strName))
            return strName;
    }
}

KVCommand *KVTimelineOperation::newTimeline(const KVEditContext &c, const QString &strName)
{
    KVTimelineList *pList = timelinesOf(c);
    if (!pList || strName.trimmed().isEmpty())
        return nullptr;
    KVCommand *pCommand = newCommand(c, tr("New Timeline"));
    auto *pTimeline = new KVTimeline(pList->owner());
    pTimeline->setName(strName.trimmed());
    if (c.pTimeline)
        pTimeline->setCurrentLayout(c.pTimeline->currentLayout());
    auto *pAdd = new KVCommandAction(KVCommandAction::AddTimeline, c.pTarget, 3);
    pAdd->addParam(P::makeObject(P::TimelineListOwner, c.pScene));
    pAdd->addParam(P::makeObject(P::Timeline, pTimeline, true));
    pAdd->addParam(P::makeInt(-1));
    pCommand->addAction(pAdd);
    auto *pSelect = new KVCommandAction(KVCommandAction::CurrentTimeline, c.pTarget, 2);
    pSelect->addParam(P::makeObject(P::TimelineListOwner, c.pScene));
    pSelect->addParam(P::makeObject(P::Timeline, pTimeline));
    pCommand->addAction(pSelect);
    return pCommand;
}

KVCommand *KVTimelineOperation::removeTimeline(const KVEditContext &c, KVTimeline *pTimeline, QString *pError)
{
    KVTimelineList *pList = timelinesOf(c);
    if (!pList || pList->indexOf(pTimeline) < 0)
        return nullptr;
    if (pList->count() < 2) {
        if (pError)
            *pError = tr("Cannot delete the only timeline of the scene.");
        return nullptr;
    }
    KVCommand *pCommand = newCommand(c, tr("Remove Timeline"));
    auto *pAction = new KVCommandAction(KVCommandAction::RemoveTimeline, c.pTarget, 2);
    pAction->addParam(P::makeObject(P::TimelineListOwner, c.pScene));
    pAction->addParam(P::makeObject(P::Timeline, pTimeline));
    pCommand->addAction(pAction);
    return pCommand;
}

KVCommand *KVTimelineOperation::renameTimeline(const KVEditContext &c, KVTimeline *pTimeline,
                                               const QString &strName, QString *pError)
{
    KVTimelineList *pList = timelinesOf(c);
    if (!pList || pList->indexOf(pTimeline) < 0)
        return nullptr;
    const QString strNew = strName.trimmed();
    QString strError;
    if (strNew.isEmpty())
        strError = tr("Timeline name cannot be empty!");
    for (const KVTimeline *pOther : pList->timelines()) {
        if (strError.isEmpty() && pOther != pTimeline && pOther->name() == strNew)
            strError = tr("Timeline name already exists.\nPlease enter another name.");
    }
    if (!strError.isEmpty()) {
        if (pError)
            *pError = strError;
        return nullptr;
    }
    if (strNew == pTimeline->name())
        return nullptr;
    KVCommand *pCommand = newCommand(c, tr("Change Timeline Name"));
    auto *pAction = new KVCommandAction(KVCommandAction::RenameTimeline, c.pTarget, 2);
    pAction->addParam(P::makeObject(P::Timeline, pTimeline));
    pAction->addParam(P::makeString(strNew));
    pCommand->addAction(pAction);
    return pCommand;
}

KVCommand *KVTimelineOperation::setMainTimeline(const KVEditContext &c, KVTimeline *pTimeline)
{
    KVTimelineList *pList = timelinesOf(c);
    if (!pList || pList->indexOf(pTimeline) <= 0)
        return nullptr;
    KVCommand *pCommand = newCommand(c, tr("Change Main Timeline"));
    auto *pAction = new KVCommandAction(kMainTimelineType, c.pTarget, 3);
    pAction->addParam(P::makeObject(P::TimelineListOwner, c.pScene));
    pAction->addParam(P::makeObject(P::Timeline, pTimeline));
    pCommand->addAction(pAction);
    return pCommand;
}

KVCommand *KVTimelineOperation::selectTimeline(const KVEditContext &c, KVTimeline *pTimeline)
{
    KVTimelineList *pList = timelinesOf(c);
    if (!pList || pList->indexOf(pTimeline) < 0 || pList->currentTimeline() == pTimeline)
        return nullptr;
    KVCommand *pCommand = newCommand(c, tr("Change Timeline Selection"));
    auto *pAction = new KVCommandAction(KVCommandAction::CurrentTimeline, c.pTarget, 2);
    pAction->addParam(P::makeObject(P::TimelineListOwner, c.pScene));
    pAction->addParam(P::makeObject(P::Timeline, pTimeline));
    pCommand->addAction(pAction);
    return pCommand;
}
