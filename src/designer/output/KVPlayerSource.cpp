#include "KVPlayerSource.h"

#include "document/KVDocument.h"
#include "document/KVPreloader.h"
#include "document/KVSymbol.h"

#include <QFileInfo>

QString KVPlayerSource::baseName() const
{
    return QFileInfo(strProjectFile).completeBaseName();
}

QString KVPlayerSource::projectFolder() const
{
    return QFileInfo(strProjectFile).absolutePath();
}

QString KVPlayerSource::resourceFolder() const
{
    return projectFolder() + QLatin1Char('/') + baseName() + QStringLiteral("_res");
}

KVResourceManager *KVPlayerSource::resourceManager() const
{
    return pSymbol ? pSymbol->resourceManager() : nullptr;
}

KVDocumentPlayerSource::KVDocumentPlayerSource(KVDocument *pDocument)
{
    if (!pDocument)
        return;
    m_project.pSymbol = pDocument;
    m_project.pSettings = &pDocument->settings();
    m_project.strProjectFile = pDocument->getFileName();
    m_project.strExportResourceFolder = pDocument->settings().m_strResFolderHtml5Output;
    m_project.bIsPreloaderDocument = qobject_cast<KVPreloader *>(pDocument) != nullptr;
    m_symbols.load(pDocument->resourceManager(), pDocument);
    m_symbols.attach(*pDocument, true);
    m_project.symbolData = m_symbols.writer();
    if (KVPreloader *pPreloader = pDocument->preloaderDocument()) {
        m_preloader.pSymbol = pPreloader;
        m_preloader.pSettings = &pPreloader->settings();
        m_preloader.strProjectFile = pPreloader->getFileName();
        m_preloader.strExportResourceFolder = pDocument->settings().m_strPreResFolderHtml5Output;
        m_preloader.bUseLoadingIndicator = pPreloader->useLoadingIndicator();
        m_preloader.loadingIndicator = pPreloader->loadingIndicator();
        m_project.pPreloader = &m_preloader;
    }
}
