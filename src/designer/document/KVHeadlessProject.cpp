#include "KVHeadlessProject.h"

#include "document/KVProjectSwitch.h"

#include "animation/KVTimeline.h"
#include "animation/KVTimelineList.h"
#include "interaction/KVActionCatalogue.h"
#include "interaction/KVEventCatalogue.h"
#include "interaction/KVEventListenerList.h"
#include "interaction/KVFunctionContainer.h"
#include "model/KVElementFactory.h"
#include "model/KVJsonUtil.h"
#include "model/KVSceneList.h"
#include "resources/KVFirstFormatFiles.h"
#include "resources/KVResourceManager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

KVHeadlessProject::KVHeadlessProject(const QString &strFileName)
    : m_strFileName(strFileName), m_projectFile(this, &m_settings, this)
{
    resourceManager()->setContext(this);
}

KVHeadlessProject::~KVHeadlessProject()
{
    // The scenes release their images through the resource manager, which asks this context.
    clearSymbolData();
    resourceManager()->setContext(nullptr);
}

bool KVHeadlessProject::open()
{
    m_problems.clear();
    // A save over this project that was interrupted is completed or undone first, as the editor does.
    const KVProjectSwitch::Outcome switched = KVProjectSwitch::finish(m_strFileName);
    QJsonObject joTop;
    if (!m_projectFile.readFile(m_strFileName, &joTop))
        return false;
    findProblems(joTop);
    if (switched != KVProjectSwitch::Nothing)
        m_problems.prepend(KVProjectSwitch::describe(switched));
    return true;
}

bool KVHeadlessProject::save(const QString &strPath)
{
    // Files a first-format project kept beside it move into the resource folder with this save.
    if ((strPath.isEmpty() || strPath == m_strFileName) && !KVFirstFormatFiles::migrate(resourceManager()))
        return false;
    return m_projectFile.writeFile(strPath.isEmpty() ? m_strFileName : strPath);
}

QString KVHeadlessProject::summary() const
{
    return QStringLiteral("scenes=%1 elements=%2 timelines=%3 animations=%4 resources=%5 functions=%6")
        .arg(sceneList()->count())
        .arg(elementCount())
        .arg(timelineCount())
        .arg(animationCount())
        .arg(resourceManager()->liveResources().size())
        .arg(functions()->count());
}

KVImageUseCounter *KVHeadlessProject::imageUseCounter() const
{
    return resourceManager();
}

QString KVHeadlessProject::projectFolderPath() const
{
    if (m_strFileName.isEmpty())
        return QString();
    return QFileInfo(m_strFileName).absolutePath();
}

QString KVHeadlessProject::resourceFolderPath() const
{
    if (m_strFileName.isEmpty())
        return QString();
    const QFileInfo info(m_strFileName);
    return info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral("_res");
}

void KVHeadlessProject::findProblems(const QJsonObject &joTop)
{
    for (const QString &strName : m_projectFile.outsideResources())
        m_problems << KVProjectFile::outsideMessage(strName);
    for (const QString &strFile : m_projectFile.missingFiles())
        m_problems << tr("missing resource file: %1").arg(strFile);

    m_problems << readRepairs();
    checkHandlers(eventHandlers(), tr("document"));
    for (const KVScene *pScene : sceneList()->scenes()) {
        const QString strScene = tr("scene \"%1\"").arg(pScene->name());
        for (const QString &strRepair : pScene->readRepairs())
            m_problems << tr("%1: %2").arg(strScene, strRepair);
        pScene->forEachInSubtree([this, pScene, &strScene](const KVElement *pElement) {
            checkHandlers(pElement, pElement == pScene ? strScene
                                                       : tr("%1, element \"%2\"").arg(strScene, pElement->name()));
        });
        for (const KVTimeline *pTimeline : pScene->timelines()->timelines()) {
            const QString strTimeline = tr("%1, timeline \"%2\"").arg(strScene, pTimeline->name());
            checkHandlers(pTimeline->events(), strTimeline);
            for (const KVEventListenerList *pTrigger : pTimeline->triggers())
                checkHandlers(pTrigger, tr("%1, trigger at %2 ms").arg(strTimeline, QString::number(pTrigger->triggerTime())));
        }
    }

    // Scenes are read in file order, one per object of "scenes".
    const QJsonArray jaScenes = KVJsonUtil::readArray(KVJsonUtil::readObject(joTop, QStringLiteral("document")),
                                                      QStringLiteral("scenes"));
    int nScene = 0;
    for (const QJsonValue &value : jaScenes) {
        if (!value.isObject())
            continue;
        if (const KVScene *pScene = sceneList()->at(nScene++))
            checkSkippedElements(pScene, pScene, KVJsonUtil::readArray(value.toObject(), QStringLiteral("children")));
    }
}

void KVHeadlessProject::checkHandlers(const KVEventListenerList *pList, const QString &strOwner)
{
    for (const KVEventListener *pHandler : pList->handlers()) {
        if (!KVEventCatalogue::isKnown(pHandler->event()))
            m_problems << tr("%1: unknown event code %2 kept").arg(strOwner, QString::number(pHandler->event()));
        if (!KVActionCatalogue::isKnown(pHandler->action()))
            m_problems << tr("%1: unknown action code %2 kept").arg(strOwner, QString::number(pHandler->action()));
    }
}

void KVHeadlessProject::checkSkippedElements(const KVScene *pScene, const KVElement *pParent,
                                             const QJsonArray &jaChildren)
{
    // The reader keeps the children it can make in file order, so the file's entries and the
    // element's children are walked side by side.
    const QList<KVElement *> &children = pParent->children();
    int nNext = 0;
    for (const QJsonValue &value : jaChildren) {
        if (!value.isObject())
            continue;
        const QJsonObject joChild = value.toObject();
        const int nType = KVJsonUtil::readInt(joChild, QStringLiteral("type"), 5);
        const KVElement *pElement = children.value(nNext);
        if (!pElement || pElement->type() != nType) {
            const QString strKind = KVElementFactory::typeName(nType);
            m_problems << tr("scene \"%1\": element \"%2\" of type %3 cannot be read and was left out")
                              .arg(pScene->name(), KVJsonUtil::readString(joChild, QStringLiteral("name")),
                                   strKind.isEmpty() ? QString::number(nType)
                                                     : QStringLiteral("%1 (%2)").arg(nType).arg(strKind));
            continue; // its children went with it
        }
        ++nNext;
        checkSkippedElements(pScene, pElement, KVJsonUtil::readArray(joChild, QStringLiteral("children")));
    }
}
