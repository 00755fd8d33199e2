#pragma once

#include <QDebug>
#include <QHash>
#include <QMetaType>

// The key of a responsive layout: a horizontal and a vertical breakpoint id. (0, 0) is the base
// layout that every element has; 0 in one place means the base in that direction. The pair
// (-1, -1) passed to a per-layout accessor stands for the element's current layout.
// Keys order first by the horizontal id, then by the vertical id (both signed).
struct KVLayoutKey
{
    int nHLayoutId = 0;
    int nVLayoutId = 0;

    constexpr KVLayoutKey() = default;
    constexpr KVLayoutKey(int nH, int nV) : nHLayoutId(nH), nVLayoutId(nV) {}

    static constexpr KVLayoutKey base() { return KVLayoutKey(0, 0); }
    static constexpr KVLayoutKey current() { return KVLayoutKey(-1, -1); }

    constexpr bool isBase() const { return nHLayoutId == 0 && nVLayoutId == 0; }
    constexpr bool isCurrent() const { return nHLayoutId == -1 && nVLayoutId == -1; }
};

constexpr bool operator==(const KVLayoutKey &a, const KVLayoutKey &b)
{
    return a.nHLayoutId == b.nHLayoutId && a.nVLayoutId == b.nVLayoutId;
}

constexpr bool operator!=(const KVLayoutKey &a, const KVLayoutKey &b)
{
    return !(a == b);
}

constexpr bool operator<(const KVLayoutKey &a, const KVLayoutKey &b)
{
    return a.nHLayoutId < b.nHLayoutId
        || (a.nHLayoutId == b.nHLayoutId && a.nVLayoutId < b.nVLayoutId);
}

constexpr bool operator>(const KVLayoutKey &a, const KVLayoutKey &b) { return b < a; }
constexpr bool operator<=(const KVLayoutKey &a, const KVLayoutKey &b) { return !(b < a); }
constexpr bool operator>=(const KVLayoutKey &a, const KVLayoutKey &b) { return !(a < b); }

inline uint qHash(const KVLayoutKey &key, uint seed = 0) noexcept
{
    return qHash(qMakePair(key.nHLayoutId, key.nVLayoutId), seed);
}

inline QDebug operator<<(QDebug dbg, const KVLayoutKey &key)
{
    QDebugStateSaver saver(dbg);
    dbg.nospace() << "KVLayoutKey(" << key.nHLayoutId << ", " << key.nVLayoutId << ')';
    return dbg;
}

Q_DECLARE_TYPEINFO(KVLayoutKey, Q_PRIMITIVE_TYPE);
Q_DECLARE_METATYPE(KVLayoutKey)
