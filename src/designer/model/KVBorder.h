#pragma once

#include <QColor>
#include <QJsonArray>
#include <QJsonObject>
#include <QObject>

// The border of an element box at one layout: style, width in pixels and colour.
// Project keys "style", "width", "color"; player array [style, width, r, g, b, a], empty for no
// border.
class KVBorder : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int m_nWidth READ width WRITE setWidth)
    Q_PROPERTY(QColor m_clBorderColor READ borderColor WRITE setBorderColor)

public:
    enum Style { None = 0, Solid = 1, Dotted = 2, Dashed = 3 };
    Q_ENUM(Style)

    explicit KVBorder(QObject *pParent = nullptr);
    KVBorder(const KVBorder &other, QObject *pParent = nullptr);
    ~KVBorder() override;

    KVBorder *clone() const;
    void copyFrom(const KVBorder &other);
    bool operator==(const KVBorder &other) const;
    bool operator!=(const KVBorder &other) const { return !(*this == other); }

    int style() const { return m_nStyle; }
    void setStyle(int nStyle) { m_nStyle = nStyle; }
    int width() const { return m_nWidth; }
    void setWidth(int nWidth) { m_nWidth = nWidth; }
    QColor borderColor() const { return m_clBorderColor; }
    void setBorderColor(const QColor &cl);

    // Reads every key; a missing or mistyped one takes the reader default (width 0, style 0,
    // opaque black), which for the width differs from a new border's 1.
    void fromJson(const QJsonObject &jo);
    void toJson(QJsonObject &jo) const;
    // The same array for the canvas page and for export; empty means "default, not written".
    void toPlayerJson(QJsonArray &ja) const;

private:
    int m_nStyle = None;
    int m_nWidth = 1;
    QColor m_clBorderColor;
};
