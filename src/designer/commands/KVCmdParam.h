#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QPointF>
#include <QPointer>
#include <QString>
#include <QVariant>

class KVAnimation;
class KVElement;
class KVKeyValue;
class KVKeyframe;
class KVResource;
class KVScene;
class KVTimeline;

// One typed parameter of a command action: a value (ints, doubles, points, flags, strings, JSON,
// lists) or a model object. The kind code says which; the codes are shared with the canvas page.
//
// Every accessor checks the kind first and answers null, 0, 0.0, false or empty for a parameter of
// another kind, so an action built wrongly does nothing instead of crashing.
//
// Ownership: a parameter that holds an object owns it only while its owned flag is set (an element
// that a command removed, or created and not yet inserted). It then destroys the object with
// itself; an object it does not own is never destroyed by it. Objects are watched: one destroyed
// elsewhere reads as null afterwards.
class KVCmdParam
{
public:
    enum Kind {
        None = 0,
        Int = 1,
        Double = 2,
        Point = 3,
        Bool = 4,
        String = 5,
        JsonObject = 7,
        JsonArray = 8,
        Variant = 9,
        Element = 11,
        Scene = 12,
        SceneListOwner = 13,
        TimelineListOwner = 14,
        Timeline = 15,
        Animation = 16,
        Keyframe = 17,
        KeyValue = 18,
        MotionPath = 19,
        MotionPathKey = 20,
        ActionItem = 21,
        OwnedObject = 22,
        Resource = 23,
        FunctionList = 25,
        Function = 26,
        LayoutData = 27,
        Overrides = 28,
        ObjectArray = 29,
        ValueList = 30,
        OwnedObject2 = 31,
        ValueList2 = 32,
        IntList = 33,
        LastKind = 33
    };

    // Kind 0: nothing yet.
    KVCmdParam() = default;
    ~KVCmdParam();

    KVCmdParam(const KVCmdParam &) = delete;
    KVCmdParam &operator=(const KVCmdParam &) = delete;

    // --- Makers ------------------------------------------------------------------------------
    static KVCmdParam *makeInt(int n);
    static KVCmdParam *makeDouble(double d);
    static KVCmdParam *makePoint(const QPointF &pt);
    static KVCmdParam *makeBool(bool b);
    static KVCmdParam *makeString(const QString &str);
    static KVCmdParam *makeJsonObject(const QJsonObject &jo);
    static KVCmdParam *makeJsonArray(const QJsonArray &ja);
    static KVCmdParam *makeVariant(const QVariant &value);
    static KVCmdParam *makeIntList(const QList<int> &list);
    // A value kind (1-5, 7-9, 30, 32, 33) holding the value as given; null for an object kind.
    static KVCmdParam *makeValue(int nKind, const QVariant &value);
    // An object kind (11-29, 31) holding the object; null for a value kind, a key value (18) or a
    // resource (23).
    static KVCmdParam *makeObject(int nKind, QObject *pObject, bool bOwned = false);
    static KVCmdParam *makeKeyValue(KVKeyValue *pKeyValue, bool bOwned = false);
    // Kind 23; resources belong to the resource manager, so the parameter never owns one.
    static KVCmdParam *makeResource(KVResource *pResource);

    // --- Kind and ownership ------------------------------------------------------------------
    int kind() const { return m_nKind; }
    static bool isValueKind(int nKind);
    static bool isObjectKind(int nKind);
    bool isOwned() const { return m_bOwned; }
    // Only for object kinds; a value parameter stays unowned.
    void setOwned(bool bOwned);

    // --- Values ------------------------------------------------------------------------------
    int toInt() const;                 // kind 1
    double toDouble() const;           // kind 2
    QPointF toPoint() const;           // kind 3
    bool toBool() const;               // kind 4
    QString toString() const;          // kind 5
    QJsonObject toJsonObject() const;  // kind 7
    QJsonArray toJsonArray() const;    // kind 8
    QList<int> toIntList() const;      // kind 33
    // The raw value of any value kind (kinds 9, 30 and 32 hold any variant); invalid otherwise.
    QVariant value() const;
    // Replaces the value of a value parameter, keeping its kind; false (nothing changes) for an
    // object kind. Used by actions that write the previous value back.
    bool setValue(const QVariant &value);

    // --- Objects -----------------------------------------------------------------------------
    // The object of any object kind (null for values and for a key value).
    QObject *object() const;
    KVElement *element() const;          // kind 11
    KVScene *scene() const;              // kind 12
    QObject *sceneListOwner() const;     // kind 13
    QObject *timelineListOwner() const;  // kind 14
    KVTimeline *timeline() const;        // kind 15
    KVAnimation *animation() const;      // kind 16
    KVKeyframe *keyframe() const;        // kind 17
    KVKeyValue *keyValue() const;        // kind 18
    KVResource *resource() const;        // kind 23
    // Puts another object into an object parameter, keeping its kind (an object it owned before
    // is destroyed first); false for a value kind.
    bool setObject(QObject *pObject, bool bOwned);

    // --- JSON shared with the canvas page -------------------------------------------------------
    // {"type": kind, "value": ...}; a point as "x" and "y"; an element or scene as its canvas form;
    // kinds without a page form write "type" only.
    QJsonObject toJson() const;
    // Reads kinds 1-5, 11 and 33. Null, with the reason in *pError, for anything else or a value of
    // the wrong JSON type; a kind-11 object builds a new element that the parameter owns.
    static KVCmdParam *fromJson(const QJsonObject &jo, QString *pError = nullptr);
    // A new element from the page's drawing: "shapeType" (element type code), "id", "l", "t",
    // "w", "h" in pixels, "path" (a free-form outline); a rectangle starts with corner radii of 25,
    // a shape with every adjustment at 0.5. Null when the type makes no element or a key is missing.
    static KVElement *elementFromPageJson(const QJsonObject &jo, QString *pError = nullptr);

private:
    void destroyOwned();

    int m_nKind = None;
    QVariant m_value;
    QPointer<QObject> m_pObject;
    KVKeyValue *m_pKeyValue = nullptr;
    KVResource *m_pResource = nullptr;
    bool m_bOwned = false;
};

using KVCmdParamList = QList<KVCmdParam *>;
