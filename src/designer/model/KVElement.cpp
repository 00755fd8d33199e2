#include "KVElement.h"

#include <limits>

#include "model/KVBorder.h"
#include "model/KVElementContainer.h"
#include "model/KVElementFactory.h"
#include "model/KVElementProperty.h"
#include "model/KVElementType.h"
#include "model/KVJsonUtil.h"

using namespace KVJsonUtil;

KVElement::KVElement() = default;

KVElement::~KVElement()
{
    if (m_pParent)
        m_pParent->removeChild(this);
    const QList<KVElement *> children = m_listChildren;
    m_listChildren.clear();
    for (KVElement *pChild : children) {
        pChild->m_pParent = nullptr;
        delete pChild;
    }
    clearProperties();
}

void KVElement::setName(const QString &strName)
{
    if (strName == m_strName)
        return;
    const QString strOld = m_strName;
    m_strName = strName;
    if (KVElementContainer *pContainer = container())
        pContainer->elementRenamed(this, strOld, strName);
}

void KVElement::collectFunctions(QMap<int, const KVFunction *> &map,
                                 const KVFunctionContainer &container) const
{
    KVEventListenerList::collectFunctions(map, container);
    for (const KVElement *pChild : m_listChildren)
        pChild->collectFunctions(map, container);
}

void KVElement::remapFunctions(const QHash<int, int> &functionIdMap)
{
    KVEventListenerList::remapFunctions(functionIdMap);
    for (KVElement *pChild : qAsConst(m_listChildren))
        pChild->remapFunctions(functionIdMap);
}

void KVElement::remapElements(const QHash<int, int> &elementIdMap, const KVElementScope &scope)
{
    KVEventListenerList::remapElements(elementIdMap, scope);
    for (KVElement *pChild : qAsConst(m_listChildren))
        pChild->remapElements(elementIdMap, scope);
}

bool KVElement::isEventTypeSupported(int nEventType) const
{
    return nEventType >= 100 && nEventType <= 111;
}

KVElement *KVElement::clone() const
{
    return copyElementInto(new KVElement);
}

KVElement *KVElement::copyElementInto(KVElement *pTarget) const
{
    pTarget->m_nId = m_nId;
    pTarget->m_strName = m_strName;
    pTarget->m_bVisible = m_bVisible;
    pTarget->m_bLocked = m_bLocked;
    pTarget->m_bAspectRatioLocked = m_bAspectRatioLocked;
    pTarget->m_bSelected = false;
    pTarget->KVEventListenerList::clear();
    pTarget->appendCopies(*this);
    pTarget->m_currentLayout = m_currentLayout;
    pTarget->clearProperties();
    for (auto it = m_mapProperties.cbegin(); it != m_mapProperties.cend(); ++it)
        pTarget->m_mapProperties.insert(it.key(), it.value()->clone());
    for (const KVElement *pChild : m_listChildren)
        pTarget->insertChild(pChild->clone(), -1);
    return pTarget;
}

int KVElement::type() const
{
    return KVElementType::Group;
}

void KVElement::init()
{
    if (m_pParent)
        m_pParent->removeChild(this);
    m_nId = -1;
    m_bVisible = true;
    m_bLocked = false;
    m_bSelected = false;
    m_bAspectRatioLocked = false;
    m_bKeyframeExpanded = true;
    m_bTimelineExpanded = true;
    m_bElementPaneExpanded = true;
    m_currentLayout = KVLayoutKey::base();
    clearProperties();
    if (KVElementProperty *pProperty = KVElementFactory::createProperty(type()))
        m_mapProperties.insert(KVLayoutKey::base(), pProperty);
}

void KVElement::assignIds(int &nNext)
{
    // The counter stops at the largest id an int holds (only a damaged file gets there).
    const int nTop = std::numeric_limits<int>::max();
    if (m_nId < 1) {
        m_nId = nNext;
        nNext = nNext < nTop ? nNext + 1 : nTop;
    } else if (nNext <= m_nId) {
        nNext = m_nId < nTop ? m_nId + 1 : nTop;
    }
    for (KVElement *pChild : qAsConst(m_listChildren))
        pChild->assignIds(nNext);
}

QString KVElement::firstNameCandidate() const
{
    if (!m_strName.isEmpty())
        return m_strName;
    return QStringLiteral("%1_%2").arg(KVElementType::name(type())).arg(1);
}

void KVElement::makeUniqueName()
{
    const KVElementContainer *pContainer = container();
    setName(pContainer ? pContainer->uniqueNameFor(this) : firstNameCandidate());
    for (KVElement *pChild : qAsConst(m_listChildren))
        pChild->makeUniqueName();
}

void KVElement::setParent(KVElement *pParent)
{
    m_pParent = pParent;
}

int KVElement::insertChild(KVElement *pChild, int nIndex)
{
    if (!pChild || pChild == this || isInSubtreeOf(pChild))
        return -1;
    if (pChild->m_pParent)
        pChild->m_pParent->removeChild(pChild);
    if (nIndex < 0 || nIndex >= m_listChildren.size()) {
        nIndex = m_listChildren.size();
        m_listChildren.append(pChild);
    } else {
        m_listChildren.insert(nIndex, pChild);
    }
    pChild->setParent(this);
    pChild->setCurrentLayout(m_currentLayout);
    if (KVElementContainer *pContainer = container())
        pContainer->registerSubtree(pChild);
    return nIndex;
}

int KVElement::removeChild(KVElement *pChild)
{
    if (!pChild || pChild->m_pParent != this)
        return -1;
    const int nIndex = m_listChildren.indexOf(pChild);
    if (nIndex < 0)
        return -1;
    if (KVElementContainer *pContainer = container())
        pContainer->unregisterSubtree(pChild);
    m_listChildren.removeAt(nIndex);
    pChild->setParent(nullptr);
    return nIndex;
}

KVElement *KVElement::root() const
{
    const KVElement *pElement = this;
    while (pElement->m_pParent)
        pElement = pElement->m_pParent;
    return const_cast<KVElement *>(pElement);
}

KVElementContainer *KVElement::container() const
{
    return root()->asContainer();
}

bool KVElement::isInSubtreeOf(const KVElement *pAncestor) const
{
    for (const KVElement *pElement = this; pElement; pElement = pElement->m_pParent) {
        if (pElement == pAncestor)
            return true;
    }
    return false;
}

// The selected flag is set on every element of the path from the stage down to a selected element,
// so the deepest selected elements are those without selected children.
void KVElement::selectedElements(QList<KVElement *> &list, bool bTopLevelOnly) const
{
    if (!m_bSelected)
        return;
    for (KVElement *pChild : m_listChildren) {
        if (!pChild->m_bSelected)
            continue;
        if (bTopLevelOnly) {
            list.append(pChild);
            continue;
        }
        QList<KVElement *> below;
        pChild->selectedElements(below, false);
        if (below.isEmpty())
            list.append(pChild);
        else
            list += below;
    }
}

int KVElement::selectedCount() const
{
    QList<KVElement *> list;
    selectedElements(list, false);
    return list.size();
}

double KVElement::parentWidth(const KVLayoutKey &layout) const
{
    return m_pParent ? m_pParent->widthPixels(layout) : 0.0;
}

double KVElement::parentHeight(const KVLayoutKey &layout) const
{
    return m_pParent ? m_pParent->heightPixels(layout) : 0.0;
}

void KVElement::setLeftPixels(double dPixels, const KVLayoutKey &layout)
{
    KVElementProperty *pProperty = property(layout);
    if (!pProperty)
        return;
    if (pProperty->unitX() == 1) {
        const double dParent = parentWidth(layout);
        pProperty->setPositionX(dParent != 0.0 ? dPixels / dParent : 0.0);
    } else {
        pProperty->setPositionX(dPixels);
    }
}

void KVElement::setTopPixels(double dPixels, const KVLayoutKey &layout)
{
    KVElementProperty *pProperty = property(layout);
    if (!pProperty)
        return;
    if (pProperty->unitY() == 1) {
        const double dParent = parentHeight(layout);
        pProperty->setPositionY(dParent != 0.0 ? dPixels / dParent : 0.0);
    } else {
        pProperty->setPositionY(dPixels);
    }
}

double KVElement::leftPixels(const KVLayoutKey &layout) const
{
    const KVElementProperty *pProperty = property(layout);
    if (!pProperty)
        return 0.0;
    return pProperty->unitX() == 1 ? pProperty->positionX() * parentWidth(layout)
                                   : pProperty->positionX();
}

double KVElement::topPixels(const KVLayoutKey &layout) const
{
    const KVElementProperty *pProperty = property(layout);
    if (!pProperty)
        return 0.0;
    return pProperty->unitY() == 1 ? pProperty->positionY() * parentHeight(layout)
                                   : pProperty->positionY();
}

// With both sizes automatic neither can be told from the other: the result is 0.
double KVElement::widthPixels(const KVLayoutKey &layout) const
{
    const KVElementProperty *pProperty = property(layout);
    if (!pProperty)
        return 0.0;
    switch (pProperty->unitW()) {
    case 1:
        return pProperty->sizeW() * parentWidth(layout);
    case 2:
        return pProperty->unitH() == 2 ? 0.0 : heightPixels(layout) * pProperty->sizeW();
    default:
        return pProperty->sizeW();
    }
}

double KVElement::heightPixels(const KVLayoutKey &layout) const
{
    const KVElementProperty *pProperty = property(layout);
    if (!pProperty)
        return 0.0;
    switch (pProperty->unitH()) {
    case 1:
        return pProperty->sizeH() * parentHeight(layout);
    case 2:
        if (pProperty->sizeH() == 0.0 || pProperty->unitW() == 2)
            return 0.0;
        return widthPixels(layout) / pProperty->sizeH();
    default:
        return pProperty->sizeH();
    }
}

int KVElement::borderWidth(const KVLayoutKey &layout) const
{
    const KVBorder *pBorder = border(layout);
    return pBorder && pBorder->style() != 0 ? pBorder->width() : 0;
}

void KVElement::collectResources(QSet<int> &resourceIds) const
{
    for (const KVElementProperty *pProperty : m_mapProperties)
        pProperty->collectResources(resourceIds);
    for (const KVElement *pChild : m_listChildren)
        pChild->collectResources(resourceIds);
}

void KVElement::replaceResources(const QMap<int, int> &idMap)
{
    for (KVElementProperty *pProperty : qAsConst(m_mapProperties))
        pProperty->replaceResources(idMap);
    for (KVElement *pChild : qAsConst(m_listChildren))
        pChild->replaceResources(idMap);
}

void KVElement::retainResources()
{
    for (KVElementProperty *pProperty : qAsConst(m_mapProperties))
        pProperty->retainResources();
    for (KVElement *pChild : qAsConst(m_listChildren))
        pChild->retainResources();
}

void KVElement::releaseResources()
{
    for (KVElementProperty *pProperty : qAsConst(m_mapProperties))
        pProperty->releaseResources();
    for (KVElement *pChild : qAsConst(m_listChildren))
        pChild->releaseResources();
}

void KVElement::toJson(QJsonObject &jo) const
{
    jo.insert(QStringLiteral("type"), type());
    jo.insert(QStringLiteral("id"), m_nId);
    jo.insert(QStringLiteral("name"), m_strName);
    jo.insert(QStringLiteral("expanded_keyframe"), m_bKeyframeExpanded);
    jo.insert(QStringLiteral("expanded_timeline"), m_bTimelineExpanded);
    jo.insert(QStringLiteral("expanded_elementpane"), m_bElementPaneExpanded);
    jo.insert(QStringLiteral("isVisible"), m_bVisible);
    jo.insert(QStringLiteral("isLocked"), m_bLocked);
    jo.insert(QStringLiteral("isAspectRatioLocked"), m_bAspectRatioLocked);

    QJsonArray jaProps;
    for (auto it = m_mapProperties.cbegin(); it != m_mapProperties.cend(); ++it) {
        QJsonObject joValues;
        it.value()->toJson(joValues);
        QJsonObject joEntry;
        joEntry.insert(QStringLiteral("hLayoutId"), it.key().nHLayoutId);
        joEntry.insert(QStringLiteral("vLayoutId"), it.key().nVLayoutId);
        joEntry.insert(QStringLiteral("values"), joValues);
        jaProps.append(joEntry);
    }
    jo.insert(QStringLiteral("respProps"), jaProps);
    jo.insert(QStringLiteral("events"), KVEventListenerList::toJson());

    QJsonArray jaChildren;
    for (const KVElement *pChild : m_listChildren) {
        QJsonObject joChild;
        pChild->toJson(joChild);
        jaChildren.append(joChild);
    }
    jo.insert(QStringLiteral("children"), jaChildren);
}

bool KVElement::fromJson(const QJsonObject &jo, const IKVDocumentContext *pContext)
{
    setId(readInt(jo, QStringLiteral("id"), -1));
    setName(readString(jo, QStringLiteral("name")));
    m_bKeyframeExpanded = readBool(jo, QStringLiteral("expanded_keyframe"), true);
    m_bTimelineExpanded = readBool(jo, QStringLiteral("expanded_timeline"), true);
    m_bElementPaneExpanded = readBool(jo, QStringLiteral("expanded_elementpane"), true);
    m_bVisible = readBool(jo, QStringLiteral("isVisible"), true);
    m_bLocked = readBool(jo, QStringLiteral("isLocked"), false);
    m_bAspectRatioLocked = readBool(jo, QStringLiteral("isAspectRatioLocked"), false);

    clearProperties();
    const QJsonValue respProps = jo.value(QStringLiteral("respProps"));
    if (respProps.isArray()) {
        const QJsonArray jaProps = respProps.toArray();
        for (const QJsonValue &entry : jaProps) {
            if (!entry.isObject())
                continue;
            const QJsonObject joEntry = entry.toObject();
            KVElementProperty *pProperty = KVElementFactory::createProperty(type());
            if (!pProperty)
                break;
            pProperty->fromJson(readObject(joEntry, QStringLiteral("values")), pContext);
            const KVLayoutKey key(readInt(joEntry, QStringLiteral("hLayoutId"), 0),
                                  readInt(joEntry, QStringLiteral("vLayoutId"), 0));
            delete m_mapProperties.value(key, nullptr);
            m_mapProperties.insert(key, pProperty);
        }
    } else if (KVElementProperty *pProperty = KVElementFactory::createProperty(type())) {
        // Files from before responsive layouts keep the values in the element object itself.
        pProperty->fromJson(jo, pContext);
        m_mapProperties.insert(KVLayoutKey::base(), pProperty);
    }
    // Every element has its base layout, even when the file listed none.
    if (!m_mapProperties.contains(KVLayoutKey::base())) {
        if (KVElementProperty *pProperty = KVElementFactory::createProperty(type()))
            m_mapProperties.insert(KVLayoutKey::base(), pProperty);
    }

    KVEventListenerList::fromJson(readArray(jo, QStringLiteral("events")));

    const QJsonArray jaChildren = readArray(jo, QStringLiteral("children"));
    for (const QJsonValue &entry : jaChildren) {
        if (!entry.isObject())
            continue;
        const QJsonObject joChild = entry.toObject();
        KVElement *pChild = KVElementFactory::createElement(
            readInt(joChild, QStringLiteral("type"), KVElementType::Div));
        if (!pChild)
            continue;
        if (pChild->fromJson(joChild, pContext))
            insertChild(pChild, -1);
        else
            delete pChild;
    }
    return true;
}

void KVElement::toPlayerJson(QJsonObject &jo, bool bForCanvas, const KVLayoutKey &layout)
{
    jo.insert(QStringLiteral("id"), m_nId);
    jo.insert(QStringLiteral("n"), m_strName);
    jo.insert(QStringLiteral("k"), type());

    if (bForCanvas) {
        jo.insert(QStringLiteral("selected"), m_bSelected);
        jo.insert(QStringLiteral("locked"), m_bLocked);
        jo.insert(QStringLiteral("visible"), m_bVisible);
        jo.insert(QStringLiteral("aspectRatioLocked"), m_bAspectRatioLocked);
        if (const KVElementProperty *pProperty = property(layout)) {
            QJsonArray resetKeys;
            pProperty->toPlayerJson(resetKeys, jo, true, false);
        }
    } else {
        // The base layout never overrides: flags it may have picked up are dropped.
        if (KVElementProperty *pBase = m_mapProperties.value(KVLayoutKey::base(), nullptr))
            pBase->takeInheritFlags(true);
        QJsonArray jaLayouts;
        for (auto it = m_mapProperties.cbegin(); it != m_mapProperties.cend(); ++it) {
            const bool bResponsive = !it.key().isBase();
            QJsonArray resetKeys;
            QJsonObject joValues;
            it.value()->toPlayerJson(resetKeys, joValues, false, bResponsive);
            if (bResponsive && !resetKeys.isEmpty())
                joValues.insert(QStringLiteral("or"), resetKeys);
            if (joValues.isEmpty())
                continue;
            jaLayouts.append(QJsonArray{it.key().nHLayoutId, it.key().nVLayoutId, joValues});
        }
        jo.insert(QStringLiteral("rp"), jaLayouts);
    }

    if (!m_listChildren.isEmpty()) {
        QJsonArray jaElems;
        for (KVElement *pChild : qAsConst(m_listChildren)) {
            QJsonObject joChild;
            pChild->toPlayerJson(joChild, bForCanvas, layout);
            jaElems.append(joChild);
        }
        jo.insert(QStringLiteral("elems"), jaElems);
    }
    writePlayerEvents(jo, bForCanvas);
}

void KVElement::collectFonts(KVFontFaces &fonts) const
{
    for (const KVElementProperty *pProperty : m_mapProperties)
        pProperty->collectFonts(fonts);
    for (const KVElement *pChild : m_listChildren)
        pChild->collectFonts(fonts);
}

void KVElement::setCurrentLayout(const KVLayoutKey &layout)
{
    m_currentLayout = layout;
    for (KVElement *pChild : qAsConst(m_listChildren))
        pChild->setCurrentLayout(layout);
}

bool KVElement::uses3D() const
{
    for (const KVElementProperty *pProperty : m_mapProperties) {
        if (pProperty->uses3D())
            return true;
    }
    for (const KVElement *pChild : m_listChildren) {
        if (pChild->uses3D())
            return true;
    }
    return false;
}

void KVElement::countMedia(int &nAudio, int &nVideo) const
{
    const int nType = type();
    if (nType == KVElementType::Audio)
        ++nAudio;
    else if (nType == KVElementType::Video)
        ++nVideo;
    for (const KVElement *pChild : m_listChildren)
        pChild->countMedia(nAudio, nVideo);
}

// --- Layouts -----------------------------------------------------------------------------------

KVElementProperty *KVElement::property(const KVLayoutKey &layout) const
{
    return m_mapProperties.value(resolveLayout(layout), nullptr);
}

bool KVElement::addProperty(KVElementProperty *pProperty, const KVLayoutKey &layout)
{
    const KVLayoutKey key = resolveLayout(layout);
    if (!pProperty || m_mapProperties.contains(key))
        return false;
    m_mapProperties.insert(key, pProperty);
    pProperty->retainResources();
    return true;
}

KVElementProperty *KVElement::takeProperty(const KVLayoutKey &layout)
{
    KVElementProperty *pProperty = m_mapProperties.take(resolveLayout(layout));
    if (pProperty)
        pProperty->releaseResources();
    return pProperty;
}

KVElementProperty *KVElement::replaceProperty(KVElementProperty *pProperty, const KVLayoutKey &layout)
{
    const KVLayoutKey key = resolveLayout(layout);
    KVElementProperty *pOld = m_mapProperties.take(key);
    if (pProperty)
        m_mapProperties.insert(key, pProperty);
    return pOld;
}

void KVElement::clearProperties()
{
    qDeleteAll(m_mapProperties);
    m_mapProperties.clear();
}

KVElementProperty *KVElement::effectiveProperty(int nPropertyCode, const KVLayoutKey &layout) const
{
    const KVLayoutKey key = resolveLayout(layout);
    KVElementProperty *pProperty = m_mapProperties.value(key, nullptr);
    if (key.isBase() || (pProperty && !pProperty->isInherited(nPropertyCode)))
        return pProperty;
    return m_mapProperties.value(KVLayoutKey::base(), nullptr);
}

// Objects are moved and deleted without touching use counts on the way: a deleted object gives its
// count back itself, and a clone takes its own when its fill shows an image.
bool KVElement::syncLayouts(const QList<KVLayoutKey> &keys, bool bKeepOthers,
                            const KVLayoutKey &sourceKey)
{
    bool bOk = true;
    const KVLayoutKey source = resolveLayout(sourceKey);
    KVElementProperty *pSource = m_mapProperties.value(source, nullptr);
    if (!pSource) {
        bOk = false;
    } else {
        QList<KVLayoutKey> wanted = keys;
        for (KVLayoutKey &key : wanted)
            key = resolveLayout(key);
        if (!wanted.contains(KVLayoutKey::base()))
            wanted.append(KVLayoutKey::base());

        const QList<KVLayoutKey> present = m_mapProperties.keys();
        for (const KVLayoutKey &key : present) {
            if (key == source || (bKeepOthers && wanted.contains(key)))
                continue;
            delete m_mapProperties.take(key);
        }
        if (!bKeepOthers) {
            // The source alone is left: its values become the base layout's, which overrides nothing.
            m_mapProperties.remove(source);
            m_mapProperties.insert(KVLayoutKey::base(), pSource);
            pSource->takeInheritFlags(true);
        }
        for (const KVLayoutKey &key : qAsConst(wanted)) {
            if (!m_mapProperties.contains(key))
                addProperty(pSource->clone(), key);
        }
    }
    for (KVElement *pChild : qAsConst(m_listChildren)) {
        if (!pChild->syncLayouts(keys, bKeepOthers, sourceKey))
            bOk = false;
    }
    return bOk;
}

void KVElement::inheritBaseValues()
{
    if (const KVElementProperty *pBase = m_mapProperties.value(KVLayoutKey::base(), nullptr)) {
        for (auto it = m_mapProperties.begin(); it != m_mapProperties.end(); ++it) {
            if (!it.key().isBase())
                it.value()->inheritFrom(*pBase);
        }
    }
    for (KVElement *pChild : qAsConst(m_listChildren))
        pChild->inheritBaseValues();
}

// --- Per-layout accessors ------------------------------------------------------------------------
// Each reads or writes the property object of the layout; without one, getters give the neutral
// value and setters do nothing.

#define KV_LAYOUT_VALUE(Type, ParamType, getter, setter, neutral)                                  \
    Type KVElement::getter(const KVLayoutKey &layout) const                                        \
    {                                                                                              \
        const KVElementProperty *pProperty = property(layout);                                     \
        return pProperty ? pProperty->getter() : (neutral);                                        \
    }                                                                                              \
    void KVElement::setter(ParamType value, const KVLayoutKey &layout)                             \
    {                                                                                              \
        if (KVElementProperty *pProperty = property(layout))                                       \
            pProperty->setter(value);                                                              \
    }

KV_LAYOUT_VALUE(int, int, coordinateType, setCoordinateType, 0)
KV_LAYOUT_VALUE(double, double, sizeW, setSizeW, 0.0)
KV_LAYOUT_VALUE(double, double, sizeH, setSizeH, 0.0)
KV_LAYOUT_VALUE(int, int, unitW, setUnitW, 0)
KV_LAYOUT_VALUE(int, int, unitH, setUnitH, 0)
KV_LAYOUT_VALUE(double, double, positionX, setPositionX, 0.0)
KV_LAYOUT_VALUE(double, double, positionY, setPositionY, 0.0)
KV_LAYOUT_VALUE(int, int, unitX, setUnitX, 0)
KV_LAYOUT_VALUE(int, int, unitY, setUnitY, 0)
KV_LAYOUT_VALUE(double, double, opacity, setOpacity, 0.0)
KV_LAYOUT_VALUE(double, double, originRatioX, setOriginRatioX, 0.0)
KV_LAYOUT_VALUE(double, double, originRatioY, setOriginRatioY, 0.0)
KV_LAYOUT_VALUE(double, double, originZ, setOriginZ, 0.0)
KV_LAYOUT_VALUE(double, double, translateX, setTranslateX, 0.0)
KV_LAYOUT_VALUE(double, double, translateY, setTranslateY, 0.0)
KV_LAYOUT_VALUE(double, double, translateZ, setTranslateZ, 0.0)
KV_LAYOUT_VALUE(QPointF, const QPointF &, translateXY, setTranslateXY, QPointF())
KV_LAYOUT_VALUE(double, double, scaleX, setScaleX, 0.0)
KV_LAYOUT_VALUE(double, double, scaleY, setScaleY, 0.0)
KV_LAYOUT_VALUE(double, double, scaleZ, setScaleZ, 0.0)
KV_LAYOUT_VALUE(double, double, skewX, setSkewX, 0.0)
KV_LAYOUT_VALUE(double, double, skewY, setSkewY, 0.0)
KV_LAYOUT_VALUE(double, double, rotateX, setRotateX, 0.0)
KV_LAYOUT_VALUE(double, double, rotateY, setRotateY, 0.0)
KV_LAYOUT_VALUE(double, double, rotateZ, setRotateZ, 0.0)
KV_LAYOUT_VALUE(int, int, overflow, setOverflow, 0)
KV_LAYOUT_VALUE(int, int, display, setDisplay, 0)
KV_LAYOUT_VALUE(QString, const QString &, cursor, setCursor, QString())
KV_LAYOUT_VALUE(QString, const QString &, title, setTitle, QString())
KV_LAYOUT_VALUE(int, int, tabIndex, setTabIndex, 0)
KV_LAYOUT_VALUE(QString, const QString &, className, setClassName, QString())

#undef KV_LAYOUT_VALUE

#define KV_LAYOUT_GROUP(Type, getter)                                                              \
    Type *KVElement::getter(const KVLayoutKey &layout) const                                       \
    {                                                                                              \
        const KVElementProperty *pProperty = property(layout);                                     \
        return pProperty ? pProperty->getter() : nullptr;                                          \
    }

KV_LAYOUT_GROUP(KVBorder, border)
KV_LAYOUT_GROUP(KVBackground, background)
KV_LAYOUT_GROUP(KVShadow, shadow)
KV_LAYOUT_GROUP(KVFilterEffect, filter)
KV_LAYOUT_GROUP(KVClip, clip)

#undef KV_LAYOUT_GROUP

bool KVElement::isInherited(int nPropertyCode, const KVLayoutKey &layout) const
{
    const KVElementProperty *pProperty = property(layout);
    return pProperty ? pProperty->isInherited(nPropertyCode) : true;
}

bool KVElement::setInherited(int nPropertyCode, bool bInherited, const KVLayoutKey &layout)
{
    KVElementProperty *pProperty = property(layout);
    return pProperty ? pProperty->setInherited(nPropertyCode, bInherited) : true;
}

void KVElement::setInheritFlag(int nPropertyCode, bool bValue, const KVLayoutKey &layout)
{
    if (KVElementProperty *pProperty = property(layout))
        pProperty->setInheritFlag(nPropertyCode, bValue);
}

QMap<int, bool> KVElement::takeInheritFlags(bool bClearOnly, const KVLayoutKey &layout)
{
    KVElementProperty *pProperty = property(layout);
    return pProperty ? pProperty->takeInheritFlags(bClearOnly) : QMap<int, bool>();
}
