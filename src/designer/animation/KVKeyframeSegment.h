#pragma once

#include <QEasingCurve>
#include <QJsonObject>
#include <QPropertyAnimation>
#include <QString>
#include <QVariant>

class KVKeyValue;

// The piece of a keyframe track between two key values. It animates the track's property on the
// track's target object: with a transition it moves from the start key's value to the end key's
// value before along its easing curve; without one it holds the start key's value for its whole
// length. The key values belong to the track; the segment only points at them.
//
// Easing codes are the type numbers of QEasingCurve. Codes 45 (Bezier spline) and 46 (TCB spline)
// carry one fixed shape each; every other valid code is the plain curve of that type.
class KVKeyframeSegment : public QPropertyAnimation
{
    Q_OBJECT

public:
    static constexpr int BezierCode = QEasingCurve::BezierSpline;  // 45
    static constexpr int TcbCode = QEasingCurve::TCBSpline;        // 46
    // The easing picker offers every code from Linear up to this one (TCBSpline): the toolkit's
    // curves, its own in, out, sine and cosine curves (41 to 44) and the two spline shapes.
    static constexpr int LastPickerCode = QEasingCurve::TCBSpline;  // 46

    KVKeyframeSegment(KVKeyValue *pStart, KVKeyValue *pEnd, QObject *pTarget,
                      const QByteArray &propertyName, QObject *pParent = nullptr);

    // While one lives, stopped segments write the values that setting their time gives (a
    // timeline at rest applying a time); at other times a stopped segment writes nothing, also
    // when its keys change.
    class WriteScope
    {
    public:
        WriteScope() { ++s_nWriteScopes; }
        ~WriteScope() { --s_nWriteScopes; }
        WriteScope(const WriteScope &) = delete;
        WriteScope &operator=(const WriteScope &) = delete;
    };
    static bool writing() { return s_nWriteScopes > 0; }

    KVKeyValue *startKey() const { return m_pStart; }
    KVKeyValue *endKey() const { return m_pEnd; }
    // Changing a key does not refresh; the track refreshes once it has relinked its segments.
    void setKeys(KVKeyValue *pStart, KVKeyValue *pEnd);

    bool hasTransition() const { return m_bHasTransition; }
    void setHasTransition(bool b);
    int easingCode() const { return easingCurve().type(); }
    void setEasingCode(int nCode);

    // Duration from the two keys' times (never negative), value at 0 the start key's value, value
    // at 1 the end key's value before with a transition, else the start key's value again.
    void refresh();

    // The value at a fraction 0..1 of the segment, as the framework computes it while playing.
    QVariant valueAtFraction(double dFraction) const;

    // Project-file form: "easing_curve", "has_transition".
    QJsonObject toJson() const;
    // Reads tolerantly (missing keys: code 0, no transition) and refreshes.
    void fromJson(const QJsonObject &jo);

    // The curve for an easing code; a code that QEasingCurve does not know gives Linear.
    static QEasingCurve curveForCode(int nCode);
    static bool isValidCode(int nCode);
    // The name of the code's QEasingCurve type ("InOutQuad"); empty for an unknown code.
    static QString easingName(int nCode);
    // The framework's interpolation of two values (numbers linearly, points per coordinate,
    // colours per channel); values of different kinds give the start value before 1, else the end.
    static QVariant interpolate(const QVariant &from, const QVariant &to, double dProgress);

protected:
    // Display values are whole numbers (see m_bWholeNumbers); others as the framework has them.
    QVariant interpolated(const QVariant &from, const QVariant &to, qreal dProgress) const override;
    // A sought timeline rests stopped; inside a WriteScope its segments write their values
    // themselves, through the property looked up once, instead of the framework's lookup on
    // every start.
    void updateCurrentValue(const QVariant &value) override;

private:
    // Display is an integer field: its value between two keys is the moving value cut to a whole
    // number towards zero, as the page shows it (from 1 to 0 it hides as soon as it leaves 1).
    QVariant wholeIfDisplay(const QVariant &value) const;

    bool m_bWholeNumbers = false;
    KVKeyValue *m_pStart = nullptr;
    KVKeyValue *m_pEnd = nullptr;
    bool m_bHasTransition = true;
    static int s_nWriteScopes;
    const QMetaObject *m_pWriteClass = nullptr;
    int m_nWriteIndex = -1;
};
