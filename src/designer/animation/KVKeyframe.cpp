#include "animation/KVKeyframe.h"
#include <QEvent>

#include "animation/KVAnimation.h"

#include "animation/KVKeyValue.h"
#include "animation/KVTimeline.h"
#include "animation/KVKeyframeSegment.h"
#include "animation/KVPropertyCatalogue.h"
#include "model/KVColorJson.h"
#include "model/KVElement.h"
#include "model/KVJsonUtil.h"

#include <QColor>
#include <QPoint>
#include <QPointF>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

using Cat = KVPropertyCatalogue;

const QString kPx = QStringLiteral("px");
const QString kPercent = QStringLiteral("%");
const QString kColor = QStringLiteral("color");

// "%" properties whose player value is a bare number (the percent figure) rather than a text.
bool isPlainPercent(int nType)
{
    switch (nType) {
    case Cat::ScaleX:
    case Cat::ScaleY:
    case Cat::Opacity:
    case Cat::GradientOriginX:
    case Cat::GradientOriginY:
    case Cat::LineHeight:
    case Cat::Volume:
    case Cat::ScaleZ:
        return true;
    default:
        return false;
    }
}

} // namespace

KVKeyframe::KVKeyframe(int nType, const QString &strUnit, QObject *pTarget, KVElement *pElement,
                       QObject *pParent)
    : QSequentialAnimationGroup(pParent),
      m_nType(nType),
      m_strUnit(strUnit),
      m_pTarget(pTarget),
      m_pElement(pElement),
      m_fieldName(Cat::fieldName(nType))
{
}

KVKeyframe::~KVKeyframe()
{
    deleteKeys();
}

void KVKeyframe::deleteKeys()
{
    // The segments only point at the keys; stop and drop them before the keys go.
    stop();
    clear();
    qDeleteAll(m_listKeys);
    m_listKeys.clear();
    delete m_pLeadStart;
    delete m_pTrailEnd;
    m_pLeadStart = nullptr;
    m_pTrailEnd = nullptr;
}

KVKeyframe *KVKeyframe::create(KVElement *pElement, int nType, const KVLayoutKey &layout, QObject *pParent)
{
    if (!pElement || Cat::fieldName(nType).isEmpty())
        return nullptr;
    QObject *pTarget = Cat::holder(pElement, nType, layout);
    if (!pTarget)
        return nullptr;
    return new KVKeyframe(nType, Cat::unitFor(pElement, nType, layout), pTarget, pElement, pParent);
}

KVKeyValue *KVKeyframe::keyValueAt(int nTime) const
{
    for (KVKeyValue *pKey : m_listKeys) {
        if (pKey->time() == nTime)
            return pKey;
    }
    return nullptr;
}

int KVKeyframe::lastTime() const
{
    return m_listKeys.isEmpty() ? 0 : m_listKeys.last()->time();
}

KVKeyframeSegment *KVKeyframe::leadingSegment() const
{
    return animationCount() > 0 ? static_cast<KVKeyframeSegment *>(animationAt(0)) : nullptr;
}

KVKeyframeSegment *KVKeyframe::trailingSegment() const
{
    const int nCount = animationCount();
    return nCount > 0 ? static_cast<KVKeyframeSegment *>(animationAt(nCount - 1)) : nullptr;
}

QList<KVKeyframeSegment *> KVKeyframe::innerSegments() const
{
    QList<KVKeyframeSegment *> list;
    for (int n = 1; n < animationCount() - 1; ++n)
        list.append(static_cast<KVKeyframeSegment *>(animationAt(n)));
    return list;
}

KVKeyframeSegment *KVKeyframe::innerSegment(int nIndex) const
{
    if (nIndex < 0 || nIndex + 2 >= animationCount())
        return nullptr;
    return static_cast<KVKeyframeSegment *>(animationAt(nIndex + 1));
}

KVKeyframeSegment *KVKeyframe::newSegment(int nEasingCode, bool bHasTransition)
{
    auto *pSegment = new KVKeyframeSegment(nullptr, nullptr, m_pTarget, m_fieldName);
    pSegment->setEasingCode(nEasingCode);
    pSegment->setHasTransition(bHasTransition);
    return pSegment;
}

void KVKeyframe::relink(int nFirst, int nLast)
{
    const int nCount = animationCount();
    if (m_listKeys.isEmpty() || nCount != m_listKeys.size() + 1)
        return;
    const KVKeyValue *pFirst = m_listKeys.first();
    const KVKeyValue *pLast = m_listKeys.last();
    m_pLeadStart->setTime(0);
    m_pLeadStart->setValue(pFirst->valueMinus());
    m_pLeadStart->setValueMinus(pFirst->valueMinus());
    m_pTrailEnd->setTime(pLast->time());
    m_pTrailEnd->setValue(pLast->value());
    m_pTrailEnd->setValueMinus(pLast->value());

    // The leading and trailing segments follow the first and last key whatever changed.
    auto relinkAt = [this, nCount](int n) {
        auto *pSegment = static_cast<KVKeyframeSegment *>(animationAt(n));
        KVKeyValue *pStart = n == 0 ? m_pLeadStart : m_listKeys.at(n - 1);
        KVKeyValue *pEnd = n == nCount - 1 ? m_pTrailEnd : m_listKeys.at(n);
        pSegment->setKeys(pStart, pEnd);
        pSegment->refresh();
    };
    nFirst = std::max(nFirst, 1);
    nLast = std::min(nLast, nCount - 2);
    relinkAt(0);
    for (int n = nFirst; n <= nLast; ++n)
        relinkAt(n);
    if (nCount > 1)
        relinkAt(nCount - 1);
}

void KVKeyframe::relinkAround(const KVKeyValue *pKey)
{
    // The segments that end and start at the key (child indexes i and i + 1 for key i).
    const int nIndex = m_listKeys.indexOf(const_cast<KVKeyValue *>(pKey));
    relink(nIndex, nIndex + 1);
}

void KVKeyframe::reapply()
{
    // A track that rests at a time (its timeline sought, paused or playing) shows its edited value at once.
    const KVTimeline *pTimeline = KVTimeline::of(this);
    if (state() != QAbstractAnimation::Stopped || (pTimeline && pTimeline->showsTime())) {
        KVKeyframeSegment::WriteScope scope;
        setCurrentTime(currentTime());
    }
}

void KVKeyframe::insertSegment(int nIndex, KVKeyframeSegment *pSegment)
{
    // The sequential group only takes a new child after its current one; in front of it, the
    // children from nIndex on are taken out and appended again behind the new segment.
    QAbstractAnimation *pCurrent = currentAnimation();
    if (!pCurrent || indexOfAnimation(pCurrent) < nIndex) {
        insertAnimation(nIndex, pSegment);
        return;
    }
    QList<QAbstractAnimation *> tail;
    while (animationCount() > nIndex)
        tail.prepend(takeAnimation(animationCount() - 1));
    addAnimation(pSegment);
    for (QAbstractAnimation *pAnimation : qAsConst(tail))
        addAnimation(pAnimation);
}

void KVKeyframe::addKeyValue(KVKeyValue *pKey, int nEasingCode, bool bAutoTransition)
{
    // Display switches between states; it never moves through values.
    placeKeyValue(pKey, nullptr, nEasingCode, bAutoTransition && m_nType != Cat::Display);
}

void KVKeyframe::restoreKeyValue(KVKeyValue *pKey, KVKeyframeSegment *pSegment)
{
    placeKeyValue(pKey, pSegment, QEasingCurve::Linear, false);
}

void KVKeyframe::placeKeyValue(KVKeyValue *pKey, KVKeyframeSegment *pSegment, int nEasingCode,
                               bool bUseTransitions)
{
    if (!pKey)
        return;
    // The keys are in time order: the first key not earlier than the new one is found by halving,
    // and a key already in the track can only stand among the keys of its own time.
    const auto it = std::lower_bound(m_listKeys.cbegin(), m_listKeys.cend(), pKey->time(),
                                     [](const KVKeyValue *p, int nTime) { return p->time() < nTime; });
    for (auto itSame = it; itSame != m_listKeys.cend() && (*itSame)->time() == pKey->time(); ++itSame) {
        if (*itSame == pKey)
            return;
    }
    const int nIndex = int(it - m_listKeys.cbegin());

    if (m_listKeys.isEmpty()) {
        // A segment kept from removing the only key is not needed: the new leading and trailing
        // segments hold the values.
        delete pSegment;
        appendSorted({pKey}, nEasingCode, bUseTransitions);
        return;
    }

    if (nIndex < m_listKeys.size()) {
        // Split: the segment that ended at f keeps its place and now ends at the new key; the
        // second half, from the new key to f, is new.
        const KVKeyValue *pNext = m_listKeys.at(nIndex);
        if (!pSegment)
            pSegment = newSegment(nEasingCode, bUseTransitions && pKey->value() != pNext->valueMinus());
        m_listKeys.insert(nIndex, pKey);
        insertSegment(nIndex + 1, pSegment);
    } else {
        const KVKeyValue *pLast = m_listKeys.last();
        if (!pSegment)
            pSegment = newSegment(nEasingCode, bUseTransitions && pKey->valueMinus() != pLast->value());
        const int nTrailing = animationCount() - 1;
        m_listKeys.append(pKey);
        insertSegment(nTrailing, pSegment);
    }
    relink(nIndex, nIndex + 1);
    reapply();
}

void KVKeyframe::appendSorted(const QList<KVKeyValue *> &keys, int nEasingCode, bool bAutoTransition)
{
    // Built in one pass from the back: each segment goes in front of the group's list, which
    // costs nothing, and the group's children end up in the reverse order of its list, the order
    // in which the group deletes them, so a long track also goes in linear time. The segments are
    // the ones adding the keys one by one would make.
    if (keys.isEmpty())
        return;
    const bool bUseTransitions = bAutoTransition && m_nType != Cat::Display;
    m_pLeadStart = new KVKeyValue(0, keys.first()->valueMinus());
    m_pTrailEnd = new KVKeyValue(keys.last()->time(), keys.last()->value());
    m_listKeys = keys;
    insertAnimation(0, newSegment(nEasingCode, false));
    for (int n = keys.size() - 1; n >= 1; --n)
        insertAnimation(0, newSegment(nEasingCode, bUseTransitions && keys.at(n)->valueMinus() != keys.at(n - 1)->value()));
    insertAnimation(0, newSegment(nEasingCode, false));
    relink();
    reapply();
}

KVKeyframeSegment *KVKeyframe::removeKeyValue(KVKeyValue *pKey)
{
    const int nIndex = m_listKeys.indexOf(pKey);
    if (nIndex < 0)
        return nullptr;

    if (m_listKeys.size() == 1) {
        stop();
        clear();
        m_listKeys.clear();
        delete m_pLeadStart;
        delete m_pTrailEnd;
        m_pLeadStart = nullptr;
        m_pTrailEnd = nullptr;
        return nullptr;
    }

    // The last key loses the segment that ended at it (the trailing segment moves back to the
    // previous key); any other key loses the segment that starts at it.
    const bool bLast = nIndex == m_listKeys.size() - 1;
    QAbstractAnimation *pTaken = takeAnimation(bLast ? nIndex : nIndex + 1);
    m_listKeys.removeAt(nIndex);
    relink(nIndex, nIndex);
    reapply();
    return static_cast<KVKeyframeSegment *>(pTaken);
}

void KVKeyframe::setKeyValue(KVKeyValue *pKey, const QVariant &value, const QVariant &valueBefore)
{
    if (!pKey)
        return;
    const bool bHadNoJump = !pKey->jumps();
    pKey->setValue(value);
    if (valueBefore.isValid())
        pKey->setValueMinus(valueBefore);
    else if (bHadNoJump)
        pKey->setValueMinus(value);
    relinkAround(pKey);
    reapply();
}

void KVKeyframe::setKeyValueTime(KVKeyValue *pKey, int nTime)
{
    const int nIndex = m_listKeys.indexOf(pKey);
    if (nIndex < 0)
        return;
    if (nIndex > 0)
        nTime = std::max(nTime, m_listKeys.at(nIndex - 1)->time());
    if (nIndex + 1 < m_listKeys.size())
        nTime = std::min(nTime, m_listKeys.at(nIndex + 1)->time());
    pKey->setTime(nTime);
    relinkAround(pKey);
    reapply();
}

void KVKeyframe::offsetValues(const QVariant &oldValue, const QVariant &newValue)
{
    const QVariant from = KVKeyValue::normalized(oldValue);
    const QVariant to = KVKeyValue::normalized(newValue);
    if (!from.isValid() || from.userType() != to.userType())
        return;
    const int nKind = from.userType();
    const int nType = m_nType;
    const QString strUnit = m_strUnit;
    auto clampNumber = [nType, strUnit](double d) { return Cat::clampStoredValue(nType, d, strUnit); };

    std::function<QVariant(const QVariant &)> shift;
    switch (nKind) {
    case QMetaType::QPoint: {
        const QPoint delta = to.toPoint() - from.toPoint();
        shift = [delta, clampNumber](const QVariant &v) {
            const QPoint pt = v.toPoint() + delta;
            return QVariant(QPoint(int(clampNumber(pt.x())), int(clampNumber(pt.y()))));
        };
        break;
    }
    case QMetaType::QPointF: {
        const QPointF delta = to.toPointF() - from.toPointF();
        shift = [delta, clampNumber](const QVariant &v) {
            const QPointF pt = v.toPointF() + delta;
            return QVariant(QPointF(clampNumber(pt.x()), clampNumber(pt.y())));
        };
        break;
    }
    case QMetaType::QColor: {
        // Colours move by the difference of their packed ARGB numbers, kept inside 32 bits.
        const qint64 nDelta = qint64(to.value<QColor>().rgba()) - qint64(from.value<QColor>().rgba());
        shift = [nDelta](const QVariant &v) {
            const qint64 n = std::clamp<qint64>(qint64(v.value<QColor>().rgba()) + nDelta, 0, 0xFFFFFFFFLL);
            return QVariant(QColor::fromRgba(QRgb(n)));
        };
        break;
    }
    default: {
        const double dDelta = to.toDouble() - from.toDouble();
        shift = [dDelta, clampNumber](const QVariant &v) { return QVariant(clampNumber(v.toDouble() + dDelta)); };
        break;
    }
    }

    for (KVKeyValue *pKey : qAsConst(m_listKeys)) {
        if (pKey->value().userType() == nKind)
            pKey->setValue(shift(pKey->value()));
        if (pKey->valueMinus().userType() == nKind)
            pKey->setValueMinus(shift(pKey->valueMinus()));
    }
    relink();
    reapply();
}

void KVKeyframe::shiftTimes(int nDelta)
{
    for (KVKeyValue *pKey : qAsConst(m_listKeys))
        pKey->setTime(pKey->time() + nDelta);
    relink();
    reapply();
}

void KVKeyframe::convertUnit(const QString &strOldUnit, const QString &strNewUnit, double dReferenceLength)
{
    if (strOldUnit == strNewUnit)
        return;
    std::function<double(double)> convert;
    if (strNewUnit == kPx)
        convert = [dReferenceLength](double d) { return d * dReferenceLength; };
    else if (strNewUnit == kPercent)
        convert = [dReferenceLength](double d) { return dReferenceLength == 0.0 ? 0.0 : d / dReferenceLength; };
    if (convert) {
        for (KVKeyValue *pKey : qAsConst(m_listKeys)) {
            if (pKey->value().userType() == QMetaType::Double)
                pKey->setValue(convert(pKey->value().toDouble()));
            if (pKey->valueMinus().userType() == QMetaType::Double)
                pKey->setValueMinus(convert(pKey->valueMinus().toDouble()));
        }
    }
    m_strUnit = strNewUnit;
    relink();
    reapply();
}

void KVKeyframe::toJson(QJsonObject &jo) const
{
    jo.insert(QStringLiteral("elementId"), m_pElement ? m_pElement->id() : -1);
    jo.insert(QStringLiteral("duration"), totalDuration());
    jo.insert(QStringLiteral("type"), m_nType);
    jo.insert(QStringLiteral("unit"), m_strUnit);
    QJsonArray jaKeys;
    for (const KVKeyValue *pKey : m_listKeys)
        jaKeys.append(pKey->toJson());
    jo.insert(QStringLiteral("keyValues"), jaKeys);
    QJsonArray jaSegments;
    for (const KVKeyframeSegment *pSegment : innerSegments())
        jaSegments.append(pSegment->toJson());
    jo.insert(QStringLiteral("keyframeSegments"), jaSegments);
}

void KVKeyframe::fromJson(const QJsonObject &jo)
{
    deleteKeys();
    m_strUnit = KVJsonUtil::readString(jo, QStringLiteral("unit"));
    const QJsonArray jaKeys = KVJsonUtil::readArray(jo, QStringLiteral("keyValues"));
    QList<KVKeyValue *> keys;
    keys.reserve(jaKeys.size());
    for (const QJsonValue &v : jaKeys) {
        if (v.isObject())
            keys.append(new KVKeyValue(KVKeyValue::fromJson(v.toObject())));
    }
    // Keys of one time keep the order of the file, so saving what was read writes the same file.
    std::stable_sort(keys.begin(), keys.end(),
                     [](const KVKeyValue *a, const KVKeyValue *b) { return a->time() < b->time(); });
    appendSorted(keys, QEasingCurve::InOutQuad, true);
    const QJsonArray jaSegments = KVJsonUtil::readArray(jo, QStringLiteral("keyframeSegments"));
    const QList<KVKeyframeSegment *> segments = innerSegments();
    for (int n = 0; n < segments.size() && n < jaSegments.size(); ++n) {
        if (jaSegments.at(n).isObject())
            segments.at(n)->fromJson(jaSegments.at(n).toObject());
    }
}

QJsonValue KVKeyframe::playerValue(const QVariant &value) const
{
    if (m_strUnit == kColor || value.userType() == QMetaType::QColor)
        return KVColorJson::rgbaArray(value.value<QColor>());
    if (m_nType == Cat::Location || value.userType() == QMetaType::QPointF
        || value.userType() == QMetaType::QPoint) {
        const QPointF pt = value.toPointF();
        return QJsonArray{pt.x(), pt.y()};
    }
    const double d = value.toDouble();
    if (m_strUnit == kPercent) {
        if (isPlainPercent(m_nType))
            return KVJsonUtil::times100(d);
        return KVJsonUtil::shortNumber(KVJsonUtil::times100(d)) + kPercent;
    }
    if (m_nType == Cat::GradientAngle)
        return qRound(d);
    // A property held in a whole-number field shows whole numbers in the editor too; any other keeps
    // its fraction to a hundredth, so that the page shows 33.4deg or 420.4px where the editor does.
    if (Cat::fieldName(m_nType).startsWith("m_n"))
        return QString::number(qRound(d)) + m_strUnit;
    return KVJsonUtil::shortNumber(std::round(d * 100.0) / 100.0, 15) + m_strUnit;
}

QJsonObject KVKeyframe::playerEntry(int nElementId, const KVKeyValue &from, const KVKeyValue &to,
                                    bool bSet) const
{
    QJsonObject jo;
    jo.insert(QStringLiteral("el"), nElementId);
    jo.insert(QStringLiteral("p"), Cat::shortKey(m_nType));
    jo.insert(QStringLiteral("t"), from.time());
    jo.insert(QStringLiteral("d"), bSet ? 0 : to.time() - from.time());
    jo.insert(QStringLiteral("s"), playerValue(bSet ? from.valueMinus() : from.value()));
    jo.insert(QStringLiteral("e"), playerValue(bSet ? to.value() : to.valueMinus()));
    return jo;
}

void KVKeyframe::addPlayerEntryKeys(QJsonObject &joEntry, int nFromIndex, int nToIndex,
                                    bool bCanvasMode) const
{
    Q_UNUSED(joEntry)
    Q_UNUSED(nFromIndex)
    Q_UNUSED(nToIndex)
    Q_UNUSED(bCanvasMode)
}

void KVKeyframe::toPlayerJson(QJsonArray &entries, int nElementId, bool bCanvasMode) const
{
    const QList<KVKeyframeSegment *> segments = innerSegments();
    const int nCount = m_listKeys.size();
    for (int n = 0; n < nCount; ++n) {
        const KVKeyValue *pKey = m_listKeys.at(n);
        const bool bArrives = n > 0 && segments.value(n - 1) && segments.at(n - 1)->hasTransition();
        const bool bLeaves = n + 1 < nCount && segments.value(n) && segments.at(n)->hasTransition();
        if (bArrives) {
            QJsonObject jo = playerEntry(nElementId, *m_listKeys.at(n - 1), *pKey, false);
            addPlayerEntryKeys(jo, n - 1, n, bCanvasMode);
            jo.insert(QStringLiteral("es"), segments.at(n - 1)->easingCode());
            entries.append(jo);
        }
        // A key needs a set entry when nothing moves through it, or when it jumps at one end of a
        // single transition; between two transitions the jump is already in their values.
        if ((!bArrives && !bLeaves) || (bArrives != bLeaves && pKey->jumps())) {
            QJsonObject jo = playerEntry(nElementId, *pKey, *pKey, true);
            addPlayerEntryKeys(jo, n, n, bCanvasMode);
            entries.append(jo);
        }
    }
}

QVariant KVKeyframe::valueAt(int nTime) const
{
    if (m_listKeys.isEmpty())
        return QVariant();
    const KVKeyValue *pFirst = m_listKeys.first();
    if (nTime < pFirst->time())
        return pFirst->valueMinus();
    const int nCount = m_listKeys.size();
    for (int n = 0; n + 1 < nCount; ++n) {
        const KVKeyValue *pFrom = m_listKeys.at(n);
        const KVKeyValue *pTo = m_listKeys.at(n + 1);
        if (nTime >= pFrom->time() && nTime < pTo->time()) {
            const double dFraction = double(nTime - pFrom->time()) / double(pTo->time() - pFrom->time());
            return innerSegment(n)->valueAtFraction(dFraction);
        }
    }
    return m_listKeys.last()->value();
}

int KVKeyframe::duration() const
{
    if (m_nCachedDuration == -2)
        m_nCachedDuration = QSequentialAnimationGroup::duration();
    return m_nCachedDuration;
}

void KVKeyframe::invalidateDuration()
{
    m_nCachedDuration = -2;
    m_vecSegments.clear();
    m_vecSegmentEnds.clear();
}

void KVKeyframe::updateCurrentTime(int nCurrentTime)
{
    if (state() != QAbstractAnimation::Stopped || !KVKeyframeSegment::writing()) {
        QSequentialAnimationGroup::updateCurrentTime(nCurrentTime);
        return;
    }
    if (m_vecSegments.empty()) {
        const int nCount = animationCount();
        m_vecSegments.reserve(size_t(nCount));
        m_vecSegmentEnds.reserve(size_t(nCount));
        int nEnd = 0;
        for (int n = 0; n < nCount; ++n) {
            m_vecSegments.push_back(animationAt(n));
            m_vecSegmentEnds.push_back(nEnd += animationAt(n)->totalDuration());
        }
        if (m_vecSegments.empty())
            return;
    }
    // The segment the time falls in; zero-length segments are passed over, and the time at the
    // very end belongs to the last one, as the framework's walk has it.
    const auto it = std::upper_bound(m_vecSegmentEnds.cbegin(), m_vecSegmentEnds.cend(), nCurrentTime);
    const size_t nIndex = it == m_vecSegmentEnds.cend() ? m_vecSegments.size() - 1
                                                        : size_t(it - m_vecSegmentEnds.cbegin());
    const int nOffset = nIndex == 0 ? 0 : m_vecSegmentEnds[nIndex - 1];
    m_vecSegments[nIndex]->setCurrentTime(nCurrentTime - nOffset);
}

bool KVKeyframe::event(QEvent *pEvent)
{
    const bool bResult = QSequentialAnimationGroup::event(pEvent);
    if (pEvent->type() == QEvent::ChildAdded || pEvent->type() == QEvent::ChildRemoved) {
        invalidateDuration();
        KVAnimation::invalidateGroupDurations(this);
    }
    return bResult;
}
