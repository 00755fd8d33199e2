#include "commands/KVInspectorOperation.h"

#include "animation/KVAnimation.h"
#include "animation/KVKeyframe.h"
#include "animation/KVPropertyCatalogue.h"
#include "animation/KVTimeline.h"
#include "commands/KVArrangeOperation.h"
#include "commands/KVCmdParam.h"
#include "commands/KVCommand.h"
#include "commands/KVEditContext.h"
#include "commands/KVElementCommandAction.h"
#include "commands/KVPropertyGroup.h"
#include "commands/KVTimelineOperation.h"
#include "model/KVElement.h"
#include "animation/KVKeyValue.h"

#include <QColor>
#include <QHash>

namespace {

using P = KVCmdParam;

KVCommand *finished(KVCommand *pCommand)
{
    if (pCommand->actions().isEmpty()) {
        delete pCommand;
        return nullptr;
    }
    return pCommand;
}

// Whether an edit of the property on the element becomes a key value: the element animates it on
// the current timeline at the layout, or auto keyframing records every animatable edit.
bool recordsKey(const KVEditContext &c, const KVElement *pElement, int nCode, const KVLayoutKey &layout)
{
    if (nCode < 0 || !c.pTimeline || !KVPropertyCatalogue::isValidCode(nCode))
        return false;
    if (KVTimelineOperation::trackOf(c.pTimeline, pElement, nCode, layout))
        return true;
    return c.bAutoKeyframe && layout == c.pTimeline->currentLayout()
        && KVPropertyCatalogue::isAnimatable(pElement, nCode, layout, layout);
}

// The group codes a property's override flag goes with.
QList<int> overrideCodes(int nCode)
{
    int nGroup = 0, nField = 0;
    if (!KVPropertyGroup::fieldOf(nCode, nGroup, nField))
        return {nCode};
    QList<int> codes;
    for (int n = KVPropertyCatalogue::FirstCode; n <= KVPropertyCatalogue::LastCode; ++n) {
        int nOther = 0;
        if (KVPropertyGroup::fieldOf(n, nOther, nField) && nOther == nGroup)
            codes.append(n);
    }
    if (nGroup == KVPropertyGroup::Border)
        codes.append(45);
    return codes;
}

} // namespace

KVInspectorOperation::KeyState KVInspectorOperation::keyState(const KVEditContext &c, const KVElement *pElement,
                                                              int nCode)
{
    if (!c.pTimeline || !pElement)
        return NoTrack;
    const KVKeyframe *pTrack = KVTimelineOperation::trackOf(c.pTimeline, pElement, nCode, c.pTimeline->currentLayout());
    if (!pTrack)
        return NoTrack;
    return pTrack->keyValueAt(c.nCurrentTime) ? KeyHere : Animated;
}

QVariant KVInspectorOperation::keyValueOf(const QVariant &fieldValue, const QVariant &sample)
{
    switch (sample.userType()) {
    case QMetaType::QColor:
        return fieldValue.userType() == QMetaType::QColor ? fieldValue : QVariant(QColor::fromRgba(QRgb(fieldValue.toInt())));
    case QMetaType::Int:
        return fieldValue.toInt();
    case QMetaType::Double:
        return fieldValue.toDouble();
    default:
        return fieldValue;
    }
}

KVCommand *KVInspectorOperation::setGroupField(const KVEditContext &c, int nGroup, int nField, const QVariant &value,
                                               const QString &strText)
{
    return setGroupFields(c, nGroup, {{nField, value}}, strText);
}

KVCommand *KVInspectorOperation::setGroupFields(const KVEditContext &c, int nGroup, const QMap<int, QVariant> &fields,
                                                const QString &strText)
{
    if (!c.isUsable())
        return nullptr;
    auto *pCommand = new KVCommand(c.pTarget, strText, c.pSender);
    QHash<KVElement *, KVAnimation *> created;
    for (const KVLayoutKey &layout : c.editedLayouts()) {
        for (KVElement *pElement : c.selectedElements()) {
            QVariantList values = KVPropertyGroup::values(pElement, nGroup, layout);
            if (values.isEmpty())
                continue;
            bool bChanged = false;
            for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
                const int nField = it.key();
                if (nField < 0 || nField >= values.size())
                    continue;
                const int nCode = KVPropertyGroup::codeOf(nGroup, nField);
                if (recordsKey(c, pElement, nCode, layout)) {
                    const QVariant before = KVTimelineOperation::currentValue(pElement, nCode, layout);
                    const QVariant keyValue = keyValueOf(it.value(), before);
                    if (KVKeyValue::normalized(before) == KVKeyValue::normalized(keyValue))
                        continue;
                    if (KVTimelineOperation::recordValue(pCommand, c, pElement, layout, nCode, keyValue, before, created))
                        continue;
                }
                if (values.at(nField) == it.value())
                    continue;
                values[nField] = it.value();
                bChanged = true;
            }
            if (!bChanged)
                continue;
            if (KVElementCommandAction *pAction = KVPropertyGroup::action(c.pTarget, pElement, nGroup, layout, values))
                pCommand->addAction(pAction);
        }
    }
    return finished(pCommand);
}

KVCommand *KVInspectorOperation::setGeometry(const KVEditContext &c, int nCode, const QVariant &value,
                                             const QString &strText)
{
    if (!c.isUsable() || !KVElementCommandAction::isGeometryCode(nCode))
        return nullptr;
    auto *pCommand = new KVCommand(c.pTarget, strText, c.pSender);
    QHash<KVElement *, KVAnimation *> created;
    for (const KVLayoutKey &layout : c.editedLayouts()) {
        for (KVElement *pElement : c.selectedElements()) {
            const QVariant before = KVElementCommandAction::geometryValue(pElement, nCode, layout);
            if (!before.isValid())
                continue;
            // An animated property takes a key value, as a value typed into the timeline's row does.
            if (!c.bAutoKeyframe && KVPropertyCatalogue::isValidCode(nCode)
                && KVTimelineOperation::trackOf(c.pTimeline, pElement, nCode, layout)) {
                const QVariant shown = KVTimelineOperation::currentValue(pElement, nCode, layout);
                KVTimelineOperation::recordValue(pCommand, c, pElement, layout, nCode, keyValueOf(value, shown),
                                                 shown, created);
                continue;
            }
            if (KVKeyValue::normalized(before) == KVKeyValue::normalized(keyValueOf(value, before)))
                continue;
            KVArrangeOperation::addGeometry(pCommand, c, pElement, layout, {nCode}, {value});
        }
    }
    return finished(pCommand);
}

KVCommand *KVInspectorOperation::removeKey(const KVEditContext &c, int nCode)
{
    if (!c.isUsable() || !c.pTimeline)
        return nullptr;
    QList<KVTimelineOperation::KeyRef> keys;
    for (KVElement *pElement : c.selectedElements()) {
        KVKeyframe *pTrack = KVTimelineOperation::trackOf(c.pTimeline, pElement, nCode, c.pTimeline->currentLayout());
        if (KVKeyValue *pKey = pTrack ? pTrack->keyValueAt(c.nCurrentTime) : nullptr)
            keys.append({pTrack, pKey});
    }
    return keys.isEmpty() ? nullptr : KVTimelineOperation::removeKeyValues(c, keys);
}

KVCommand *KVInspectorOperation::removeOverride(const KVEditContext &c, int nCode, bool bAllLayouts)
{
    if (!c.isUsable())
        return nullptr;
    const QList<int> codes = overrideCodes(nCode);
    auto *pCommand = new KVCommand(c.pTarget, tr("Remove Property Override"), c.pSender);
    for (KVElement *pElement : c.selectedElements()) {
        const QList<KVLayoutKey> layouts = bAllLayouts ? pElement->properties().keys() : c.editedLayouts();
        for (const KVLayoutKey &layout : layouts) {
            if (layout.isBase() || pElement->isInherited(nCode, layout))
                continue;
            auto *pAction = new KVElementCommandAction(1045, c.pTarget, 7);
            pAction->addParam(P::makeObject(P::Element, pElement));
            pAction->addParam(P::makeInt(layout.nHLayoutId));
            pAction->addParam(P::makeInt(layout.nVLayoutId));
            pAction->addParam(P::makeInt(nCode));
            pAction->addParam(P::makeIntList(codes));
            pAction->addParam(P::makeVariant(QVariant()));
            pCommand->addAction(pAction);
        }
    }
    return finished(pCommand);
}
