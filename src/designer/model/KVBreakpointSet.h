#pragma once

#include "model/KVBreakpoint.h"
#include "model/KVLayoutKey.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QObject>
#include <QPair>

// The responsive breakpoints of a project (and of each symbol): horizontal breakpoints (container
// widths) and vertical ones (container heights). A pair of one horizontal and one vertical id names
// a layout; 0 in either place means the base in that direction, and (0, 0) is the base layout.
//
// Both lists are sorted by ascending value and hold no two breakpoints with the same value. Ids come
// from one counter shared by both directions, so an id names at most one breakpoint of the set.
// The set also remembers the layout the editor shows (the current ids) and whether the project
// uses responsive layouts at all.
//
// Project form (under "layoutBreakpoints" in its owner): "responsiveMode", "h" and "v" (arrays of
// [id, value]), "hCurrentId", "vCurrentId", "nextId". Player form: "h" and "v" only.
class KVBreakpointSet : public QObject
{
    Q_OBJECT

public:
    // (low, high) of a layout: see rangeOf().
    using Range = QPair<int, int>;

    explicit KVBreakpointSet(QObject *pParent = nullptr);
    KVBreakpointSet(const KVBreakpointSet &other, QObject *pParent = nullptr);
    ~KVBreakpointSet() override;

    KVBreakpointSet &operator=(const KVBreakpointSet &) = delete;
    // Takes every field of other (the parent stays).
    void copyFrom(const KVBreakpointSet &other);
    bool operator==(const KVBreakpointSet &other) const;
    bool operator!=(const KVBreakpointSet &other) const { return !(*this == other); }
    // Back to a new set: responsive mode off, no breakpoints, the base layout, next id 1.
    void clear();

    bool isResponsiveMode() const { return m_bResponsiveMode; }
    void setResponsiveMode(bool b);

    int currentHId() const { return m_nCurrentHId; }
    int currentVId() const { return m_nCurrentVId; }
    KVLayoutKey currentLayout() const { return KVLayoutKey(m_nCurrentHId, m_nCurrentVId); }
    // Stores the ids as given; the caller picks them from the lists (or 0).
    void setCurrentLayout(const KVLayoutKey &layout);

    int nextId() const { return m_nNextId; }

    const QList<KVBreakpoint> &breakpoints(bool bVertical) const
    {
        return bVertical ? m_listVertical : m_listHorizontal;
    }
    const QList<KVBreakpoint> &hBreakpoints() const { return m_listHorizontal; }
    const QList<KVBreakpoint> &vBreakpoints() const { return m_listVertical; }
    // True when either list is not empty.
    bool hasLayouts() const { return !m_listHorizontal.isEmpty() || !m_listVertical.isEmpty(); }

    // Inserts a breakpoint before the first one with a greater value (appends when none is
    // greater). Its id is nId when that is above 0, otherwise the next id (which then grows; a given
    // id at or above the counter raises it past that id). Returns the new breakpoint, or (-1, -1)
    // when the list already has that value, the value lies outside 1..10000, or the given id is
    // already used in either direction; the set is then unchanged.
    KVBreakpoint addBreakpoint(bool bVertical, int nValue, int nId = 0);
    KVBreakpoint addHBreakpoint(int nValue, int nId = 0) { return addBreakpoint(false, nValue, nId); }
    KVBreakpoint addVBreakpoint(int nValue, int nId = 0) { return addBreakpoint(true, nValue, nId); }
    // Removes the breakpoint with that id and returns it; (-1, -1) when the list has none. The
    // current ids are left alone: the editor switches layouts itself.
    KVBreakpoint removeBreakpoint(bool bVertical, int nId);
    KVBreakpoint removeHBreakpoint(int nId) { return removeBreakpoint(false, nId); }
    KVBreakpoint removeVBreakpoint(int nId) { return removeBreakpoint(true, nId); }
    // Gives the breakpoint with that id a new value, keeping the list sorted; returns the value it
    // had, or -1 (nothing changes) when the list has no such id, the value lies outside 1..10000
    // or another breakpoint of the list already has it.
    int setBreakpointValue(bool bVertical, int nId, int nValue);

    // Whether a new breakpoint of that value may be added; otherwise tells the user why ("must be
    // in the range", "already exists") and returns false.
    bool checkNewBreakpoint(bool bVertical, int nValue) const;

    // The value of the breakpoint with that id; -1 when there is none.
    int valueOf(bool bVertical, int nId) const;
    // (low, high): low is the breakpoint's value (0 for the base id 0); high is the value of the
    // next greater breakpoint, or -1 when there is none. (-1, -1) for an id the list lacks.
    Range rangeOf(bool bVertical, int nId) const;
    // The layout shown for a container size: in each direction the id of the breakpoint with the
    // greatest value not above the size, 0 when every value is above it.
    KVLayoutKey layoutFor(int nWidth, int nHeight) const;
    // The container size the editor switches to when the user selects the layout nId: the current
    // size when it already lies in the layout's range, else a size inside it (see the source).
    // An unknown id keeps the current size.
    int fitSize(bool bVertical, int nId, int nCurrent) const;
    // Every layout key of the set: each horizontal id (0 first, then the list) paired with each
    // vertical id (likewise), in key order. Just the base when there are no breakpoints.
    QList<KVLayoutKey> layouts() const;

    // Project form, for the owner to place under "layoutBreakpoints".
    QJsonObject toJson() const;
    // Reads the project form tolerantly; anything that is not an object gives a new set. Entries
    // that are not [id, value] pairs of numbers, or whose id is below 1, whose value is outside
    // 1..10000, or whose id or value is already taken, are skipped; the rest are kept sorted by
    // value. The next id is raised past the greatest id read; a current id that names no
    // breakpoint reads as 0.
    void fromJson(const QJsonValue &value);
    // The player form: "h" and "v" only.
    QJsonObject toPlayerJson() const;

signals:
    // Any field changed (breakpoints, current layout, responsive mode).
    void changed();

private:
    QList<KVBreakpoint> &list(bool bVertical) { return bVertical ? m_listVertical : m_listHorizontal; }
    int indexOfId(bool bVertical, int nId) const;
    bool hasId(int nId) const;
    bool hasValue(bool bVertical, int nValue) const;
    // Inserts before the first greater value; the caller has checked value and id.
    void insertSorted(bool bVertical, const KVBreakpoint &bp);

    bool m_bResponsiveMode = false;
    int m_nCurrentHId = 0;
    int m_nCurrentVId = 0;
    int m_nNextId = 1;
    QList<KVBreakpoint> m_listHorizontal;
    QList<KVBreakpoint> m_listVertical;
};
