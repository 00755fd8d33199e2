#include "KVPlayerData.h"

#include "document/KVDocumentSettings.h"
#include "document/KVSymbol.h"
#include "interaction/KVEventListenerList.h"
#include "interaction/KVFunctionContainer.h"
#include "model/KVBreakpointSet.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"
#include "output/KVLoadScript.h"
#include "output/KVOutputPaths.h"
#include "output/KVScopeInjection.h"
#include "output/KVWebEscape.h"
#include "resources/KVFontResource.h"
#include "resources/KVResourceType.h"

#include "Reporter.h"

#include <QFile>
#include <QJsonDocument>
#include <QRandomGenerator>

namespace {
QString indented(QString str)
{
    return str.replace(QStringLiteral("\n"), QStringLiteral("\n\t"));
}
} // namespace

KVPlayerData::KVPlayerData(const KVPlayerSource *pSource, const QString &strResourcePath)
    : m_pSource(pSource), m_strResourcePath(strResourcePath)
{
}

QString KVPlayerData::compact(const QJsonObject &jo)
{
    return QString::fromUtf8(QJsonDocument(jo).toJson(QJsonDocument::Compact));
}

int KVPlayerData::documentKey(int nScenes, int nRandom, int nTopLevelElements)
{
    return nScenes * 65536 + nRandom * 256 + nTopLevelElements;
}

QJsonArray KVPlayerData::mediaCounts(const QList<KVScene *> &scenes)
{
    int nMaxAudio = 0;
    int nMaxVideo = 0;
    for (const KVScene *pScene : scenes) {
        int nAudio = 0;
        int nVideo = 0;
        pScene->countMedia(nAudio, nVideo);
        nMaxAudio = qMax(nMaxAudio, nAudio);
        nMaxVideo = qMax(nMaxVideo, nVideo);
    }
    return QJsonArray{nMaxAudio, nMaxVideo};
}

QString KVPlayerData::resourceFolder(const KVPlayerSource &source, const Options &options)
{
    if (options.bPreview) {
        if (options.bPreloader)
            return QStringLiteral("../%1/%2%3").arg(QStringLiteral("preloader"), QStringLiteral("preloader"),
                                                    QStringLiteral("_res"));
        return QStringLiteral("../");
    }
    return KVOutputPaths::normalizeFolder(source.strExportResourceFolder);
}

QJsonObject KVPlayerData::loadingIndicatorJson(const KVLoadingIndicator &indicator)
{
    QJsonObject jo = indicator.toJson();
    jo.insert(QStringLiteral("color"), indicator.m_clColor.name(QColor::HexRgb));
    jo.insert(QStringLiteral("shape"), KVLoadingIndicator::shapeName(indicator.m_nShape));
    return jo;
}

QList<KVScene *> KVPlayerData::writtenScenes(bool bCurrentSceneOnly) const
{
    const KVSceneList *pList = m_pSource->pSymbol->sceneList();
    if (!bCurrentSceneOnly)
        return pList->scenes();
    KVScene *pScene = m_pSource->pSymbol->currentScene();
    if (!pScene)
        pScene = pList->at(0);
    return pScene ? QList<KVScene *>{pScene} : QList<KVScene *>();
}

QSet<QString> KVPlayerData::fontFamilies() const
{
    QSet<QString> families;
    for (const KVFontFace &face : m_fontFaces)
        families.insert(face.strFamily);
    return families;
}

void KVPlayerData::collectFonts(const QList<KVScene *> &scenes)
{
    m_fontFaces.clear();
    m_webFontFamilies.clear();
    for (const KVScene *pScene : scenes)
        pScene->collectFonts(m_fontFaces);
    const KVResourceManager *pManager = m_pSource->resourceManager();
    if (!pManager)
        return;
    for (KVResource *pResource : pManager->liveResources(KVResourceType::Font)) {
        const auto *pFont = static_cast<const KVFontResource *>(pResource);
        if (!pFont->webFont())
            continue;
        const QString strFamily = pFont->webFont()->m_strFamily;
        m_webFontFamilies.insert(strFamily.isEmpty() ? QStringLiteral("Arial") : strFamily);
    }
}

QJsonObject KVPlayerData::build(const Options &options)
{
    QJsonObject jo;
    if (!m_pSource || !m_pSource->isValid())
        return jo;
    KVSymbol *pSymbol = m_pSource->pSymbol;
    const QList<KVScene *> scenes = writtenScenes(options.bCurrentSceneOnly);

    if (pSymbol->breakpoints()->hasLayouts())
        jo.insert(QStringLiteral("b"), pSymbol->breakpoints()->toPlayerJson());
    jo.insert(QStringLiteral("v"), 4);
    jo.insert(QStringLiteral("mpv"), 2);
    jo.insert(QStringLiteral("w"), pSymbol->width());
    jo.insert(QStringLiteral("h"), pSymbol->height());
    jo.insert(QStringLiteral("dur"), pSymbol->sceneList()->totalDuration());
    jo.insert(QStringLiteral("mm"), mediaCounts(scenes));
    if (!pSymbol->eventHandlers()->isEmpty())
        jo.insert(options.bPreloader ? QStringLiteral("pe") : QStringLiteral("e"),
                  pSymbol->eventHandlers()->toPlayerEvents());

    if (m_pSource->pSettings->m_bEmbedSystemFont && !options.bPreview)
        collectFonts(scenes);

    QJsonArray jaScenes;
    for (KVScene *pScene : scenes) {
        QJsonObject joScene;
        pScene->toPlayerJson(joScene, false);
        jaScenes.append(joScene);
    }
    jo.insert(QStringLiteral("scenes"), jaScenes);
    const int nTopLevel = scenes.isEmpty() ? 0 : scenes.first()->children().size();
    jo.insert(QStringLiteral("k"), documentKey(options.bCurrentSceneOnly ? 1 : scenes.size(),
                                               QRandomGenerator::global()->bounded(256), nTopLevel));
    const KVResourceManager *pManager = m_pSource->resourceManager();
    jo.insert(QStringLiteral("resources"),
              pManager ? pManager->toPlayerJson(options.bPreview, m_pSource->symbolData) : QJsonArray());
    jo.insert(QStringLiteral("resourceFolder"), resourceFolder(*m_pSource, options));
    jo.insert(QStringLiteral("cssUrl"), KVWebEscape::urlPath(m_pSource->baseName() + QStringLiteral(".css")));
    return jo;
}

QJsonObject KVPlayerData::symbolResourceJson(KVSymbol &symbol)
{
    QJsonObject jo;
    if (symbol.breakpoints()->hasLayouts())
        jo.insert(QStringLiteral("b"), symbol.breakpoints()->toPlayerJson());
    if (!symbol.eventHandlers()->isEmpty())
        jo.insert(QStringLiteral("e"), symbol.eventHandlers()->toPlayerEvents());
    QJsonArray jaScenes;
    for (KVScene *pScene : symbol.sceneList()->scenes()) {
        QJsonObject joScene;
        pScene->toPlayerJson(joScene, false);
        jaScenes.append(joScene);
    }
    jo.insert(QStringLiteral("scenes"), jaScenes);
    jo.insert(QStringLiteral("dur"), symbol.sceneList()->totalDuration());
    jo.insert(QStringLiteral("align"), symbol.align());
    jo.insert(QStringLiteral("af"), symbol.autofit());
    return jo;
}

QString KVPlayerData::buildText(const Options &options)
{
    return compact(build(options));
}

QString KVPlayerData::functionsTable() const
{
    if (!m_pSource || !m_pSource->pSymbol)
        return QStringLiteral("var f = [];");
    return m_pSource->pSymbol->functions()->functionsTable();
}

QString KVPlayerData::dataFileText(const QString &strPlayerData, const QString &strScopeInjection,
                                   const QString &strFunctionsTable)
{
    QString str = QStringLiteral("(function(Kavio) {") + QStringLiteral("\n\t");
    str += QStringLiteral("var docData = ") + strPlayerData + QStringLiteral(";");
    str += QStringLiteral("\n\t");
    str += indented(strScopeInjection);
    str += indented(strFunctionsTable + QStringLiteral("\n") + QStringLiteral("docData.f = f;"));
    str += QStringLiteral("\n\t") + QStringLiteral("Kavio.loadedDocs.push(docData);") + QStringLiteral("\n")
        + QStringLiteral("}(DorunKavio)); ");
    return str;
}

bool KVPlayerData::writeDataFile(const QString &strPath, bool bPreview, bool bCurrentSceneOnly)
{
    Options options;
    options.bPreview = bPreview;
    options.bCurrentSceneOnly = bCurrentSceneOnly;
    const QByteArray data =
        dataFileText(buildText(options), KVScopeInjection::text(m_strResourcePath), functionsTable()).toUtf8();
    QFile file(strPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        Reporter::error(tr("Cannot write data file."));
        return false;
    }
    if (file.write(data) != data.size() || !file.flush()) {
        Reporter::error(tr("Error when writing data file."));
        return false;
    }
    return true;
}

QString KVPlayerData::loadScript(bool bPreview)
{
    if (!m_pSource || !m_pSource->isValid())
        return QString();
    KVDocumentSettings *pSettings = m_pSource->pSettings;
    if (pSettings->m_strContainerId.isEmpty())
        pSettings->m_strContainerId = KVDocumentSettings::newContainerId();
    const KVSymbol *pSymbol = m_pSource->pSymbol;
    if (m_pSource->bIsPreloaderDocument)
        return KVLoadScript::forPreloader(m_pSource->baseName() + QStringLiteral(".js"), pSettings->m_strContainerId,
                                          pSettings->m_bAutoplay, pSymbol->align(), pSymbol->autofit());

    KVLoadScript::Project p;
    p.strDataFile = m_pSource->baseName() + QStringLiteral(".js");
    p.strContainerId = pSettings->m_strContainerId;
    p.bAutoplay = pSettings->m_bAutoplay;
    p.nAlign = pSymbol->align();
    p.bAutofit = pSymbol->autofit();
    p.bPlayControl = m_pSource->pSettings->m_bPlayControl;
    if (pSettings->m_strClickTag != KVDocumentSettings::defaultClickTag())
        p.strClickTag = pSettings->m_strClickTag;
    p.nLoaderType = pSettings->m_nLoaderType;
    if (p.nLoaderType == 0) {
        p.strLoadingIndicator = KVWebEscape::jsonInScript(compact(loadingIndicatorJson(pSettings->m_defaultLoadingIndicator)));
    } else if (const KVPlayerSource *pPreloader = m_pSource->pPreloader) {
        KVPlayerData preloaderData(pPreloader, m_strResourcePath);
        Options options;
        options.bPreview = bPreview;
        options.bPreloader = true;
        p.bHasPreloader = true;
        p.strPreloaderData = KVWebEscape::jsonInScript(preloaderData.buildText(options));
        p.strScopeInjection = KVScopeInjection::text(m_strResourcePath);
        p.strPreloaderFunctions = preloaderData.functionsTable();
        p.bPreloaderUsesIndicator = pPreloader->bUseLoadingIndicator;
        p.strPreloaderIndicator = KVWebEscape::jsonInScript(compact(loadingIndicatorJson(pPreloader->loadingIndicator)));
    }
    return KVLoadScript::forProject(p);
}
