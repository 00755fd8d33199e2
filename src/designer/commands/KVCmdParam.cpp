#include "commands/KVCmdParam.h"

#include "animation/KVAnimation.h"
#include "animation/KVKeyValue.h"
#include "animation/KVKeyframe.h"
#include "animation/KVTimeline.h"
#include "model/KVAutoShape.h"
#include "model/KVCorner.h"
#include "model/KVDiv.h"
#include "model/KVElement.h"
#include "model/KVElementFactory.h"
#include "model/KVElementType.h"
#include "model/KVFreeFormShape.h"
#include "model/KVFreeFormShapeProperty.h"
#include "model/KVScene.h"
#include "resources/KVResource.h"

#include <QJsonValue>

namespace {

void setError(QString *pError, const QString &strText)
{
    if (pError)
        *pError = strText;
}

} // namespace

KVCmdParam::~KVCmdParam()
{
    destroyOwned();
}

void KVCmdParam::destroyOwned()
{
    if (!m_bOwned)
        return;
    m_bOwned = false;
    if (m_nKind == KeyValue) {
        delete m_pKeyValue;
        m_pKeyValue = nullptr;
        return;
    }
    // The watch pointer is null when someone else destroyed the object meanwhile.
    QObject *pObject = m_pObject.data();
    m_pObject.clear();
    delete pObject;
}

bool KVCmdParam::isValueKind(int nKind)
{
    switch (nKind) {
    case Int:
    case Double:
    case Point:
    case Bool:
    case String:
    case JsonObject:
    case JsonArray:
    case Variant:
    case ValueList:
    case ValueList2:
    case IntList:
        return true;
    default:
        return false;
    }
}

bool KVCmdParam::isObjectKind(int nKind)
{
    return nKind >= Element && nKind <= OwnedObject2 && nKind != ValueList && nKind != 24;
}

KVCmdParam *KVCmdParam::makeValue(int nKind, const QVariant &value)
{
    if (!isValueKind(nKind))
        return nullptr;
    auto *p = new KVCmdParam;
    p->m_nKind = nKind;
    p->m_value = value;
    return p;
}

KVCmdParam *KVCmdParam::makeInt(int n) { return makeValue(Int, n); }
KVCmdParam *KVCmdParam::makeDouble(double d) { return makeValue(Double, d); }
KVCmdParam *KVCmdParam::makePoint(const QPointF &pt) { return makeValue(Point, pt); }
KVCmdParam *KVCmdParam::makeBool(bool b) { return makeValue(Bool, b); }
KVCmdParam *KVCmdParam::makeString(const QString &str) { return makeValue(String, str); }
KVCmdParam *KVCmdParam::makeJsonObject(const QJsonObject &jo) { return makeValue(JsonObject, jo); }
KVCmdParam *KVCmdParam::makeJsonArray(const QJsonArray &ja) { return makeValue(JsonArray, ja); }
KVCmdParam *KVCmdParam::makeVariant(const QVariant &value) { return makeValue(Variant, value); }
KVCmdParam *KVCmdParam::makeIntList(const QList<int> &list)
{
    return makeValue(IntList, QVariant::fromValue(list));
}

KVCmdParam *KVCmdParam::makeResource(KVResource *pResource)
{
    auto *p = new KVCmdParam;
    p->m_nKind = Resource;
    p->m_pResource = pResource;
    return p;
}

KVCmdParam *KVCmdParam::makeObject(int nKind, QObject *pObject, bool bOwned)
{
    if (!isObjectKind(nKind) || nKind == KeyValue || nKind == Resource)
        return nullptr;
    auto *p = new KVCmdParam;
    p->m_nKind = nKind;
    p->m_pObject = pObject;
    p->m_bOwned = bOwned && pObject;
    return p;
}

KVCmdParam *KVCmdParam::makeKeyValue(KVKeyValue *pKeyValue, bool bOwned)
{
    auto *p = new KVCmdParam;
    p->m_nKind = KeyValue;
    p->m_pKeyValue = pKeyValue;
    p->m_bOwned = bOwned && pKeyValue;
    return p;
}

void KVCmdParam::setOwned(bool bOwned)
{
    if (isObjectKind(m_nKind) && m_nKind != Resource)
        m_bOwned = bOwned && (m_nKind == KeyValue ? m_pKeyValue != nullptr : !m_pObject.isNull());
}

bool KVCmdParam::setObject(QObject *pObject, bool bOwned)
{
    if (!isObjectKind(m_nKind) || m_nKind == KeyValue || m_nKind == Resource)
        return false;
    if (m_pObject.data() != pObject)
        destroyOwned();
    m_pObject = pObject;
    m_bOwned = bOwned && pObject;
    return true;
}

int KVCmdParam::toInt() const { return m_nKind == Int ? m_value.toInt() : 0; }
double KVCmdParam::toDouble() const { return m_nKind == Double ? m_value.toDouble() : 0.0; }
QPointF KVCmdParam::toPoint() const { return m_nKind == Point ? m_value.toPointF() : QPointF(); }
bool KVCmdParam::toBool() const { return m_nKind == Bool ? m_value.toBool() : false; }
QString KVCmdParam::toString() const { return m_nKind == String ? m_value.toString() : QString(); }

QJsonObject KVCmdParam::toJsonObject() const
{
    return m_nKind == JsonObject ? m_value.toJsonObject() : QJsonObject();
}

QJsonArray KVCmdParam::toJsonArray() const
{
    return m_nKind == JsonArray ? m_value.toJsonArray() : QJsonArray();
}

QList<int> KVCmdParam::toIntList() const
{
    return m_nKind == IntList ? m_value.value<QList<int>>() : QList<int>();
}

QVariant KVCmdParam::value() const
{
    return isValueKind(m_nKind) ? m_value : QVariant();
}

bool KVCmdParam::setValue(const QVariant &value)
{
    if (!isValueKind(m_nKind))
        return false;
    m_value = value;
    return true;
}

QObject *KVCmdParam::object() const
{
    return isObjectKind(m_nKind) ? m_pObject.data() : nullptr;
}

KVElement *KVCmdParam::element() const
{
    return m_nKind == Element ? qobject_cast<KVElement *>(m_pObject.data()) : nullptr;
}

KVScene *KVCmdParam::scene() const
{
    return m_nKind == Scene ? qobject_cast<KVScene *>(m_pObject.data()) : nullptr;
}

QObject *KVCmdParam::sceneListOwner() const
{
    return m_nKind == SceneListOwner ? m_pObject.data() : nullptr;
}

QObject *KVCmdParam::timelineListOwner() const
{
    return m_nKind == TimelineListOwner ? m_pObject.data() : nullptr;
}

KVTimeline *KVCmdParam::timeline() const
{
    return m_nKind == Timeline ? qobject_cast<KVTimeline *>(m_pObject.data()) : nullptr;
}

KVAnimation *KVCmdParam::animation() const
{
    return m_nKind == Animation ? qobject_cast<KVAnimation *>(m_pObject.data()) : nullptr;
}

KVKeyframe *KVCmdParam::keyframe() const
{
    return m_nKind == Keyframe ? qobject_cast<KVKeyframe *>(m_pObject.data()) : nullptr;
}

KVKeyValue *KVCmdParam::keyValue() const
{
    return m_nKind == KeyValue ? m_pKeyValue : nullptr;
}

KVResource *KVCmdParam::resource() const
{
    return m_nKind == Resource ? m_pResource : nullptr;
}

QJsonObject KVCmdParam::toJson() const
{
    QJsonObject jo;
    jo.insert(QStringLiteral("type"), m_nKind);
    switch (m_nKind) {
    case Int:
        jo.insert(QStringLiteral("value"), toInt());
        break;
    case Double:
        jo.insert(QStringLiteral("value"), toDouble());
        break;
    case Bool:
        jo.insert(QStringLiteral("value"), toBool());
        break;
    case String:
        jo.insert(QStringLiteral("value"), toString());
        break;
    case JsonObject:
        jo.insert(QStringLiteral("value"), toJsonObject());
        break;
    case JsonArray:
        jo.insert(QStringLiteral("value"), toJsonArray());
        break;
    case Point: {
        const QPointF pt = toPoint();
        jo.insert(QStringLiteral("x"), pt.x());
        jo.insert(QStringLiteral("y"), pt.y());
        break;
    }
    case IntList: {
        QJsonArray ja;
        for (int n : toIntList())
            ja.append(n);
        jo.insert(QStringLiteral("value"), ja);
        break;
    }
    case Element:
    case Scene: {
        auto *pElement = qobject_cast<KVElement *>(m_pObject.data());
        if (pElement) {
            QJsonObject joElement;
            pElement->toPlayerJson(joElement, true);
            jo.insert(QStringLiteral("value"), joElement);
        }
        break;
    }
    case ObjectArray:
        if (m_value.canConvert<QJsonArray>())
            jo.insert(QStringLiteral("value"), m_value.toJsonArray());
        break;
    default:
        break;
    }
    return jo;
}

KVCmdParam *KVCmdParam::fromJson(const QJsonObject &jo, QString *pError)
{
    const QJsonValue jvKind = jo.value(QStringLiteral("type"));
    if (!jvKind.isDouble()) {
        setError(pError, QStringLiteral("parameter without a kind"));
        return nullptr;
    }
    const int nKind = jvKind.toInt(-1);
    const QJsonValue jv = jo.value(QStringLiteral("value"));
    switch (nKind) {
    case Int:
        if (jv.isDouble())
            return makeInt(jv.toInt());
        break;
    case Double:
        if (jv.isDouble())
            return makeDouble(jv.toDouble());
        break;
    case Bool:
        if (jv.isBool())
            return makeBool(jv.toBool());
        break;
    case String:
        if (jv.isString())
            return makeString(jv.toString());
        break;
    case Point:
        if (jo.value(QStringLiteral("x")).isDouble() && jo.value(QStringLiteral("y")).isDouble()) {
            return makePoint(QPointF(jo.value(QStringLiteral("x")).toDouble(),
                                     jo.value(QStringLiteral("y")).toDouble()));
        }
        break;
    case IntList:
        if (jv.isArray()) {
            QList<int> list;
            for (const QJsonValue &jvItem : jv.toArray()) {
                if (!jvItem.isDouble()) {
                    setError(pError, QStringLiteral("int list holding a non-number"));
                    return nullptr;
                }
                list.append(jvItem.toInt());
            }
            return makeIntList(list);
        }
        break;
    case Element: {
        KVElement *pElement = elementFromPageJson(jv.isObject() ? jv.toObject() : jo, pError);
        return pElement ? makeObject(Element, pElement, true) : nullptr;
    }
    default:
        setError(pError, QStringLiteral("parameter kind %1 cannot be read").arg(nKind));
        return nullptr;
    }
    setError(pError, QStringLiteral("parameter of kind %1 with a value of the wrong type").arg(nKind));
    return nullptr;
}

KVElement *KVCmdParam::elementFromPageJson(const QJsonObject &jo, QString *pError)
{
    static const char *const kNumbers[] = {"shapeType", "l", "t", "w", "h"};
    for (const char *pKey : kNumbers) {
        if (!jo.value(QLatin1String(pKey)).isDouble()) {
            setError(pError, QStringLiteral("element without a number under \"%1\"").arg(QLatin1String(pKey)));
            return nullptr;
        }
    }
    const int nType = jo.value(QStringLiteral("shapeType")).toInt();
    KVElement *pElement = KVElementFactory::createElement(nType);
    if (!pElement) {
        setError(pError, QStringLiteral("element type %1 makes no element").arg(nType));
        return nullptr;
    }
    const KVLayoutKey base(0, 0);
    pElement->setId(jo.value(QStringLiteral("id")).toInt(-1));
    pElement->setUnitX(0, base);
    pElement->setUnitY(0, base);
    pElement->setUnitW(0, base);
    pElement->setUnitH(0, base);
    pElement->setPositionX(jo.value(QStringLiteral("l")).toDouble(), base);
    pElement->setPositionY(jo.value(QStringLiteral("t")).toDouble(), base);
    pElement->setSizeW(jo.value(QStringLiteral("w")).toDouble(), base);
    pElement->setSizeH(jo.value(QStringLiteral("h")).toDouble(), base);

    // A shape starts with rounded corners of 25 px, and so does a rectangle drawn as a rounded
    // one; a plain rectangle keeps square corners.
    const bool bRounded = nType == KVElementType::Shape
        || jo.value(QStringLiteral("path")).toString() == QLatin1String("roundrect");
    auto *pDiv = qobject_cast<KVDiv *>(pElement);
    if (pDiv && bRounded) {
        if (KVCorner *pCorner = pDiv->corner(base))
            pCorner->setAll(25.0);
    }
    if (auto *pShape = qobject_cast<KVAutoShape *>(pElement)) {
        QList<double> list = pShape->adjustments(base);
        for (double &d : list)
            d = 0.5;
        pShape->setAdjustments(list, base);
    }
    if (auto *pFreeForm = qobject_cast<KVFreeFormShape *>(pElement)) {
        const QJsonValue jvPath = jo.value(QStringLiteral("path"));
        if (jvPath.isObject()) {
            if (KVFreeFormShapeProperty *pProperty = pFreeForm->freeFormProperty(base))
                pProperty->path().fromJson(jvPath.toObject());
        }
    }
    return pElement;
}
