#pragma once

#include <QCoreApplication>
#include <QString>

class KVCommand;
class KVEditContext;
class KVScene;

// Locking and hiding elements of the stage, for every element of the scene or for the selected
// ones. Each operation flips the state: when all concerned elements already are locked (hidden)
// it unlocks (shows) them, else it locks (hides) them, and the command text says which. Only the
// elements whose state changes get an action (1007, "locked" or "visible"); null when none does.
//
// The menu entries read the same rule, so their texts always name what a click would do.
class KVVisibilityOperation
{
    Q_DECLARE_TR_FUNCTIONS(KVVisibilityOperation)
public:
    // "Lock All Elements" / "Unlock All Elements".
    static KVCommand *lockAll(const KVEditContext &context);
    // "Hide All Elements" / "Show All Elements".
    static KVCommand *hideAll(const KVEditContext &context);
    // "Lock Element" / "Unlock Element" for the selected elements (unlock when all are locked).
    static KVCommand *lockSelected(const KVEditContext &context);
    // "Hide Element" / "Show Element" for the selected elements (show when one is hidden).
    static KVCommand *hideSelected(const KVEditContext &context);

    // Whether the entries can be used: a scene with at least one element.
    static bool isAvailable(const KVScene *pScene);
    // "Unlock All" when every element of the scene is locked, else "Lock All".
    static QString lockAllText(const KVScene *pScene);
    // "Show All" when every element of the scene is hidden, else "Hide All".
    static QString hideAllText(const KVScene *pScene);
    // "Show" when a selected element is hidden, else "Hide".
    static QString hideText(const KVEditContext &context);
};
