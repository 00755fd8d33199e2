#pragma once

#include <QCoreApplication>
#include <QList>

class KVCommand;
class KVElement;
class KVEditContext;

// Selecting and deselecting every element of the stage. These change only the selection and are
// run without an undo step: run() executes the command once and destroys it.
class KVSelectOperation
{
    Q_DECLARE_TR_FUNCTIONS(KVSelectOperation)
public:
    // "Select All": selects every element at the top of the scene and deselects the elements
    // selected inside groups. Null when the scene has no element or all are selected already.
    static KVCommand *selectAll(const KVEditContext &context);
    // "deselect all": deselects every selected element. Null when none is selected.
    static KVCommand *deselectAll(const KVEditContext &context);
    // "Change Selection": exactly the given elements of the scene become selected. Null when they
    // are selected already and nothing else is.
    static KVCommand *select(const KVEditContext &context, const QList<KVElement *> &elements);
    // Executes the command without recording it and destroys it; false for null.
    static bool run(KVCommand *pCommand);
};
