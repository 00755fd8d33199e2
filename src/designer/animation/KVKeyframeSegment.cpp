#include "animation/KVKeyframeSegment.h"

#include "animation/KVAnimation.h"

#include "animation/KVKeyValue.h"
#include "animation/KVPropertyCatalogue.h"
#include "model/KVJsonUtil.h"

#include <QColor>
#include <QMetaEnum>
#include <QMetaProperty>
#include <QPoint>
#include <QPointF>

#include <algorithm>
#include <cmath>

int KVKeyframeSegment::s_nWriteScopes = 0;

KVKeyframeSegment::KVKeyframeSegment(KVKeyValue *pStart, KVKeyValue *pEnd, QObject *pTarget,
                                     const QByteArray &propertyName, QObject *pParent)
    : QPropertyAnimation(pTarget, propertyName, pParent),
      m_bWholeNumbers(propertyName == KVPropertyCatalogue::fieldName(KVPropertyCatalogue::Display)),
      m_pStart(pStart),
      m_pEnd(pEnd)
{
    refresh();
}

void KVKeyframeSegment::setKeys(KVKeyValue *pStart, KVKeyValue *pEnd)
{
    m_pStart = pStart;
    m_pEnd = pEnd;
}

void KVKeyframeSegment::setHasTransition(bool b)
{
    m_bHasTransition = b;
    refresh();
}

void KVKeyframeSegment::setEasingCode(int nCode)
{
    setEasingCurve(curveForCode(nCode));
}

void KVKeyframeSegment::refresh()
{
    if (!m_pStart || !m_pEnd)
        return;
    const int nDuration = std::max(0, m_pEnd->time() - m_pStart->time());
    if (nDuration != duration()) {
        setDuration(nDuration);
        KVAnimation::invalidateGroupDurations(this);
    }
    setStartValue(m_pStart->value());
    setEndValue(m_bHasTransition ? m_pEnd->valueMinus() : m_pStart->value());
}

QVariant KVKeyframeSegment::valueAtFraction(double dFraction) const
{
    if (!m_pStart)
        return QVariant();
    if (!m_bHasTransition || !m_pEnd)
        return m_pStart->value();
    const double dProgress = easingCurve().valueForProgress(std::clamp(dFraction, 0.0, 1.0));
    return wholeIfDisplay(interpolate(m_pStart->value(), m_pEnd->valueMinus(), dProgress));
}

QVariant KVKeyframeSegment::interpolated(const QVariant &from, const QVariant &to, qreal dProgress) const
{
    if (!m_bWholeNumbers)
        return QPropertyAnimation::interpolated(from, to, dProgress);
    return wholeIfDisplay(interpolate(from, to, dProgress));
}

void KVKeyframeSegment::updateCurrentValue(const QVariant &value)
{
    if (state() != QAbstractAnimation::Stopped) {
        QPropertyAnimation::updateCurrentValue(value);
        return;
    }
    QObject *pTarget = targetObject();
    if (!pTarget || s_nWriteScopes == 0)
        return;
    const QMetaObject *pClass = pTarget->metaObject();
    if (pClass != m_pWriteClass) {
        m_pWriteClass = pClass;
        m_nWriteIndex = pClass->indexOfProperty(propertyName().constData());
    }
    if (m_nWriteIndex >= 0)
        pClass->property(m_nWriteIndex).write(pTarget, value);
}

QVariant KVKeyframeSegment::wholeIfDisplay(const QVariant &value) const
{
    if (!m_bWholeNumbers || value.userType() != QMetaType::Double)
        return value;
    return QVariant(std::trunc(value.toDouble()));
}

QJsonObject KVKeyframeSegment::toJson() const
{
    QJsonObject jo;
    jo.insert(QStringLiteral("easing_curve"), easingCode());
    jo.insert(QStringLiteral("has_transition"), m_bHasTransition);
    return jo;
}

void KVKeyframeSegment::fromJson(const QJsonObject &jo)
{
    m_bHasTransition = KVJsonUtil::readBool(jo, QStringLiteral("has_transition"), false);
    setEasingCode(KVJsonUtil::readInt(jo, QStringLiteral("easing_curve"), 0));
    refresh();
}

bool KVKeyframeSegment::isValidCode(int nCode)
{
    // Custom (47) needs a function and cannot be stored as a code.
    return nCode >= QEasingCurve::Linear && nCode <= QEasingCurve::TCBSpline;
}

QEasingCurve KVKeyframeSegment::curveForCode(int nCode)
{
    if (!isValidCode(nCode))
        return QEasingCurve(QEasingCurve::Linear);
    QEasingCurve curve{QEasingCurve::Type(nCode)};
    if (nCode == BezierCode) {
        curve.addCubicBezierSegment(QPointF(0.4, 0.1), QPointF(0.6, 0.9), QPointF(1.0, 1.0));
    } else if (nCode == TcbCode) {
        curve.addTCBSegment(QPointF(0.0, 0.0), 0.0, 0.0, 0.0);
        curve.addTCBSegment(QPointF(0.3, 0.4), 0.2, 1.0, -0.2);
        curve.addTCBSegment(QPointF(0.7, 0.6), -0.2, 1.0, 0.2);
        curve.addTCBSegment(QPointF(1.0, 1.0), 0.0, 0.0, 0.0);
    }
    return curve;
}

QString KVKeyframeSegment::easingName(int nCode)
{
    if (!isValidCode(nCode))
        return QString();
    const QMetaEnum me = QMetaEnum::fromType<QEasingCurve::Type>();
    return QString::fromLatin1(me.valueToKey(nCode));
}

QVariant KVKeyframeSegment::interpolate(const QVariant &from, const QVariant &to, double dProgress)
{
    // The same arithmetic as the animation framework's registered interpolators, so that a value
    // computed here equals the one a playing segment writes.
    if (from.userType() != to.userType())
        return dProgress < 1.0 ? from : to;
    switch (from.userType()) {
    case QMetaType::Double: {
        const double f = from.toDouble();
        return QVariant(f + (to.toDouble() - f) * dProgress);
    }
    case QMetaType::Int: {
        const int f = from.toInt();
        return QVariant(int(f + (to.toInt() - f) * dProgress));
    }
    case QMetaType::QPointF: {
        const QPointF f = from.toPointF();
        return QVariant(f + (to.toPointF() - f) * dProgress);
    }
    case QMetaType::QPoint: {
        const QPoint f = from.toPoint();
        return QVariant(f + (to.toPoint() - f) * dProgress);
    }
    case QMetaType::QColor: {
        const QColor f = from.value<QColor>();
        const QColor t = to.value<QColor>();
        auto channel = [dProgress](int a, int b) { return qBound(0, int(a + (b - a) * dProgress), 255); };
        return QVariant(QColor(channel(f.red(), t.red()), channel(f.green(), t.green()),
                               channel(f.blue(), t.blue()), channel(f.alpha(), t.alpha())));
    }
    default:
        return dProgress < 1.0 ? from : to;
    }
}
