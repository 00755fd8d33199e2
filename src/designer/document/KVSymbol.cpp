#include "KVSymbol.h"

#include "animation/KVTimeline.h"
#include "animation/KVTimelineList.h"
#include "interaction/KVEventListenerList.h"
#include "interaction/KVFunctionContainer.h"
#include "model/KVBreakpointSet.h"
#include "model/KVJsonUtil.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"
#include "resources/KVResourceManager.h"

#include <QJsonArray>

using namespace KVJsonUtil;

namespace {
const QString kAuthor = QStringLiteral("author");
const QString kCreated = QStringLiteral("created");
const QString kModified = QStringLiteral("modified");
const QString kModifiedBy = QStringLiteral("modifiedBy");
const QString kWidth = QStringLiteral("width");
const QString kHeight = QStringLiteral("height");
const QString kAlign = QStringLiteral("align");
const QString kTitle = QStringLiteral("title");
const QString kDescription = QStringLiteral("description");
const QString kKeywords = QStringLiteral("keywords");
const QString kAutofit = QStringLiteral("autofit");
const QString kScenes = QStringLiteral("scenes");
const QString kEvents = QStringLiteral("events");
const QString kLayoutBreakpoints = QStringLiteral("layoutBreakpoints");

constexpr int kDefaultWidth = 800;
constexpr int kDefaultHeight = 600;

QString dateToJson(const QDateTime &dt, bool bUtc)
{
    if (!dt.isValid())
        return QString();
    return (bUtc ? dt.toUTC() : dt).toString(Qt::ISODate);
}

QDateTime dateFromJson(const QJsonObject &jo, const QString &strKey)
{
    return QDateTime::fromString(readString(jo, strKey), Qt::ISODate);
}

// A value the object did not keep shows only as a missing key.
bool insertChecked(QJsonObject &jo, const QString &strKey, const QJsonValue &value)
{
    jo.insert(strKey, value);
    return jo.contains(strKey);
}
} // namespace

KVSymbol::KVSymbol()
    : m_pSceneList(new KVSceneList),
      m_pBreakpoints(new KVBreakpointSet),
      m_pFunctions(new KVFunctionContainer),
      m_pResourceManager(new KVResourceManager),
      m_pEventHandlers(new KVEventListenerList)
{
    m_pSceneList->setStageSize(QSize(m_nWidth, m_nHeight));
}

KVSymbol::~KVSymbol()
{
    // Scenes hold resources and functions by id only, but their fills release images through the
    // resource manager while they go: the scenes go first.
    delete m_pSceneList;
    delete m_pEventHandlers;
    delete m_pBreakpoints;
    delete m_pFunctions;
    delete m_pResourceManager;
}

KVScene *KVSymbol::currentScene() const
{
    // The scene set last, while it is in the list and the selection has not moved away from it;
    // else the first selected scene, else the first scene. So a scene removed from the list, or a
    // selection that a command changed or put back, takes the stage along.
    KVScene *pScene = m_pCurrentScene.data();
    const bool bListed = pScene && m_pSceneList->indexOf(pScene) >= 0;
    const QList<KVScene *> &selected = m_pSceneList->selectedScenes();
    if (bListed && (selected.isEmpty() || pScene->isSelected()))
        return pScene;
    if (!selected.isEmpty())
        return selected.constFirst();
    return m_pSceneList->at(0);
}

bool KVSymbol::setCurrentScene(KVScene *pScene)
{
    if (pScene && m_pSceneList->indexOf(pScene) < 0)
        return false;
    m_pCurrentScene = pScene;
    return true;
}

void KVSymbol::setWidth(int n)
{
    m_nWidth = n;
    m_pSceneList->setStageSize(QSize(m_nWidth, m_nHeight));
}

void KVSymbol::setHeight(int n)
{
    m_nHeight = n;
    m_pSceneList->setStageSize(QSize(m_nWidth, m_nHeight));
}

int KVSymbol::elementCount() const
{
    int nCount = 0;
    for (const KVScene *pScene : m_pSceneList->scenes()) {
        for (const KVElement *pChild : pScene->children())
            pChild->forEachInSubtree([&nCount](const KVElement *) { ++nCount; });
    }
    return nCount;
}

int KVSymbol::timelineCount() const
{
    int nCount = 0;
    for (const KVScene *pScene : m_pSceneList->scenes())
        nCount += pScene->timelines()->count();
    return nCount;
}

int KVSymbol::animationCount() const
{
    int nCount = 0;
    for (const KVScene *pScene : m_pSceneList->scenes()) {
        for (const KVTimeline *pTimeline : pScene->timelines()->timelines()) {
            const auto &layouts = pTimeline->layoutAnimations();
            for (auto it = layouts.cbegin(); it != layouts.cend(); ++it)
                nCount += it->size();
        }
    }
    return nCount;
}

bool KVSymbol::writeSymbolData(QJsonObject &jo) const
{
    jo.insert(kAuthor, m_strAuthor);
    jo.insert(kCreated, dateToJson(m_dtCreated, true));
    jo.insert(kModified, dateToJson(m_dtModified, false));
    jo.insert(kModifiedBy, m_strModifiedBy);
    jo.insert(kWidth, m_nWidth);
    jo.insert(kHeight, m_nHeight);
    jo.insert(kAlign, m_nAlign);
    jo.insert(kTitle, m_strTitle);
    jo.insert(kDescription, m_strDescription);
    jo.insert(kKeywords, m_strKeywords);
    jo.insert(kAutofit, m_bAutofit);

    QJsonArray jaScenes;
    for (const KVScene *pScene : m_pSceneList->scenes()) {
        QJsonObject joScene;
        pScene->toJson(joScene);
        jaScenes.append(joScene);
        if (jaScenes.size() != m_pSceneList->indexOf(pScene) + 1)
            return false;
    }
    return insertChecked(jo, kScenes, jaScenes)
        && insertChecked(jo, kEvents, m_pEventHandlers->toJson())
        && insertChecked(jo, kLayoutBreakpoints, m_pBreakpoints->toJson());
}

KVScene *KVSymbol::readScene(const QJsonObject &joScene, const IKVDocumentContext *pContext)
{
    KVScene *pScene = m_pSceneList->createScene();
    if (!pScene->fromJson(joScene, pContext)) {
        delete pScene;
        return nullptr;
    }
    return pScene;
}

bool KVSymbol::readSymbolData(const QJsonObject &jo, const IKVDocumentContext *pContext)
{
    clearSymbolData();

    m_strAuthor = readString(jo, kAuthor);
    m_dtCreated = dateFromJson(jo, kCreated);
    m_dtModified = dateFromJson(jo, kModified);
    m_strModifiedBy = readString(jo, kModifiedBy);
    m_nWidth = readInt(jo, kWidth, kDefaultWidth);
    m_nHeight = readInt(jo, kHeight, kDefaultHeight);
    m_pSceneList->setStageSize(QSize(m_nWidth, m_nHeight));
    m_nAlign = readInt(jo, kAlign, 0);
    m_strTitle = readString(jo, kTitle);
    m_strDescription = readString(jo, kDescription);
    m_strKeywords = readString(jo, kKeywords);
    m_bAutofit = readBool(jo, kAutofit, false);

    const QJsonValue events = jo.value(kEvents);
    if (!events.isUndefined() && !events.isNull())
        m_pEventHandlers->fromJson(events.toArray());

    const QJsonArray jaScenes = readArray(jo, kScenes);
    for (const QJsonValue &value : jaScenes) {
        if (!value.isObject())
            continue;
        KVScene *pScene = readScene(value.toObject(), pContext);
        if (!pScene)
            return false;
        const QString strRead = pScene->name();
        m_pSceneList->addScene(pScene);
        if (!strRead.isEmpty() && pScene->name() != strRead)
            m_readRepairs << tr("Scene name \"%1\" is used more than once; the scene is now \"%2\".")
                                 .arg(strRead, pScene->name());
    }
    if (!currentScene() && m_pSceneList->count() > 0)
        m_pCurrentScene = m_pSceneList->at(0);

    m_pBreakpoints->fromJson(jo.value(kLayoutBreakpoints));
    fillLayouts();
    m_pSceneList->setCurrentLayout(m_pBreakpoints->currentLayout());
    return true;
}

void KVSymbol::fillLayouts()
{
    const QList<KVLayoutKey> keys = m_pBreakpoints->layouts();
    for (int i = 0; i < m_pSceneList->count(); ++i) {
        KVScene *pScene = m_pSceneList->at(i);
        pScene->syncLayouts(keys, true, KVLayoutKey::base());
        pScene->inheritBaseValues();
    }
}

void KVSymbol::clearSymbolData()
{
    m_readRepairs.clear();
    m_pCurrentScene = nullptr;
    while (m_pSceneList->count() > 0) {
        KVScene *pScene = m_pSceneList->at(m_pSceneList->count() - 1);
        m_pSceneList->removeScene(pScene);
        delete pScene;
    }
    m_pSceneList->setNextSceneId(1);
    m_pEventHandlers->clear();
    m_pBreakpoints->clear();
    m_strAuthor.clear();
    m_dtCreated = QDateTime();
    m_dtModified = QDateTime();
    m_strModifiedBy.clear();
    m_nWidth = kDefaultWidth;
    m_nHeight = kDefaultHeight;
    m_pSceneList->setStageSize(QSize(m_nWidth, m_nHeight));
    m_nAlign = 4;
    m_strTitle.clear();
    m_strDescription.clear();
    m_strKeywords.clear();
    m_bAutofit = false;
}
