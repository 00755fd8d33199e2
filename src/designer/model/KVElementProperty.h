#pragma once

#include "model/KVFontFace.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QMap>
#include <QObject>
#include <QPointF>
#include <QSet>
#include <QString>

#include <initializer_list>

class IKVDocumentContext;
class KVBackground;
class KVBorder;
class KVClip;
class KVFilterEffect;
class KVShadow;

// The visual state of one element at one responsive layout: geometry with its units, the 3D
// transform, opacity, display, cursor, title, tab index, class name, the five visual groups (border,
// fill, shadow, filter, clip) and the inherit (override) flags of the layout.
//
// Lengths are stored in their own unit: 0 pixels, 1 a fraction of the parent's width (left, width)
// or height (top, height), 2 (width and height only) the width/height ratio. The element turns them
// into pixels.
//
// Inherit flags: a property code (0..96) that is absent, or present with true, inherits the value of
// the base layout; present with false means this layout holds its own value. In the player data a
// responsive layout writes only the keys whose property codes it overrides.
class KVElementProperty : public QObject
{
    Q_OBJECT
    Q_PROPERTY(double m_dSizeW READ sizeW WRITE setSizeW)
    Q_PROPERTY(double m_dSizeH READ sizeH WRITE setSizeH)
    Q_PROPERTY(double m_dPositionX READ positionX WRITE setPositionX)
    Q_PROPERTY(double m_dPositionY READ positionY WRITE setPositionY)
    Q_PROPERTY(QPointF m_ptTranslateXY READ translateXY WRITE setTranslateXY)
    Q_PROPERTY(double m_dOriginRatioX READ originRatioX WRITE setOriginRatioX)
    Q_PROPERTY(double m_dOriginRatioY READ originRatioY WRITE setOriginRatioY)
    Q_PROPERTY(double m_dOriginZ READ originZ WRITE setOriginZ)
    Q_PROPERTY(double m_dTranslateX READ translateX WRITE setTranslateX)
    Q_PROPERTY(double m_dTranslateY READ translateY WRITE setTranslateY)
    Q_PROPERTY(double m_dTranslateZ READ translateZ WRITE setTranslateZ)
    Q_PROPERTY(double m_dOpacity READ opacity WRITE setOpacity)
    Q_PROPERTY(double m_dRotateX READ rotateX WRITE setRotateX)
    Q_PROPERTY(double m_dRotateY READ rotateY WRITE setRotateY)
    Q_PROPERTY(double m_dRotateZ READ rotateZ WRITE setRotateZ)
    Q_PROPERTY(double m_dScaleX READ scaleX WRITE setScaleX)
    Q_PROPERTY(double m_dScaleY READ scaleY WRITE setScaleY)
    Q_PROPERTY(double m_dScaleZ READ scaleZ WRITE setScaleZ)
    Q_PROPERTY(double m_dSkewX READ skewX WRITE setSkewX)
    Q_PROPERTY(double m_dSkewY READ skewY WRITE setSkewY)
    Q_PROPERTY(int m_nDisplay READ display WRITE setDisplay)
    Q_PROPERTY(QString m_strClassName READ className WRITE setClassName)

public:
    // Highest property code that an inherit flag can name.
    static constexpr int LastPropertyCode = 96;

    explicit KVElementProperty(QObject *pParent = nullptr);
    // Copies every field, clones the five groups and copies the inherit flags.
    KVElementProperty(const KVElementProperty &other);
    ~KVElementProperty() override;

    KVElementProperty &operator=(const KVElementProperty &) = delete;

    virtual KVElementProperty *clone() const;
    // Project-file form: "path", "transform", "opacity", ... "inherit".
    virtual void toJson(QJsonObject &jo) const;
    // Player-data form (short keys) written into jo. With bResponsive a key is written only when
    // this layout overrides one of its property codes, and a default value then adds its key to
    // resetKeys instead. For the canvas the keys "tb", "c" and "tl" are never written.
    virtual void toPlayerJson(QJsonArray &resetKeys, QJsonObject &jo, bool bForCanvas,
                              bool bResponsive) const;
    // "r" (geometry) and "t" (transform), the first keys of the player form.
    virtual void geometryToPlayerJson(QJsonArray &resetKeys, QJsonObject &jo, bool bResponsive) const;
    // Reads the project-file form tolerantly (see the reader defaults in the source).
    virtual void fromJson(const QJsonObject &jo, const IKVDocumentContext *pContext);
    // Font faces used at this layout; none for the base property.
    virtual void collectFonts(KVFontFaces &fonts) const;
    // Origin Z, translate Z, rotate X or Y not 0, or scale Z not 1.
    virtual bool uses3D() const;
    // For the property object of a layout other than the base: takes the base's values of every
    // group of properties this layout does not override (the groups the player data sends
    // together), so that the layout shows what the page shows there.
    virtual void inheritFrom(const KVElementProperty &base);

    // Resources of the fill (an image id); kinds with resources of their own add theirs.
    virtual void collectResources(QSet<int> &resourceIds) const;
    virtual void replaceResources(const QMap<int, int> &idMap);
    virtual void retainResources();
    virtual void releaseResources();

    // --- Inherit (override) flags ----------------------------------------------------------
    bool isInherited(int nPropertyCode) const;
    // Removes the code, then stores false when bInherited is false; returns the old value.
    bool setInherited(int nPropertyCode, bool bInherited);
    // Stores the value as given (also true), the raw form used by undo.
    void setInheritFlag(int nPropertyCode, bool bValue);
    // Returns the flags and empties them; unless bClearOnly, every code 0..96 then becomes local.
    QMap<int, bool> takeInheritFlags(bool bClearOnly);
    const QMap<int, bool> &inheritFlags() const { return m_mapInherit; }
    void setInheritFlags(const QMap<int, bool> &flags) { m_mapInherit = flags; }
    // True when the layout overrides at least one of the codes.
    bool overridesAny(std::initializer_list<int> codes) const;

    // --- Fields ----------------------------------------------------------------------------
    int coordinateType() const { return m_nCoordinateType; }
    void setCoordinateType(int n) { m_nCoordinateType = n; }
    double sizeW() const { return m_dSizeW; }
    void setSizeW(double d) { m_dSizeW = d; }
    double sizeH() const { return m_dSizeH; }
    void setSizeH(double d) { m_dSizeH = d; }
    int unitW() const { return m_nUnitW; }
    void setUnitW(int n) { m_nUnitW = n; }
    int unitH() const { return m_nUnitH; }
    void setUnitH(int n) { m_nUnitH = n; }
    double positionX() const { return m_dPositionX; }
    void setPositionX(double d) { m_dPositionX = d; }
    double positionY() const { return m_dPositionY; }
    void setPositionY(double d) { m_dPositionY = d; }
    int unitX() const { return m_nUnitX; }
    void setUnitX(int n) { m_nUnitX = n; }
    int unitY() const { return m_nUnitY; }
    void setUnitY(int n) { m_nUnitY = n; }
    double opacity() const { return m_dOpacity; }
    void setOpacity(double d) { m_dOpacity = d; }
    double originRatioX() const { return m_dOriginRatioX; }
    void setOriginRatioX(double d) { m_dOriginRatioX = d; }
    double originRatioY() const { return m_dOriginRatioY; }
    void setOriginRatioY(double d) { m_dOriginRatioY = d; }
    double originZ() const { return m_dOriginZ; }
    void setOriginZ(double d) { m_dOriginZ = d; }
    double translateX() const { return m_dTranslateX; }
    void setTranslateX(double d) { m_dTranslateX = d; }
    double translateY() const { return m_dTranslateY; }
    void setTranslateY(double d) { m_dTranslateY = d; }
    double translateZ() const { return m_dTranslateZ; }
    void setTranslateZ(double d) { m_dTranslateZ = d; }
    // Translate X and Y as one point (the location that motion paths drive).
    QPointF translateXY() const { return QPointF(m_dTranslateX, m_dTranslateY); }
    void setTranslateXY(const QPointF &pt)
    {
        m_dTranslateX = pt.x();
        m_dTranslateY = pt.y();
    }
    double scaleX() const { return m_dScaleX; }
    void setScaleX(double d) { m_dScaleX = d; }
    double scaleY() const { return m_dScaleY; }
    void setScaleY(double d) { m_dScaleY = d; }
    double scaleZ() const { return m_dScaleZ; }
    void setScaleZ(double d) { m_dScaleZ = d; }
    double skewX() const { return m_dSkewX; }
    void setSkewX(double d) { m_dSkewX = d; }
    double skewY() const { return m_dSkewY; }
    void setSkewY(double d) { m_dSkewY = d; }
    double rotateX() const { return m_dRotateX; }
    void setRotateX(double d) { m_dRotateX = d; }
    double rotateY() const { return m_dRotateY; }
    void setRotateY(double d) { m_dRotateY = d; }
    double rotateZ() const { return m_dRotateZ; }
    void setRotateZ(double d) { m_dRotateZ = d; }
    int overflow() const { return m_nOverflow; }
    void setOverflow(int n) { m_nOverflow = n; }
    int display() const { return m_nDisplay; }
    void setDisplay(int n) { m_nDisplay = n; }
    QString cursor() const { return m_strCursor; }
    void setCursor(const QString &str) { m_strCursor = str; }
    QString title() const { return m_strTitle; }
    void setTitle(const QString &str) { m_strTitle = str; }
    int tabIndex() const { return m_nTabIndex; }
    void setTabIndex(int n) { m_nTabIndex = n; }
    QString className() const { return m_strClassName; }
    void setClassName(const QString &str) { m_strClassName = str; }

    // The groups are owned and never null.
    KVBorder *border() const { return m_pBorder; }
    KVBackground *background() const { return m_pBackground; }
    KVShadow *shadow() const { return m_pShadow; }
    KVFilterEffect *filter() const { return m_pFilter; }
    KVClip *clip() const { return m_pClip; }

protected:
    // For the writers of the kinds: whether a key gated by these codes is written at all.
    static bool isGatedIn(const KVElementProperty &property, bool bResponsive,
                          std::initializer_list<int> codes)
    {
        return !bResponsive || property.overridesAny(codes);
    }
    // Writes value under strKey, or, when bIsDefault, leaves it out and (at a responsive layout)
    // adds the key to the reset list.
    static void putOrReset(QJsonObject &jo, QJsonArray &resetKeys, const QString &strKey,
                           const QJsonValue &value, bool bIsDefault, bool bResponsive);

private:
    int m_nCoordinateType = 0;
    double m_dSizeW = 256.0;
    double m_dSizeH = 128.0;
    int m_nUnitW = 0;
    int m_nUnitH = 0;
    double m_dPositionX = 300.0;
    double m_dPositionY = 300.0;
    int m_nUnitX = 0;
    int m_nUnitY = 0;
    double m_dOpacity = 1.0;
    double m_dOriginRatioX = 0.5;
    double m_dOriginRatioY = 0.5;
    double m_dOriginZ = 0.0;
    double m_dTranslateX = 0.0;
    double m_dTranslateY = 0.0;
    double m_dTranslateZ = 0.0;
    double m_dScaleX = 1.0;
    double m_dScaleY = 1.0;
    double m_dScaleZ = 1.0;
    double m_dSkewX = 0.0;
    double m_dSkewY = 0.0;
    double m_dRotateX = 0.0;
    double m_dRotateY = 0.0;
    double m_dRotateZ = 0.0;
    int m_nOverflow = 0;
    int m_nDisplay = 1;
    QString m_strCursor;
    QString m_strTitle;
    int m_nTabIndex = -2;
    KVBorder *m_pBorder = nullptr;
    KVBackground *m_pBackground = nullptr;
    KVShadow *m_pShadow = nullptr;
    KVFilterEffect *m_pFilter = nullptr;
    KVClip *m_pClip = nullptr;
    QString m_strClassName;
    QMap<int, bool> m_mapInherit;
};
