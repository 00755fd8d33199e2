#include "KVBreakpointSet.h"

#include "Reporter.h"
#include "model/KVJsonUtil.h"

#include <QJsonArray>

#include <algorithm>
#include <cmath>

using namespace KVJsonUtil;

namespace {

const QString kResponsiveMode = QStringLiteral("responsiveMode");
const QString kHorizontal = QStringLiteral("h");
const QString kVertical = QStringLiteral("v");
const QString kHCurrentId = QStringLiteral("hCurrentId");
const QString kVCurrentId = QStringLiteral("vCurrentId");
const QString kNextId = QStringLiteral("nextId");

QJsonArray pairsToJson(const QList<KVBreakpoint> &list)
{
    QJsonArray ja;
    for (const KVBreakpoint &bp : list)
        ja.append(QJsonArray{bp.nId, bp.nValue});
    return ja;
}

// An int held exactly by a JSON number; false for anything else (strings, fractions, huge values).
bool exactInt(const QJsonValue &value, int &nOut)
{
    if (!value.isDouble())
        return false;
    const double d = value.toDouble();
    if (!std::isfinite(d) || d != std::floor(d) || d < -2147483648.0 || d > 2147483647.0)
        return false;
    nOut = static_cast<int>(d);
    return true;
}

} // namespace

KVBreakpointSet::KVBreakpointSet(QObject *pParent)
    : QObject(pParent)
{
}

KVBreakpointSet::KVBreakpointSet(const KVBreakpointSet &other, QObject *pParent)
    : QObject(pParent)
    , m_bResponsiveMode(other.m_bResponsiveMode)
    , m_nCurrentHId(other.m_nCurrentHId)
    , m_nCurrentVId(other.m_nCurrentVId)
    , m_nNextId(other.m_nNextId)
    , m_listHorizontal(other.m_listHorizontal)
    , m_listVertical(other.m_listVertical)
{
}

KVBreakpointSet::~KVBreakpointSet() = default;

void KVBreakpointSet::copyFrom(const KVBreakpointSet &other)
{
    if (&other == this)
        return;
    m_bResponsiveMode = other.m_bResponsiveMode;
    m_nCurrentHId = other.m_nCurrentHId;
    m_nCurrentVId = other.m_nCurrentVId;
    m_nNextId = other.m_nNextId;
    m_listHorizontal = other.m_listHorizontal;
    m_listVertical = other.m_listVertical;
    emit changed();
}

bool KVBreakpointSet::operator==(const KVBreakpointSet &other) const
{
    return m_bResponsiveMode == other.m_bResponsiveMode && m_nCurrentHId == other.m_nCurrentHId
        && m_nCurrentVId == other.m_nCurrentVId && m_nNextId == other.m_nNextId
        && m_listHorizontal == other.m_listHorizontal && m_listVertical == other.m_listVertical;
}

void KVBreakpointSet::clear()
{
    m_bResponsiveMode = false;
    m_nCurrentHId = 0;
    m_nCurrentVId = 0;
    m_nNextId = 1;
    m_listHorizontal.clear();
    m_listVertical.clear();
    emit changed();
}

void KVBreakpointSet::setResponsiveMode(bool b)
{
    if (b == m_bResponsiveMode)
        return;
    m_bResponsiveMode = b;
    emit changed();
}

void KVBreakpointSet::setCurrentLayout(const KVLayoutKey &layout)
{
    if (layout == currentLayout())
        return;
    m_nCurrentHId = layout.nHLayoutId;
    m_nCurrentVId = layout.nVLayoutId;
    emit changed();
}

int KVBreakpointSet::indexOfId(bool bVertical, int nId) const
{
    const QList<KVBreakpoint> &bps = breakpoints(bVertical);
    for (int i = 0; i < bps.size(); ++i) {
        if (bps.at(i).nId == nId)
            return i;
    }
    return -1;
}

bool KVBreakpointSet::hasId(int nId) const
{
    return indexOfId(false, nId) >= 0 || indexOfId(true, nId) >= 0;
}

bool KVBreakpointSet::hasValue(bool bVertical, int nValue) const
{
    const QList<KVBreakpoint> &bps = breakpoints(bVertical);
    return std::any_of(bps.cbegin(), bps.cend(),
                       [nValue](const KVBreakpoint &bp) { return bp.nValue == nValue; });
}

void KVBreakpointSet::insertSorted(bool bVertical, const KVBreakpoint &bp)
{
    QList<KVBreakpoint> &bps = list(bVertical);
    int nIndex = 0;
    while (nIndex < bps.size() && bps.at(nIndex).nValue <= bp.nValue)
        ++nIndex;
    bps.insert(nIndex, bp);
}

KVBreakpoint KVBreakpointSet::addBreakpoint(bool bVertical, int nValue, int nId)
{
    if (!KVBreakpoint::isValueInRange(nValue) || hasValue(bVertical, nValue))
        return KVBreakpoint::none();
    if (nId > 0 && hasId(nId))
        return KVBreakpoint::none();

    int nNewId = nId;
    if (nNewId > 0) {
        // A breakpoint put back (undo) keeps its id; the counter must never hand it out again.
        if (m_nNextId <= nNewId)
            m_nNextId = nNewId + 1;
    } else {
        nNewId = m_nNextId++;
    }
    const KVBreakpoint bp(nNewId, nValue);
    insertSorted(bVertical, bp);
    emit changed();
    return bp;
}

KVBreakpoint KVBreakpointSet::removeBreakpoint(bool bVertical, int nId)
{
    const int nIndex = indexOfId(bVertical, nId);
    if (nIndex < 0)
        return KVBreakpoint::none();
    const KVBreakpoint bp = list(bVertical).takeAt(nIndex);
    emit changed();
    return bp;
}

int KVBreakpointSet::setBreakpointValue(bool bVertical, int nId, int nValue)
{
    const int nIndex = indexOfId(bVertical, nId);
    if (nIndex < 0 || !KVBreakpoint::isValueInRange(nValue))
        return -1;
    const int nOld = list(bVertical).at(nIndex).nValue;
    if (nOld == nValue)
        return nOld;
    if (hasValue(bVertical, nValue))
        return -1;
    list(bVertical).removeAt(nIndex);
    insertSorted(bVertical, KVBreakpoint(nId, nValue));
    emit changed();
    return nOld;
}

bool KVBreakpointSet::checkNewBreakpoint(bool bVertical, int nValue) const
{
    if (!KVBreakpoint::isValueInRange(nValue)) {
        Reporter::error(tr("The new breakpoint must be in the range (0, 10000]"));
        return false;
    }
    if (hasValue(bVertical, nValue)) {
        Reporter::error(tr("The breakpoint \"%1\" already exists.").arg(nValue));
        return false;
    }
    return true;
}

int KVBreakpointSet::valueOf(bool bVertical, int nId) const
{
    const int nIndex = indexOfId(bVertical, nId);
    return nIndex < 0 ? -1 : breakpoints(bVertical).at(nIndex).nValue;
}

KVBreakpointSet::Range KVBreakpointSet::rangeOf(bool bVertical, int nId) const
{
    const QList<KVBreakpoint> &bps = breakpoints(bVertical);
    int nLow = 0;
    int nNext = 0; // index of the first breakpoint that may lie above the layout
    if (nId != 0) {
        const int nIndex = indexOfId(bVertical, nId);
        if (nIndex < 0)
            return Range(-1, -1);
        nLow = bps.at(nIndex).nValue;
        nNext = nIndex + 1;
    }
    // The lists are sorted and free of equal values, so the next entry is the next greater one.
    const int nHigh = nNext < bps.size() ? bps.at(nNext).nValue : -1;
    return Range(nLow, nHigh);
}

KVLayoutKey KVBreakpointSet::layoutFor(int nWidth, int nHeight) const
{
    auto idFor = [](const QList<KVBreakpoint> &bps, int nSize) {
        for (int i = bps.size() - 1; i >= 0; --i) {
            if (bps.at(i).nValue <= nSize)
                return bps.at(i).nId;
        }
        return 0;
    };
    return KVLayoutKey(idFor(m_listHorizontal, nWidth), idFor(m_listVertical, nHeight));
}

int KVBreakpointSet::fitSize(bool bVertical, int nId, int nCurrent) const
{
    if (nId != 0 && indexOfId(bVertical, nId) < 0)
        return nCurrent;
    const Range range = rangeOf(bVertical, nId);
    const int nLow = range.first;
    const int nHigh = range.second;
    if (nHigh >= 0) {
        if (nCurrent >= nLow && nCurrent < nHigh)
            return nCurrent;
        // Near the top of the range, but never below its middle.
        return std::max(nHigh - 100, (nLow + nHigh) / 2);
    }
    if (nCurrent >= nLow)
        return nCurrent;
    return std::max(nLow + 100, 300);
}

QList<KVLayoutKey> KVBreakpointSet::layouts() const
{
    auto idsOf = [](const QList<KVBreakpoint> &bps) {
        QList<int> ids{0};
        for (const KVBreakpoint &bp : bps)
            ids.append(bp.nId);
        std::sort(ids.begin(), ids.end());
        return ids;
    };
    const QList<int> hIds = idsOf(m_listHorizontal);
    const QList<int> vIds = idsOf(m_listVertical);
    QList<KVLayoutKey> keys;
    keys.reserve(hIds.size() * vIds.size());
    for (int nH : hIds) {
        for (int nV : vIds)
            keys.append(KVLayoutKey(nH, nV));
    }
    return keys;
}

QJsonObject KVBreakpointSet::toJson() const
{
    QJsonObject jo;
    jo.insert(kResponsiveMode, m_bResponsiveMode);
    jo.insert(kHorizontal, pairsToJson(m_listHorizontal));
    jo.insert(kVertical, pairsToJson(m_listVertical));
    jo.insert(kHCurrentId, m_nCurrentHId);
    jo.insert(kVCurrentId, m_nCurrentVId);
    jo.insert(kNextId, m_nNextId);
    return jo;
}

void KVBreakpointSet::fromJson(const QJsonValue &value)
{
    QSignalBlocker blocker(this);
    clear();
    const QJsonObject jo = value.toObject();
    m_bResponsiveMode = readBool(jo, kResponsiveMode, false);
    m_nNextId = readInt(jo, kNextId, 1);

    int nGreatestId = 0;
    for (const bool bVertical : {false, true}) {
        const QJsonArray ja = readArray(jo, bVertical ? kVertical : kHorizontal);
        for (const QJsonValue &entry : ja) {
            const QJsonArray jaPair = entry.toArray();
            if (!entry.isArray() || jaPair.size() != 2)
                continue;
            int nId = 0;
            int nBpValue = 0;
            if (!exactInt(jaPair.at(0), nId) || !exactInt(jaPair.at(1), nBpValue))
                continue;
            if (nId < 1 || !KVBreakpoint::isValueInRange(nBpValue) || hasId(nId)
                || hasValue(bVertical, nBpValue))
                continue;
            insertSorted(bVertical, KVBreakpoint(nId, nBpValue));
            nGreatestId = std::max(nGreatestId, nId);
        }
    }
    if (m_nNextId <= nGreatestId)
        m_nNextId = nGreatestId + 1;
    if (m_nNextId < 1)
        m_nNextId = 1;

    // A layout that names no breakpoint of its direction would show no element: the base instead.
    m_nCurrentHId = readInt(jo, kHCurrentId, 0);
    if (indexOfId(false, m_nCurrentHId) < 0)
        m_nCurrentHId = 0;
    m_nCurrentVId = readInt(jo, kVCurrentId, 0);
    if (indexOfId(true, m_nCurrentVId) < 0)
        m_nCurrentVId = 0;

    blocker.unblock();
    emit changed();
}

QJsonObject KVBreakpointSet::toPlayerJson() const
{
    QJsonObject jo;
    jo.insert(kHorizontal, pairsToJson(m_listHorizontal));
    jo.insert(kVertical, pairsToJson(m_listVertical));
    return jo;
}
