#include "KVSceneList.h"

#include <limits>

#include "animation/KVTimeline.h"
#include "model/KVScene.h"

#include <algorithm>
#include <vector>

namespace {

QString numbered(const QString &strStem, int n)
{
    return QStringLiteral("%1_%2").arg(strStem).arg(n);
}

// The length a main timeline adds to the sequence.
int playLength(const KVScene *pScene)
{
    const KVTimeline *pMain = pScene->mainTimeline();
    return pMain ? std::max(0, pMain->totalDuration()) : 0;
}

} // namespace

KVSceneList::KVSceneList(QObject *pOwner, QObject *pParent)
    : QObject(pParent), m_pOwner(pOwner)
{
}

KVSceneList::~KVSceneList()
{
    const QList<KVScene *> scenes = m_listScenes;
    m_listScenes.clear();
    m_listSelected.clear();
    for (KVScene *pScene : scenes) {
        pScene->setSceneList(nullptr);
        delete pScene;
    }
}

int KVSceneList::indexOf(const KVScene *pScene) const
{
    return m_listScenes.indexOf(const_cast<KVScene *>(pScene));
}

KVScene *KVSceneList::findScene(int nId) const
{
    for (KVScene *pScene : m_listScenes) {
        if (pScene->id() == nId)
            return pScene;
    }
    return nullptr;
}

KVScene *KVSceneList::findSceneByName(const QString &strName) const
{
    for (KVScene *pScene : m_listScenes) {
        if (pScene->name() == strName)
            return pScene;
    }
    return nullptr;
}

KVScene *KVSceneList::createScene() const
{
    auto *pScene = new KVScene;
    pScene->init();
    pScene->setSizeW(m_stageSize.width(), KVLayoutKey::base());
    pScene->setSizeH(m_stageSize.height(), KVLayoutKey::base());
    return pScene;
}

int KVSceneList::addScene(KVScene *pScene, int nIndex)
{
    if (!pScene || m_listScenes.contains(pScene))
        return -1;
    const int nId = pScene->id();
    // Ids count up; after the largest an int holds (a damaged file) they go on from 1, skipping
    // those in use.
    const auto after = [](int n) { return n < std::numeric_limits<int>::max() ? std::max(1, n + 1) : 1; };
    if (nId < 1 || findScene(nId)) {
        while (m_nNextSceneId < 1 || findScene(m_nNextSceneId))
            m_nNextSceneId = after(m_nNextSceneId);
        pScene->setId(m_nNextSceneId);
        m_nNextSceneId = after(m_nNextSceneId);
    } else if (m_nNextSceneId <= nId) {
        m_nNextSceneId = after(nId);
    }
    pScene->setCurrentLayout(m_currentLayout);
    if (pScene->isSelected() && !m_listSelected.contains(pScene))
        m_listSelected.append(pScene);
    // A scene in another list leaves it first.
    if (KVSceneList *pOther = pScene->sceneList(); pOther && pOther != this)
        pOther->removeScene(pScene);
    pScene->setSceneList(this);
    if (nIndex < 0 || nIndex > m_listScenes.size())
        nIndex = m_listScenes.size();
    m_listScenes.insert(nIndex, pScene);
    pScene->makeUniqueName();
    return nIndex;
}

int KVSceneList::removeScene(KVScene *pScene)
{
    const int nIndex = indexOf(pScene);
    if (nIndex < 0)
        return -1;
    pScene->setSceneList(nullptr);
    m_listScenes.removeAt(nIndex);
    m_listSelected.removeAll(pScene);
    return nIndex;
}

bool KVSceneList::moveScene(int nFrom, int nTo)
{
    const int nCount = m_listScenes.size();
    if (nFrom < 0 || nTo < 0 || nFrom >= nCount || nTo > nCount)
        return false;
    // Before itself or before its successor, the scene stays where it is.
    if (nTo == nFrom || nTo == nFrom + 1)
        return true;
    KVScene *pScene = m_listScenes.takeAt(nFrom);
    m_listScenes.insert(nFrom < nTo ? nTo - 1 : nTo, pScene);
    return true;
}

bool KVSceneList::isSceneNameTaken(const QString &strName, const KVScene *pExcept) const
{
    return std::any_of(m_listScenes.cbegin(), m_listScenes.cend(), [&](const KVScene *pScene) {
        return pScene != pExcept && pScene->name() == strName;
    });
}

QString KVSceneList::uniqueSceneName(const KVScene *pScene) const
{
    const QString strName = pScene ? pScene->name() : QString();
    if (!strName.isEmpty() && !isSceneNameTaken(strName, pScene))
        return strName;
    const QString strStem = strName.isEmpty() ? QStringLiteral("Scene") : strName;
    // One pass collects the suffixes in use for the stem, so that naming a scene costs the same
    // however many scenes share its name.
    const QString strPrefix = strStem + QLatin1Char('_');
    std::vector<bool> taken(size_t(m_listScenes.size()) + 2, false);
    for (const KVScene *pOther : m_listScenes) {
        if (pOther == pScene)
            continue;
        const QString &strOther = pOther->name();
        if (strOther.size() <= strPrefix.size() || !strOther.startsWith(strPrefix))
            continue;
        // Only the form numbered() writes counts: decimal digits without a leading zero.
        size_t n = 0;
        for (int i = strPrefix.size(); i < strOther.size() && n < taken.size(); ++i) {
            const QChar c = strOther.at(i);
            if (c < QLatin1Char('0') || c > QLatin1Char('9') || (n == 0 && c == QLatin1Char('0'))) {
                n = 0;
                break;
            }
            n = n * 10 + size_t(c.unicode() - '0');
        }
        if (n >= 1 && n < taken.size())
            taken[n] = true;
    }
    size_t n = 1;
    while (taken[n])
        ++n;
    return numbered(strStem, int(n));
}

bool KVSceneList::setSceneSelected(KVScene *pScene, bool bSelected)
{
    if (indexOf(pScene) < 0)
        return false;
    pScene->setSelected(bSelected);
    if (!bSelected)
        m_listSelected.removeAll(pScene);
    else if (!m_listSelected.contains(pScene))
        m_listSelected.append(pScene);
    return true;
}

void KVSceneList::clearSelection()
{
    for (KVScene *pScene : qAsConst(m_listSelected))
        pScene->setSelected(false);
    m_listSelected.clear();
}

void KVSceneList::recountSceneIds()
{
    int nLargest = 0;
    for (const KVScene *pScene : qAsConst(m_listScenes))
        nLargest = std::max(nLargest, pScene->id());
    m_nNextSceneId = nLargest < std::numeric_limits<int>::max() ? nLargest + 1 : 1;
}

void KVSceneList::setCurrentLayout(const KVLayoutKey &layout)
{
    m_currentLayout = layout;
    for (KVScene *pScene : qAsConst(m_listScenes))
        pScene->setCurrentLayout(layout);
}

int KVSceneList::totalDuration() const
{
    int nTotal = 0;
    for (const KVScene *pScene : m_listScenes)
        nTotal += playLength(pScene) + pScene->effectiveTransitionDuration();
    return nTotal;
}

int KVSceneList::labelTime(const QString &strName) const
{
    int nOffset = 0;
    for (const KVScene *pScene : m_listScenes) {
        nOffset += pScene->effectiveTransitionDuration();
        const KVTimeline *pMain = pScene->mainTimeline();
        if (pMain) {
            const auto it = pMain->labels().constFind(strName);
            if (it != pMain->labels().cend())
                return it.value() + nOffset;
        }
        nOffset += playLength(pScene);
    }
    return -1;
}
