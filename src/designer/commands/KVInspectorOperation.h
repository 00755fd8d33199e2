#pragma once

#include "model/KVLayoutKey.h"

#include <QCoreApplication>
#include <QMap>
#include <QVariant>

class KVCommand;
class KVEditContext;
class KVElement;

// The edits of the property inspector, computed here and handed back as one command each (null
// when nothing would change). A field edit changes the selected elements at the layout shown: each
// element that has the field gets the whole group written back with that one value replaced. A
// field that holds an animatable property becomes a key value at the current time instead on an
// element that animates the property there, and on every element while auto keyframing is on,
// through the same recording as the timeline and the stage.
class KVInspectorOperation
{
    Q_DECLARE_TR_FUNCTIONS(KVInspectorOperation)
public:
    // Whether the element animates the property at the current time: 0 not at all, 1 it has a
    // track on the current timeline, 2 the track has a key at the current time.
    enum KeyState { NoTrack = 0, Animated = 1, KeyHere = 2 };
    static KeyState keyState(const KVEditContext &context, const KVElement *pElement, int nCode);

    // One value of a property group (KVPropertyGroup) set on the selected elements.
    static KVCommand *setGroupField(const KVEditContext &context, int nGroup, int nField, const QVariant &value,
                                    const QString &strText);
    // Several values of one group (field index to value) in one command.
    static KVCommand *setGroupFields(const KVEditContext &context, int nGroup, const QMap<int, QVariant> &fields,
                                     const QString &strText);
    // A geometry value (a property code or one of the geometry action's unit and anchor codes),
    // through the stage's own geometry edit.
    static KVCommand *setGeometry(const KVEditContext &context, int nCode, const QVariant &value,
                                  const QString &strText);
    // "Remove Timeline Item": the key values of the property at the current time.
    static KVCommand *removeKey(const KVEditContext &context, int nCode);
    // "Remove Property Override": the property inherits again at the layout shown, or at every
    // responsive layout with bAllLayouts.
    static KVCommand *removeOverride(const KVEditContext &context, int nCode, bool bAllLayouts);

    // A field value in the form a key value of the property stores, given the value the property
    // shows now (colours as colours, the number type of the sample).
    static QVariant keyValueOf(const QVariant &fieldValue, const QVariant &sample);
};
