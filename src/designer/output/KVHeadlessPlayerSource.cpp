#include "KVHeadlessPlayerSource.h"

#include "document/KVHeadlessProject.h"
#include "document/KVProjectPaths.h"

#include "Reporter.h"

#include <QFileInfo>
#include <QJsonObject>

KVHeadlessPlayerSource::KVHeadlessPlayerSource() = default;

KVHeadlessPlayerSource::~KVHeadlessPlayerSource() = default;

bool KVHeadlessPlayerSource::open(const QString &strProjectFile)
{
    m_source = KVPlayerSource();
    m_preloaderSource = KVPlayerSource();
    m_pPreloader.reset();
    m_symbols.clear();
    m_pProject.reset(new KVHeadlessProject(QFileInfo(strProjectFile).absoluteFilePath()));
    // The symbols are read after the resources and before the scenes that play them.
    KVHeadlessProject *pProject = m_pProject.get();
    pProject->projectFile().setSymbolResourceLoader([this, pProject] {
        if (m_symbols.load(pProject->resourceManager(), pProject))
            return true;
        for (const QString &strError : m_symbols.errors())
            Reporter::error(strError);
        return false;
    });
    if (!m_pProject->open())
        return false;
    m_symbols.attach(*pProject);
    m_source.symbolData = m_symbols.writer();
    m_source.pSymbol = m_pProject.get();
    m_source.pSettings = &m_pProject->settings();
    m_source.strProjectFile = m_pProject->fileName();
    m_source.strExportResourceFolder = m_pProject->settings().m_strResFolderHtml5Output;

    const KVProjectPaths paths(m_pProject->fileName());
    if (!m_pProject->settings().m_bHasCustomLoader || !QFileInfo::exists(paths.preloaderFile()))
        return true;
    if (!KVProjectPaths::isInFolder(paths.preloaderFile(), paths.folder())) {
        Reporter::warning(KVProjectFile::outsideMessage(tr("The custom preloader")));
        return true;
    }
    m_pPreloader.reset(new KVHeadlessProject(paths.preloaderFile()));
    QJsonObject joTop;
    if (!m_pPreloader->projectFile().readFile(paths.preloaderFile(), &joTop)) {
        Reporter::warning(tr("The custom preloader cannot be read; the project is exported without it."));
        m_pPreloader.reset();
        return true;
    }
    m_preloaderSource.pSymbol = m_pPreloader.get();
    m_preloaderSource.pSettings = &m_pPreloader->settings();
    m_preloaderSource.strProjectFile = paths.preloaderFile();
    m_preloaderSource.strExportResourceFolder = m_pProject->settings().m_strPreResFolderHtml5Output;
    m_preloaderSource.loadingIndicator =
        KVLoadingIndicator::fromJson(joTop.value(QLatin1String("loadingIndicatorProps")).toObject());
    m_preloaderSource.bUseLoadingIndicator = joTop.value(QLatin1String("useLoadingIndicator")).toBool(false);
    m_source.pPreloader = &m_preloaderSource;
    return true;
}

QStringList KVHeadlessPlayerSource::problems() const
{
    QStringList out;
    if (m_pProject)
        out = m_pProject->problems();
    return out + m_symbols.repairs();
}
