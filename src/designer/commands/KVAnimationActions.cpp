#include "commands/KVAnimationActions.h"

#include "animation/KVAnimation.h"
#include "animation/KVKeyValue.h"
#include "animation/KVKeyframe.h"
#include "animation/KVKeyframeSegment.h"
#include "animation/KVTimeline.h"
#include "animation/KVTimelineList.h"
#include "commands/KVCommandAction.h"
#include "model/KVScene.h"

#include <QVariantMap>

namespace {

using P = KVCmdParam;

KVTimelineList *timelineListOf(const KVCmdParam *pParam)
{
    QObject *pOwner = pParam->timelineListOwner();
    if (auto *pList = qobject_cast<KVTimelineList *>(pOwner))
        return pList;
    if (auto *pScene = qobject_cast<KVScene *>(pOwner))
        return pScene->timelines();
    return nullptr;
}

// --- Timelines ------------------------------------------------------------------------------------

// Type 9: owner, timeline, index. Type 10: owner, timeline, and the index it was removed from,
// appended by the first removal so that the undo puts it back there.
bool insertTimeline(KVCommandAction &a, int nIndexParam)
{
    KVTimelineList *pList = timelineListOf(a.param(0));
    KVTimeline *pTimeline = a.param(1)->timeline();
    if (!pList || !pTimeline || pList->indexOf(pTimeline) >= 0)
        return false;
    const int nIndex = pList->insert(pTimeline, a.param(nIndexParam)->toInt());
    a.param(nIndexParam)->setValue(nIndex);
    a.param(1)->setOwned(false);
    return true;
}

bool removeTimeline(KVCommandAction &a, int nIndexParam)
{
    KVTimelineList *pList = timelineListOf(a.param(0));
    KVTimeline *pTimeline = a.param(1)->timeline();
    if (!pList || !pTimeline || pList->indexOf(pTimeline) < 0 || pList->count() < 2)
        return false;
    const int nIndex = pList->remove(pTimeline);
    if (a.paramCount() <= nIndexParam)
        a.addParam(P::makeInt(nIndex));
    else
        a.param(nIndexParam)->setValue(nIndex);
    a.param(1)->setOwned(true);
    return true;
}

bool addTimeline(KVCommandAction &a, bool bForward)
{
    if (!a.hasKinds({P::TimelineListOwner, P::Timeline, P::Int}))
        return false;
    return bForward ? insertTimeline(a, 2) : removeTimeline(a, 2);
}

bool dropTimeline(KVCommandAction &a, bool bForward)
{
    if (bForward) {
        if (!a.hasKinds({P::TimelineListOwner, P::Timeline})
            && !a.hasKinds({P::TimelineListOwner, P::Timeline, P::Int})) {
            return false;
        }
        return removeTimeline(a, 2);
    }
    if (!a.hasKinds({P::TimelineListOwner, P::Timeline, P::Int}))
        return false;
    return insertTimeline(a, 2);
}

// Type 11, an exchange: the timeline that was current is written back.
bool currentTimeline(KVCommandAction &a)
{
    if (!a.hasKinds({P::TimelineListOwner, P::Timeline}))
        return false;
    KVTimelineList *pList = timelineListOf(a.param(0));
    KVTimeline *pTimeline = a.param(1)->timeline();
    if (!pList || !pTimeline || pList->indexOf(pTimeline) < 0)
        return false;
    KVTimeline *pOld = pList->currentTimeline();
    pList->setCurrentTimeline(pTimeline);
    a.param(1)->setObject(pOld, false);
    return true;
}

bool renameTimeline(KVCommandAction &a)
{
    if (!a.hasKinds({P::Timeline, P::String}))
        return false;
    KVTimeline *pTimeline = a.param(0)->timeline();
    if (!pTimeline)
        return false;
    const QString strOld = pTimeline->name();
    pTimeline->setName(a.param(1)->toString());
    a.param(1)->setValue(strOld);
    return true;
}

// --- Labels ---------------------------------------------------------------------------------------

bool insertLabel(KVCommandAction &a, bool bForward)
{
    if (!a.hasKinds({P::Timeline, P::String, P::Int}))
        return false;
    KVTimeline *pTimeline = a.param(0)->timeline();
    if (!pTimeline)
        return false;
    const QString strName = a.param(1)->toString();
    if (bForward) {
        if (pTimeline->labels().contains(strName))
            return false;
        pTimeline->addLabel(strName, a.param(2)->toInt());
        return true;
    }
    return pTimeline->removeLabel(strName);
}

// Type 14: timeline, label; the first removal appends the label's time for the undo.
bool removeLabel(KVCommandAction &a, bool bForward)
{
    if (!a.hasKinds({P::Timeline, P::String}) && !a.hasKinds({P::Timeline, P::String, P::Int}))
        return false;
    KVTimeline *pTimeline = a.param(0)->timeline();
    if (!pTimeline)
        return false;
    const QString strName = a.param(1)->toString();
    if (bForward) {
        if (!pTimeline->labels().contains(strName))
            return false;
        const int nTime = pTimeline->labels().value(strName);
        pTimeline->removeLabel(strName);
        if (a.paramCount() == 2)
            a.addParam(P::makeInt(nTime));
        else
            a.param(2)->setValue(nTime);
        return true;
    }
    if (a.paramCount() != 3 || pTimeline->labels().contains(strName))
        return false;
    pTimeline->addLabel(strName, a.param(2)->toInt());
    return true;
}

bool renameLabel(KVCommandAction &a, bool bForward)
{
    if (!a.hasKinds({P::Timeline, P::String, P::String}))
        return false;
    KVTimeline *pTimeline = a.param(0)->timeline();
    if (!pTimeline)
        return false;
    const QString strFrom = a.param(bForward ? 1 : 2)->toString();
    const QString strTo = a.param(bForward ? 2 : 1)->toString();
    if (!pTimeline->labels().contains(strFrom) || pTimeline->labels().contains(strTo))
        return false;
    const int nTime = pTimeline->labels().value(strFrom);
    pTimeline->removeLabel(strFrom);
    pTimeline->addLabel(strTo, nTime);
    return true;
}

// Type 16, an exchange: the label's former time is written back.
bool moveLabel(KVCommandAction &a)
{
    if (!a.hasKinds({P::Timeline, P::String, P::Int}))
        return false;
    KVTimeline *pTimeline = a.param(0)->timeline();
    const QString strName = a.param(1)->toString();
    if (!pTimeline || !pTimeline->labels().contains(strName))
        return false;
    const int nOld = pTimeline->labels().value(strName);
    pTimeline->setLabelTime(strName, a.param(2)->toInt());
    a.param(2)->setValue(nOld);
    return true;
}

// --- Element animations ---------------------------------------------------------------------------

// The layout of the timeline that holds the animation, or false.
bool heldAt(const KVTimeline *pTimeline, const KVAnimation *pAnimation, KVLayoutKey &layout)
{
    const auto &map = pTimeline->layoutAnimations();
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        if (it.value().contains(const_cast<KVAnimation *>(pAnimation))) {
            layout = it.key();
            return true;
        }
    }
    return false;
}

// The values that the properties of the animation's tracks hold now, by property code.
QVariantMap trackValues(const KVAnimation *pAnimation)
{
    QVariantMap map;
    for (const KVKeyframe *pTrack : pAnimation->keyframes()) {
        if (QObject *pTarget = pTrack->target())
            map.insert(QString::number(pTrack->type()), pTarget->property(pTrack->fieldName().constData()));
    }
    return map;
}

// Parameters of 17 and 18: animation, timeline, then (written by the first execution) the layout
// that holds the animation as two ints and the property values from before the last adding. Adding
// records those values; removing puts them back, so that taking out an animation that a command
// added leaves the element as it was.
void storeLayout(KVCommandAction &a, const KVLayoutKey &layout)
{
    if (a.paramCount() == 2) {
        a.addParam(P::makeInt(layout.nHLayoutId));
        a.addParam(P::makeInt(layout.nVLayoutId));
    } else {
        a.param(2)->setValue(layout.nHLayoutId);
        a.param(3)->setValue(layout.nVLayoutId);
    }
}

bool addAnimation(KVCommandAction &a)
{
    KVAnimation *pAnimation = a.param(0)->animation();
    KVTimeline *pTimeline = a.param(1)->timeline();
    KVLayoutKey layout;
    if (!pAnimation || !pTimeline || heldAt(pTimeline, pAnimation, layout))
        return false;
    layout = pTimeline->currentLayout();
    if (a.paramCount() >= 4)
        layout = KVLayoutKey(a.param(2)->toInt(), a.param(3)->toInt());
    const QVariantMap values = trackValues(pAnimation);
    if (!pTimeline->addAnimation(pAnimation, layout))
        return false;
    storeLayout(a, layout);
    if (a.paramCount() == 4)
        a.addParam(P::makeValue(P::ValueList, values));
    else
        a.param(4)->setValue(values);
    a.param(0)->setOwned(false);
    return true;
}

bool removeAnimation(KVCommandAction &a)
{
    KVAnimation *pAnimation = a.param(0)->animation();
    KVTimeline *pTimeline = a.param(1)->timeline();
    KVLayoutKey layout;
    if (!pAnimation || !pTimeline || !heldAt(pTimeline, pAnimation, layout))
        return false;
    pTimeline->removeAnimation(pAnimation, layout);
    storeLayout(a, layout);
    if (a.paramCount() == 5) {
        const QVariantMap values = a.param(4)->value().toMap();
        for (const KVKeyframe *pTrack : pAnimation->keyframes()) {
            const QString strCode = QString::number(pTrack->type());
            if (pTrack->target() && values.contains(strCode))
                pTrack->target()->setProperty(pTrack->fieldName().constData(), values.value(strCode));
        }
    }
    a.param(0)->setOwned(true);
    return true;
}

bool animationAction(KVCommandAction &a, bool bAdd)
{
    if (!a.hasKinds({P::Animation, P::Timeline}) && !a.hasKinds({P::Animation, P::Timeline, P::Int, P::Int})
        && !a.hasKinds({P::Animation, P::Timeline, P::Int, P::Int, P::ValueList})) {
        return false;
    }
    return bAdd ? addAnimation(a) : removeAnimation(a);
}

// --- Property tracks ------------------------------------------------------------------------------

// The element's animation on the timeline at the timeline's layout.
KVAnimation *animationFor(const KVCommandAction &a)
{
    KVElement *pElement = a.param(1)->element();
    KVTimeline *pTimeline = a.param(2)->timeline();
    if (!pElement || !pTimeline)
        return nullptr;
    return pTimeline->findAnimation(pElement, pTimeline->currentLayout());
}

bool insertTrack(KVCommandAction &a)
{
    KVKeyframe *pTrack = a.param(0)->keyframe();
    KVAnimation *pAnimation = animationFor(a);
    if (!pTrack || !pAnimation || !pAnimation->addKeyframe(pTrack))
        return false;
    a.param(0)->setOwned(false);
    return true;
}

bool takeTrack(KVCommandAction &a)
{
    KVKeyframe *pTrack = a.param(0)->keyframe();
    KVAnimation *pAnimation = animationFor(a);
    if (!pTrack || !pAnimation || !pAnimation->removeKeyframe(pTrack))
        return false;
    a.param(0)->setOwned(true);
    return true;
}

// Type 19: the list parameter records the property's value from before the adding, which the
// undo puts back.
bool addTrack(KVCommandAction &a, bool bForward)
{
    if (!a.hasKinds({P::Keyframe, P::Element, P::Timeline, P::ValueList}))
        return false;
    KVKeyframe *pTrack = a.param(0)->keyframe();
    QObject *pTarget = pTrack ? pTrack->target() : nullptr;
    if (!pTarget)
        return false;
    const QByteArray field = pTrack->fieldName();
    if (bForward) {
        const QVariant before = pTarget->property(field.constData());
        if (!insertTrack(a))
            return false;
        a.param(3)->setValue(before);
        return true;
    }
    if (!takeTrack(a))
        return false;
    if (a.param(3)->value().isValid())
        pTarget->setProperty(field.constData(), a.param(3)->value());
    return true;
}

// Type 20: as 19 plus the property's static value. The removal sets the property to that value and
// writes the value it had back; adding the track again first restores that value.
bool removeTrack(KVCommandAction &a, bool bForward)
{
    if (!a.hasKinds({P::Keyframe, P::Element, P::Timeline, P::ValueList, P::Variant}))
        return false;
    KVKeyframe *pTrack = a.param(0)->keyframe();
    QObject *pTarget = pTrack ? pTrack->target() : nullptr;
    if (!pTarget)
        return false;
    const QByteArray field = pTrack->fieldName();
    if (bForward) {
        if (!takeTrack(a))
            return false;
        const QVariant old = pTarget->property(field.constData());
        pTarget->setProperty(field.constData(), a.param(4)->value());
        a.param(4)->setValue(old);
        return true;
    }
    const QVariant staticValue = pTarget->property(field.constData());
    pTarget->setProperty(field.constData(), a.param(4)->value());
    if (!insertTrack(a)) {
        pTarget->setProperty(field.constData(), staticValue);
        return false;
    }
    a.param(4)->setValue(staticValue);
    return true;
}

// Type 21, an exchange: the negated delta is written back.
bool shiftTrack(KVCommandAction &a)
{
    if (!a.hasKinds({P::Keyframe, P::Int}))
        return false;
    KVKeyframe *pTrack = a.param(0)->keyframe();
    if (!pTrack)
        return false;
    const int nDelta = a.param(1)->toInt();
    pTrack->shiftTimes(nDelta);
    a.param(1)->setValue(-nDelta);
    return true;
}

// The inner segment that starts at the key value, or null.
KVKeyframeSegment *segmentFrom(const KVKeyframe *pTrack, const KVKeyValue *pKey)
{
    const int nIndex = pTrack->keyValues().indexOf(const_cast<KVKeyValue *>(pKey));
    return nIndex < 0 ? nullptr : pTrack->innerSegment(nIndex);
}

// Types 22 and 23, exchanges of the easing code and the transition flag of a segment.
bool segmentSetting(KVCommandAction &a, bool bEasing)
{
    if (!a.hasKinds({P::Keyframe, P::KeyValue, bEasing ? P::Int : P::Bool}))
        return false;
    KVKeyframe *pTrack = a.param(0)->keyframe();
    KVKeyValue *pKey = a.param(1)->keyValue();
    KVKeyframeSegment *pSegment = pTrack && pKey ? segmentFrom(pTrack, pKey) : nullptr;
    if (!pSegment)
        return false;
    if (bEasing) {
        const int nOld = pSegment->easingCode();
        pSegment->setEasingCode(a.param(2)->toInt());
        a.param(2)->setValue(nOld);
    } else {
        const bool bOld = pSegment->hasTransition();
        pSegment->setHasTransition(a.param(2)->toBool());
        a.param(2)->setValue(bOld);
    }
    return true;
}

// Type 25: track, key value, easing code, automatic transition.
bool addKeyValue(KVCommandAction &a, bool bForward)
{
    if (!a.hasKinds({P::Keyframe, P::KeyValue, P::Int, P::Bool}))
        return false;
    KVKeyframe *pTrack = a.param(0)->keyframe();
    KVKeyValue *pKey = a.param(1)->keyValue();
    if (!pTrack || !pKey)
        return false;
    const bool bInTrack = pTrack->keyValues().contains(pKey);
    if (bForward) {
        if (bInTrack || pTrack->keyValueAt(pKey->time()))
            return false;
        pTrack->addKeyValue(pKey, a.param(2)->toInt(), a.param(3)->toBool());
        a.param(1)->setOwned(false);
        return true;
    }
    if (!bInTrack)
        return false;
    // The segment the key brought along goes with it.
    delete pTrack->removeKeyValue(pKey);
    a.param(1)->setOwned(true);
    return true;
}

// Type 26: track, key value. The first removal appends the easing code and the transition flag of
// the segment that went with the key (3 and true when there was none) and the segment itself, so
// that the undo puts back exactly what was there.
bool removeKeyValue(KVCommandAction &a, bool bForward)
{
    const bool bShort = a.hasKinds({P::Keyframe, P::KeyValue});
    const bool bLong = a.hasKinds({P::Keyframe, P::KeyValue, P::Int, P::Bool, P::OwnedObject});
    if (!bShort && !bLong)
        return false;
    KVKeyframe *pTrack = a.param(0)->keyframe();
    KVKeyValue *pKey = a.param(1)->keyValue();
    if (!pTrack || !pKey)
        return false;
    const bool bInTrack = pTrack->keyValues().contains(pKey);
    if (bForward) {
        if (!bInTrack)
            return false;
        KVKeyframeSegment *pSegment = pTrack->removeKeyValue(pKey);
        const int nEasing = pSegment ? pSegment->easingCode() : 3;
        const bool bTransition = pSegment ? pSegment->hasTransition() : true;
        if (bShort) {
            a.addParam(P::makeInt(nEasing));
            a.addParam(P::makeBool(bTransition));
            a.addParam(P::makeObject(P::OwnedObject, pSegment, true));
        } else {
            a.param(2)->setValue(nEasing);
            a.param(3)->setValue(bTransition);
            a.param(4)->setObject(pSegment, true);
        }
        a.param(1)->setOwned(true);
        return true;
    }
    if (bInTrack || !bLong)
        return false;
    auto *pSegment = qobject_cast<KVKeyframeSegment *>(a.param(4)->object());
    if (pSegment) {
        pTrack->restoreKeyValue(pKey, pSegment);
        a.param(4)->setObject(pSegment, false);
    } else {
        pTrack->addKeyValue(pKey, a.param(2)->toInt(), a.param(3)->toBool());
    }
    a.param(1)->setOwned(false);
    return true;
}

// Type 27, an exchange of the value (and, with a fourth parameter, the value before).
bool setKeyValue(KVCommandAction &a)
{
    const bool bJump = a.hasKinds({P::Keyframe, P::KeyValue, P::Variant, P::Variant});
    if (!bJump && !a.hasKinds({P::Keyframe, P::KeyValue, P::Variant}))
        return false;
    KVKeyframe *pTrack = a.param(0)->keyframe();
    KVKeyValue *pKey = a.param(1)->keyValue();
    if (!pTrack || !pKey || !pTrack->keyValues().contains(pKey))
        return false;
    const QVariant oldValue = pKey->value();
    const QVariant oldBefore = pKey->valueMinus();
    const bool bHadJump = pKey->jumps();
    if (bJump) {
        pTrack->setKeyValue(pKey, a.param(2)->value(), a.param(3)->value());
        a.param(3)->setValue(oldBefore);
    } else {
        // Without a value before, a key that jumped keeps its jump; restoring it needs none.
        pTrack->setKeyValue(pKey, a.param(2)->value(), bHadJump ? oldBefore : QVariant());
    }
    a.param(2)->setValue(oldValue);
    return true;
}

// Type 28, an exchange of the key's time.
bool setKeyValueTime(KVCommandAction &a)
{
    if (!a.hasKinds({P::Keyframe, P::KeyValue, P::Int}))
        return false;
    KVKeyframe *pTrack = a.param(0)->keyframe();
    KVKeyValue *pKey = a.param(1)->keyValue();
    if (!pTrack || !pKey || !pTrack->keyValues().contains(pKey))
        return false;
    const int nOld = pKey->time();
    pTrack->setKeyValueTime(pKey, a.param(2)->toInt());
    a.param(2)->setValue(nOld);
    return true;
}

} // namespace

bool KVAnimationActions::apply(KVCommandAction &a, bool bForward)
{
    switch (a.type()) {
    case KVCommandAction::AddTimeline:
        return addTimeline(a, bForward);
    case KVCommandAction::RemoveTimeline:
        return dropTimeline(a, bForward);
    case KVCommandAction::CurrentTimeline:
        return currentTimeline(a);
    case KVCommandAction::RenameTimeline:
        return renameTimeline(a);
    case KVCommandAction::InsertLabel:
        return insertLabel(a, bForward);
    case KVCommandAction::RemoveLabel:
        return removeLabel(a, bForward);
    case KVCommandAction::RenameLabel:
        return renameLabel(a, bForward);
    case KVCommandAction::MoveLabel:
        return moveLabel(a);
    case KVCommandAction::AddAnimation:
        return animationAction(a, bForward);
    case KVCommandAction::RemoveAnimation:
        return animationAction(a, !bForward);
    case KVCommandAction::AddTrack:
        return addTrack(a, bForward);
    case KVCommandAction::RemoveTrack:
        return removeTrack(a, bForward);
    case KVCommandAction::ShiftTrack:
        return shiftTrack(a);
    case KVCommandAction::SetEasing:
        return segmentSetting(a, true);
    case KVCommandAction::SetTransition:
        return segmentSetting(a, false);
    case KVCommandAction::AddKeyValue:
        return addKeyValue(a, bForward);
    case KVCommandAction::RemoveKeyValue:
        return removeKeyValue(a, bForward);
    case KVCommandAction::SetKeyValue:
        return setKeyValue(a);
    case KVCommandAction::SetKeyValueTime:
        return setKeyValueTime(a);
    default:
        return false;
    }
}
