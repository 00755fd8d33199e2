#pragma once

#include <QDebug>
#include <QMetaType>

// One responsive breakpoint: an id, unique within its set across both directions, and a threshold
// in pixels (a container width for a horizontal breakpoint, a height for a vertical one). Id 0 is
// never a breakpoint: it stands for the base in a layout key. The pair (-1, -1) is the "no
// breakpoint" answer of the set's operations.
struct KVBreakpoint
{
    int nId = -1;
    int nValue = -1;

    static constexpr int MinValue = 1;
    static constexpr int MaxValue = 10000;

    constexpr KVBreakpoint() = default;
    constexpr KVBreakpoint(int nBreakpointId, int nBreakpointValue)
        : nId(nBreakpointId), nValue(nBreakpointValue)
    {
    }

    static constexpr KVBreakpoint none() { return KVBreakpoint(-1, -1); }
    constexpr bool isValid() const { return nId > 0; }
    static constexpr bool isValueInRange(int n) { return n >= MinValue && n <= MaxValue; }
};

constexpr bool operator==(const KVBreakpoint &a, const KVBreakpoint &b)
{
    return a.nId == b.nId && a.nValue == b.nValue;
}

constexpr bool operator!=(const KVBreakpoint &a, const KVBreakpoint &b)
{
    return !(a == b);
}

inline QDebug operator<<(QDebug dbg, const KVBreakpoint &bp)
{
    QDebugStateSaver saver(dbg);
    dbg.nospace() << "KVBreakpoint(" << bp.nId << ", " << bp.nValue << ')';
    return dbg;
}

Q_DECLARE_TYPEINFO(KVBreakpoint, Q_PRIMITIVE_TYPE);
Q_DECLARE_METATYPE(KVBreakpoint)
