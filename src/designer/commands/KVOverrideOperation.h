#pragma once

#include <QCoreApplication>

class KVCommand;
class KVEditContext;
class KVElement;
class KVLayoutKey;

// "Remove All Overrides": the selected elements give every property of each edited layout other
// than the base back to inheritance (their values become the base ones) and lose their own
// animations of that layout. Undo brings the overridden values, flags and animations back.
class KVOverrideOperation
{
    Q_DECLARE_TR_FUNCTIONS(KVOverrideOperation)
public:
    // Null when no selected element overrides anything at the edited layouts.
    static KVCommand *removeAllOverrides(const KVEditContext &context);
    // Whether the element holds an override or an animation of its own at the layout.
    static bool hasOverrides(const KVEditContext &context, const KVElement *pElement,
                             const KVLayoutKey &layout);
};
