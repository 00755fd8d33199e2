#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QObject>

// The clip shape of an element box at one layout: an inset rectangle, a circle or an oval. Each
// length has its own unit (0 pixels, 1 a fraction of the element's size).
// Player arrays: [1, top, right, bottom, left], [2, radius], [3, vertex, co-vertex], empty for none;
// lengths with unit 1 are "%" strings.
class KVClip : public QObject
{
    Q_OBJECT
    Q_PROPERTY(double m_dCRectTop READ rectTop WRITE setRectTop)
    Q_PROPERTY(double m_dCRectRight READ rectRight WRITE setRectRight)
    Q_PROPERTY(double m_dCRectBottom READ rectBottom WRITE setRectBottom)
    Q_PROPERTY(double m_dCRectLeft READ rectLeft WRITE setRectLeft)
    Q_PROPERTY(double m_dCOvalVertex READ ovalVertex WRITE setOvalVertex)
    Q_PROPERTY(double m_dCOvalCoVertex READ ovalCoVertex WRITE setOvalCoVertex)
    Q_PROPERTY(double m_dCCircleRadius READ circleRadius WRITE setCircleRadius)

public:
    enum Style { NoClip = 0, Rectangle = 1, Circle = 2, Oval = 3 };
    Q_ENUM(Style)

    explicit KVClip(QObject *pParent = nullptr);
    KVClip(const KVClip &other, QObject *pParent = nullptr);
    ~KVClip() override;

    KVClip *clone() const;
    void copyFrom(const KVClip &other);
    bool operator==(const KVClip &other) const;
    bool operator!=(const KVClip &other) const { return !(*this == other); }

    int style() const { return m_nStyle; }
    void setStyle(int n) { m_nStyle = n; }

    double rectTop() const { return m_dCRectTop; }
    void setRectTop(double d) { m_dCRectTop = d; }
    double rectRight() const { return m_dCRectRight; }
    void setRectRight(double d) { m_dCRectRight = d; }
    double rectBottom() const { return m_dCRectBottom; }
    void setRectBottom(double d) { m_dCRectBottom = d; }
    double rectLeft() const { return m_dCRectLeft; }
    void setRectLeft(double d) { m_dCRectLeft = d; }
    int unitRectTop() const { return m_nUnitRectTop; }
    void setUnitRectTop(int n) { m_nUnitRectTop = n; }
    int unitRectRight() const { return m_nUnitRectRight; }
    void setUnitRectRight(int n) { m_nUnitRectRight = n; }
    int unitRectBottom() const { return m_nUnitRectBottom; }
    void setUnitRectBottom(int n) { m_nUnitRectBottom = n; }
    int unitRectLeft() const { return m_nUnitRectLeft; }
    void setUnitRectLeft(int n) { m_nUnitRectLeft = n; }

    double ovalVertex() const { return m_dCOvalVertex; }
    void setOvalVertex(double d) { m_dCOvalVertex = d; }
    double ovalCoVertex() const { return m_dCOvalCoVertex; }
    void setOvalCoVertex(double d) { m_dCOvalCoVertex = d; }
    int unitOvalVertex() const { return m_nUnitOvalVertex; }
    void setUnitOvalVertex(int n) { m_nUnitOvalVertex = n; }
    int unitOvalCoVertex() const { return m_nUnitOvalCoVertex; }
    void setUnitOvalCoVertex(int n) { m_nUnitOvalCoVertex = n; }

    double circleRadius() const { return m_dCCircleRadius; }
    void setCircleRadius(double d) { m_dCCircleRadius = d; }
    int unitCircleRadius() const { return m_nUnitCircleRadius; }
    void setUnitCircleRadius(int n) { m_nUnitCircleRadius = n; }

    void fromJson(const QJsonObject &jo);
    void toJson(QJsonObject &jo) const;
    void toPlayerJson(QJsonArray &ja) const;

private:
    double m_dCRectTop = 0.0;
    double m_dCRectRight = 0.0;
    double m_dCRectBottom = 0.0;
    double m_dCRectLeft = 0.0;
    int m_nUnitRectTop = 0;
    int m_nUnitRectRight = 0;
    int m_nUnitRectBottom = 0;
    int m_nUnitRectLeft = 0;
    double m_dCOvalVertex = 0.25;
    double m_dCOvalCoVertex = 0.5;
    int m_nUnitOvalVertex = 1;
    int m_nUnitOvalCoVertex = 1;
    double m_dCCircleRadius = 0.5;
    int m_nUnitCircleRadius = 1;
    int m_nStyle = NoClip;
};
