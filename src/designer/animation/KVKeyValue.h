#pragma once

#include <QJsonObject>
#include <QVariant>

// One key of a keyframe track: a time and the value the property takes from that time on, plus
// the value reached just before that time ("value minus"). The two are equal for a new key; they
// differ where the property jumps at the key's time.
//
// Values are numbers (kept as double), integer points, points or colours. A key value is a plain
// record owned by its track (or, while taken out of a track, by the command that took it).
class KVKeyValue
{
public:
    // Variant type numbers written as "type" in the project file.
    enum ValueType { Number = 6, IntPoint = 25, Point = 26, Color = 67 };

    KVKeyValue() = default;
    // Both values become the given value.
    KVKeyValue(int nTime, const QVariant &value);
    KVKeyValue(int nTime, const QVariant &value, const QVariant &valueMinus);

    int time() const { return m_nTime; }
    void setTime(int nTime) { m_nTime = nTime; }
    const QVariant &value() const { return m_value; }
    void setValue(const QVariant &value) { m_value = normalized(value); }
    const QVariant &valueMinus() const { return m_valueMinus; }
    void setValueMinus(const QVariant &value) { m_valueMinus = normalized(value); }
    bool jumps() const { return m_value != m_valueMinus; }

    // The "type" number of the value: 25, 26 or 67 for those kinds, 6 for anything else.
    int valueType() const;

    // Project-file form: "time", "type", "value", "value_minus".
    QJsonObject toJson() const;
    // Reads tolerantly: a missing or mistyped key reads as 0 (a number 0, a point (0, 0), the
    // colour 0x00000000), except a missing value before, which equals the value (no jump); an
    // unknown type reads as a number.
    static KVKeyValue fromJson(const QJsonObject &jo);

    // The value as the track keeps it: integer points, points and colours stay, every other
    // value becomes a double (invalid values stay invalid).
    static QVariant normalized(const QVariant &value);
    static QJsonObject valueToJson(const QVariant &value);
    static QVariant valueFromJson(const QJsonObject &jo, int nType);

private:
    int m_nTime = 0;
    QVariant m_value;
    QVariant m_valueMinus;
};
