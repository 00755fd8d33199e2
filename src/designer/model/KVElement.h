#pragma once

#include "model/KVFontFace.h"

#include "interaction/KVEventListenerList.h"
#include "model/KVLayoutKey.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointF>
#include <QSet>
#include <QString>

class IKVDocumentContext;
class KVBackground;
class KVBorder;
class KVClip;
class KVElementContainer;
class KVElementProperty;
class KVFilterEffect;
class KVShadow;

// Everything that stands on a stage: shapes, text, images, media, widgets, symbol instances and
// groups; the stage root (KVElementContainer, the scene) is an element too. An element of this class
// itself is a group (type code 6). Every element is also the list of its own event handlers.
//
// An element owns its children (stacking order) and one KVElementProperty per responsive layout in
// which it has values; the base layout (0, 0) is always there after init(). Per-layout accessors take
// a layout key, where (-1, -1) (the default) stands for the element's current layout; on a layout
// without a property object getters return neutral values (0, empty, null) and setters do nothing.
//
// The animatable values of the current layout are Qt properties named after the model members, so
// that animations can drive them by name. They read and write the stored values in their own units.
class KVElement : public KVEventListenerList
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
    KVElement();
    // Deletes the children and the property objects; a child still in a tree leaves it first.
    ~KVElement() override;

    // --- Identity and editor flags -----------------------------------------------------------
    int id() const { return m_nId; }
    void setId(int nId) { m_nId = nId; }
    QString name() const { return m_strName; }
    // Keeps the stage's name index up to date.
    void setName(const QString &strName);
    bool isVisible() const { return m_bVisible; }
    void setVisible(bool b) { m_bVisible = b; }
    bool isLocked() const { return m_bLocked; }
    void setLocked(bool b) { m_bLocked = b; }
    bool isSelected() const { return m_bSelected; }
    void setSelected(bool b) { m_bSelected = b; }
    bool isAspectRatioLocked() const { return m_bAspectRatioLocked; }
    void setAspectRatioLocked(bool b) { m_bAspectRatioLocked = b; }
    bool isKeyframeExpanded() const { return m_bKeyframeExpanded; }
    void setKeyframeExpanded(bool b) { m_bKeyframeExpanded = b; }
    bool isTimelineExpanded() const { return m_bTimelineExpanded; }
    void setTimelineExpanded(bool b) { m_bTimelineExpanded = b; }
    bool isElementPaneExpanded() const { return m_bElementPaneExpanded; }
    void setElementPaneExpanded(bool b) { m_bElementPaneExpanded = b; }

    // --- Tree and kind -------------------------------------------------------------------------
    // The handler-list operations, continued into the children.
    void collectFunctions(QMap<int, const KVFunction *> &map,
                          const KVFunctionContainer &container) const override;
    void remapFunctions(const QHash<int, int> &functionIdMap) override;
    void remapElements(const QHash<int, int> &elementIdMap,
                       const KVElementScope &scope = KVElementScope()) override;
    // Element event types 100..111.
    virtual bool isEventTypeSupported(int nEventType) const;
    // Deep copy: same class, id, name, visible, locked and aspect-ratio flags, events, a clone of
    // every property object and every child; not selected, no parent.
    virtual KVElement *clone() const;
    // The element type code (6 for a group).
    virtual int type() const;
    // Back to a new element: id -1, flags reset, no parent, current layout (0, 0) and one fresh
    // property object of the type under (0, 0).
    virtual void init();
    // Pre-order: an id below 1 takes nNext (which grows by one); an id of 1 or more is kept and
    // nNext is raised past it.
    virtual void assignIds(int &nNext);
    // Names this element and then each child uniquely in its stage (see KVElementContainer).
    virtual void makeUniqueName();
    // Stores the parent pointer only.
    virtual void setParent(KVElement *pParent);
    virtual KVElement *parent() const { return m_pParent; }
    // Inserts at nIndex (appends for an index below 0 or not below the count), sets the child's
    // parent and current layout; returns the index used.
    virtual int insertChild(KVElement *pChild, int nIndex);
    // Takes the child out without deleting it; its former index, or -1.
    virtual int removeChild(KVElement *pChild);
    virtual const QList<KVElement *> &children() const { return m_listChildren; }
    // The topmost ancestor (the element itself without parent).
    virtual KVElement *root() const;
    // The selected elements below this one (see the source for the path rule).
    virtual void selectedElements(QList<KVElement *> &list, bool bTopLevelOnly) const;
    virtual int selectedCount() const;
    // The pixel size against which percent values of this element are taken: the parent's pixel
    // width/height at that layout, 0 without parent.
    virtual double parentWidth(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    virtual double parentHeight(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    // Stores a left position given in pixels (divided by the parent's width for unit 1).
    virtual void setLeftPixels(double dPixels, const KVLayoutKey &layout = KVLayoutKey::current());
    // The border width in pixels when the border style is not 0, else 0.
    virtual int borderWidth(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    // Resource ids that the subtree refers to; replacing, retaining and releasing them.
    virtual void collectResources(QSet<int> &resourceIds) const;
    virtual void replaceResources(const QMap<int, int> &idMap);
    virtual void retainResources();
    virtual void releaseResources();
    // Project-file form.
    virtual void toJson(QJsonObject &jo) const;
    // Player-data form. For the canvas: the editing flags and the values of one layout (the current
    // one by default), written into jo. For export: "rp" with every layout and the event handlers.
    // Both add "elems".
    // Export drops any inherit flags of the base property object (the base never overrides).
    virtual void toPlayerJson(QJsonObject &jo, bool bForCanvas,
                              const KVLayoutKey &layout = KVLayoutKey::current());
    // Reads the project-file form; returns true (bad parts take their defaults).
    virtual bool fromJson(const QJsonObject &jo, const IKVDocumentContext *pContext = nullptr);
    // Font faces used by the text of every layout and of the subtree.
    virtual void collectFonts(KVFontFaces &fonts) const;
    // Sets the current layout of this element and of its subtree.
    virtual void setCurrentLayout(const KVLayoutKey &layout);
    // A 3D transform at any layout, in this element or below.
    virtual bool uses3D() const;
    // Adds the audio and video elements of the subtree.
    virtual void countMedia(int &nAudio, int &nVideo) const;
    // The stage root behind this element, or null when the tree has none (see container()).
    virtual KVElementContainer *asContainer() { return nullptr; }
    virtual const KVElementContainer *asContainer() const { return nullptr; }

    // The stage that holds this element: the root when it is a container, else null.
    KVElementContainer *container() const;
    // True when pAncestor is this element or one of its ancestors.
    bool isInSubtreeOf(const KVElement *pAncestor) const;
    // Calls fn for this element and every element below it, in pre-order.
    template <typename Fn>
    void forEachInSubtree(Fn fn) const
    {
        fn(this);
        for (const KVElement *pChild : m_listChildren)
            pChild->forEachInSubtree(fn);
    }

    // --- Layouts -------------------------------------------------------------------------------
    KVLayoutKey currentLayout() const { return m_currentLayout; }
    // (-1, -1) becomes the current layout; any other key is returned unchanged.
    KVLayoutKey resolveLayout(const KVLayoutKey &layout) const
    {
        return layout.isCurrent() ? m_currentLayout : layout;
    }
    KVElementProperty *property(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    const QMap<KVLayoutKey, KVElementProperty *> &properties() const { return m_mapProperties; }
    // Stores pProperty (taken over) for a layout that has none and takes the use count of its fill
    // image; false (and nothing taken) when the layout already has one.
    bool addProperty(KVElementProperty *pProperty, const KVLayoutKey &layout);
    // Removes and returns the layout's property object (giving its counts back), or null.
    KVElementProperty *takeProperty(const KVLayoutKey &layout);
    // Puts pProperty in place of the layout's object and returns the old one (not deleted).
    KVElementProperty *replaceProperty(KVElementProperty *pProperty, const KVLayoutKey &layout);
    // Deletes every property object.
    void clearProperties();
    // The property object a property code is read from at a layout: the layout's own when the
    // layout is the base or overrides the code, else the base's (the layout inherits it). Null when
    // the object to read from is missing.
    KVElementProperty *effectiveProperty(int nPropertyCode,
                                         const KVLayoutKey &layout = KVLayoutKey::current()) const;
    // Brings this element and its subtree in line with a list of layouts (the base is always
    // added): the source layout's property object is the model. With bKeepOthers, objects of listed
    // layouts stay and the others go; without, only the source's stays and becomes the base one
    // with no flags. Every listed layout without an object gets a clone of the source's. An element
    // without a source object is left unchanged; the result is false when any element was.
    bool syncLayouts(const QList<KVLayoutKey> &keys, bool bKeepOthers, const KVLayoutKey &sourceKey);
    // Every property object of a layout other than the base takes the base's values of what it does
    // not override (KVElementProperty::inheritFrom), in this element and its subtree.
    void inheritBaseValues();

    // --- Per-layout accessors -------------------------------------------------------------------
    int coordinateType(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setCoordinateType(int n, const KVLayoutKey &layout = KVLayoutKey::current());
    double sizeW(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setSizeW(double d, const KVLayoutKey &layout = KVLayoutKey::current());
    double sizeH(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setSizeH(double d, const KVLayoutKey &layout = KVLayoutKey::current());
    int unitW(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setUnitW(int n, const KVLayoutKey &layout = KVLayoutKey::current());
    int unitH(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setUnitH(int n, const KVLayoutKey &layout = KVLayoutKey::current());
    double positionX(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setPositionX(double d, const KVLayoutKey &layout = KVLayoutKey::current());
    double positionY(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setPositionY(double d, const KVLayoutKey &layout = KVLayoutKey::current());
    int unitX(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setUnitX(int n, const KVLayoutKey &layout = KVLayoutKey::current());
    int unitY(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setUnitY(int n, const KVLayoutKey &layout = KVLayoutKey::current());
    double opacity(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setOpacity(double d, const KVLayoutKey &layout = KVLayoutKey::current());
    double originRatioX(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setOriginRatioX(double d, const KVLayoutKey &layout = KVLayoutKey::current());
    double originRatioY(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setOriginRatioY(double d, const KVLayoutKey &layout = KVLayoutKey::current());
    double originZ(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setOriginZ(double d, const KVLayoutKey &layout = KVLayoutKey::current());
    double translateX(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setTranslateX(double d, const KVLayoutKey &layout = KVLayoutKey::current());
    double translateY(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setTranslateY(double d, const KVLayoutKey &layout = KVLayoutKey::current());
    double translateZ(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setTranslateZ(double d, const KVLayoutKey &layout = KVLayoutKey::current());
    QPointF translateXY(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setTranslateXY(const QPointF &pt, const KVLayoutKey &layout = KVLayoutKey::current());
    double scaleX(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setScaleX(double d, const KVLayoutKey &layout = KVLayoutKey::current());
    double scaleY(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setScaleY(double d, const KVLayoutKey &layout = KVLayoutKey::current());
    double scaleZ(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setScaleZ(double d, const KVLayoutKey &layout = KVLayoutKey::current());
    double skewX(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setSkewX(double d, const KVLayoutKey &layout = KVLayoutKey::current());
    double skewY(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setSkewY(double d, const KVLayoutKey &layout = KVLayoutKey::current());
    double rotateX(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setRotateX(double d, const KVLayoutKey &layout = KVLayoutKey::current());
    double rotateY(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setRotateY(double d, const KVLayoutKey &layout = KVLayoutKey::current());
    double rotateZ(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setRotateZ(double d, const KVLayoutKey &layout = KVLayoutKey::current());
    int overflow(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setOverflow(int n, const KVLayoutKey &layout = KVLayoutKey::current());
    int display(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setDisplay(int n, const KVLayoutKey &layout = KVLayoutKey::current());
    QString cursor(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setCursor(const QString &str, const KVLayoutKey &layout = KVLayoutKey::current());
    QString title(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setTitle(const QString &str, const KVLayoutKey &layout = KVLayoutKey::current());
    int tabIndex(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setTabIndex(int n, const KVLayoutKey &layout = KVLayoutKey::current());
    QString className(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setClassName(const QString &str, const KVLayoutKey &layout = KVLayoutKey::current());
    KVBorder *border(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    KVBackground *background(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    KVShadow *shadow(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    KVFilterEffect *filter(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    KVClip *clip(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    // Inherit flags of a layout; a layout without a property object inherits everything.
    bool isInherited(int nPropertyCode, const KVLayoutKey &layout = KVLayoutKey::current()) const;
    bool setInherited(int nPropertyCode, bool bInherited,
                      const KVLayoutKey &layout = KVLayoutKey::current());
    void setInheritFlag(int nPropertyCode, bool bValue,
                        const KVLayoutKey &layout = KVLayoutKey::current());
    QMap<int, bool> takeInheritFlags(bool bClearOnly, const KVLayoutKey &layout = KVLayoutKey::current());

    // The direction of the motion path that turns the element, in degrees, added to its rotation
    // about Z while it runs along the path; 0 when none does. Set by playing, never stored.
    double pathAngle() const { return m_dPathAngle; }
    void setPathAngle(double d) { m_dPathAngle = d; }

    // Pixel values after the unit rules.
    double leftPixels(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    double topPixels(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    double widthPixels(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    double heightPixels(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setTopPixels(double dPixels, const KVLayoutKey &layout = KVLayoutKey::current());

protected:
    // For clone(): copies the common element data, every property object and every child into
    // pTarget, a fresh element of the same class, and returns it.
    KVElement *copyElementInto(KVElement *pTarget) const;
    // The name candidate used without a stage: the name, or "<type name>_1".
    QString firstNameCandidate() const;

private:
    friend class KVElementContainer;

    int m_nId = -1;
    QString m_strName;
    bool m_bVisible = true;
    bool m_bLocked = false;
    bool m_bSelected = false;
    bool m_bAspectRatioLocked = false;
    bool m_bKeyframeExpanded = true;
    bool m_bTimelineExpanded = true;
    bool m_bElementPaneExpanded = true;
    KVElement *m_pParent = nullptr;
    QList<KVElement *> m_listChildren;
    KVLayoutKey m_currentLayout;
    double m_dPathAngle = 0.0;
    QMap<KVLayoutKey, KVElementProperty *> m_mapProperties;
};
