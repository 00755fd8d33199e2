#pragma once

#include <QCoreApplication>

class KVCommand;
class KVEditContext;

// "Delete": the selected elements of the scene leave it with their animations on every timeline
// and layout of the scene; a group takes its children and their animations along. The command
// owns what it removed, so undo puts back the same objects at the same places.
class KVDeleteOperation
{
    Q_DECLARE_TR_FUNCTIONS(KVDeleteOperation)
public:
    // Null without a selection.
    static KVCommand *removeSelected(const KVEditContext &context);
};
