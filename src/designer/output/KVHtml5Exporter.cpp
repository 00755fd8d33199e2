#include "KVHtml5Exporter.h"

#include "output/KVClickTag.h"

#include "document/KVDocument.h"
#include "document/KVDocumentSettings.h"
#include "document/KVSymbol.h"
#include "model/KVBreakpointSet.h"
#include "output/KVExportArchive.h"
#include "output/KVLoadScript.h"
#include "output/KVOutputPaths.h"
#include "output/KVPageTemplate.h"
#include "output/KVPlayerData.h"
#include "output/KVSystemFontEmbedder.h"
#include "resources/IKVProgress.h"
#include "resources/KVFileCopier.h"
#include "resources/KVFontResource.h"
#include "resources/KVOtherResource.h"
#include "resources/KVResource.h"
#include "resources/KVResourceManager.h"
#include "resources/KVResourceType.h"
#include "resources/MediaResource.h"

#include "Reporter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QtDebug>

#include <cstdio>

namespace {
const char *const kPlayerScript = "kvplayer.js";
const char *const kPageTemplate = "kvplayer.html";
const char *const kStyleTemplate = "kvplayer.css";

// Whether an exported file name stays a plain name inside its folder.
bool isPlainFileName(const QString &strName)
{
    return !strName.isEmpty() && strName != QLatin1String(".") && strName != QLatin1String("..")
        && !strName.contains(QLatin1Char('/')) && !strName.contains(QLatin1Char('\\'));
}
} // namespace

KVHtml5Exporter::KVHtml5Exporter(KVPlayerSource *pSource)
    : m_pSource(pSource), m_systemFontWriter(&KVSystemFontEmbedder::write)
{
}

KVHtml5Exporter::~KVHtml5Exporter() = default;

QString KVHtml5Exporter::playerFolder() const
{
    return m_strPlayerFolder.isEmpty() ? KVOutputPaths::playerFolder(m_strResourcePath) : m_strPlayerFolder;
}

int KVHtml5Exporter::askToOpen()
{
    return Reporter::instance()->choose(tr("Export to HTML5"),
                                        tr("The project was exported successfully. Do you want open it?"),
                                        {tr("Open"), tr("Open Folder"), tr("Cancel")}, 0);
}

void KVHtml5Exporter::noteWritten(const QString &strRelative)
{
    if (!m_writtenFiles.contains(strRelative))
        m_writtenFiles.append(strRelative);
    m_nWrittenBytes += QFileInfo(m_strFolder + QLatin1Char('/') + strRelative).size();
}

bool KVHtml5Exporter::exportTo(const QString &strFolder)
{
    m_writtenFiles.clear();
    m_nWrittenBytes = 0;
    m_bCanceled = false;
    m_strPagePath.clear();
    m_strArchivePath.clear();
    if (!m_pSource || !m_pSource->isValid())
        return false;
    if (!m_bPreview && KVExportArchive::isArchivePath(strFolder))
        return exportArchive(QFileInfo(strFolder).absoluteFilePath());
    return exportFolder(strFolder);
}

bool KVHtml5Exporter::exportArchive(const QString &strZip)
{
    // The site is written into a folder of its own first and packed from there.
    QTemporaryDir work;
    if (!work.isValid()) {
        Reporter::error(tr("Cannot write the ZIP file %1.").arg(QDir::toNativeSeparators(strZip)));
        return false;
    }
    const QString strSite = work.path() + QStringLiteral("/site");
    if (!exportFolder(strSite))
        return false;
    const QString strPageName = QFileInfo(m_strPagePath).fileName();
    // The page goes first, so that a listing of the archive shows it at the top; the rest in name
    // order.
    QStringList files = m_writtenFiles;
    files.removeAll(strPageName);
    files.sort();
    files.prepend(strPageName);
    if (!KVExportArchive::write(strSite, files, strZip)) {
        m_strPagePath.clear();
        return false;
    }
    m_writtenFiles = files;
    m_nWrittenBytes = QFileInfo(strZip).size();
    m_strPagePath = strPageName;
    m_strArchivePath = strZip;
    return true;
}

bool KVHtml5Exporter::exportFolder(const QString &strFolder)
{
    // Every layout the page may pick gets the geometry of every element.
    m_pSource->pSymbol->fillLayouts();
    const QString strTarget = QDir::cleanPath(QFileInfo(strFolder).absoluteFilePath());
    m_strFolder = strTarget;

    if (!checkResourceFolder())
        return false;
    const QFileInfo target(strTarget);
    const QString strParent = target.absolutePath();
    if ((target.exists() && !target.isDir()) || !QDir().mkpath(strParent)) {
        Reporter::error(tr("Cannot create the export folder %1.").arg(QDir::toNativeSeparators(strTarget)));
        return false;
    }
    for (const QString &strSetting : {m_pSource->pSettings->m_strResFolderHtml5Output,
                                      m_pSource->pSettings->m_strPreResFolderHtml5Output}) {
        const QString strProblem = KVOutputPaths::folderProblem(strSetting);
        if (!strProblem.isEmpty()) {
            Reporter::error(strProblem);
            return false;
        }
    }

    // Everything is written into a folder beside the target and moved into place only when the
    // whole export is there: a failure or a cancel leaves the target as it was.
    QString strWork;
    for (int nTry = 0; nTry < 16 && strWork.isEmpty(); ++nTry) {
        const QString strCandidate = QStringLiteral("%1/.%2.part-%3")
                                         .arg(strParent, target.fileName())
                                         .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        if (!QFileInfo::exists(strCandidate) && QDir().mkdir(strCandidate))
            strWork = strCandidate;
    }
    if (strWork.isEmpty()) {
        Reporter::error(tr("Cannot create the export folder %1.").arg(QDir::toNativeSeparators(strTarget)));
        return false;
    }
    m_strFolder = strWork;
    QString strRules;
    const bool bEmbedFonts = m_pSource->pSettings->m_bEmbedSystemFont && !m_bPreview;
    const bool bWritten = copyPlayer() && writePage() && writeDataFile() && (m_bPreview || exportResources())
        && (!bEmbedFonts || embedSystemFonts(strTarget, strRules)) && writeStyleSheet(strRules)
        && moveIntoPlace(strWork, strTarget, bEmbedFonts);
    QDir(strWork).removeRecursively();
    m_strFolder = strTarget;
    if (!bWritten) {
        m_strPagePath.clear();
        return false;
    }
    m_strPagePath = strTarget + QLatin1Char('/') + QFileInfo(m_strPagePath).fileName();
    return true;
}

bool KVHtml5Exporter::moveIntoPlace(const QString &strWork, const QString &strTarget, bool bFontsEmbedded)
{
    if (!QFileInfo::exists(strTarget)) {
        if (QDir().rename(strWork, strTarget))
            return true;
        Reporter::error(tr("Cannot create the export folder %1.").arg(QDir::toNativeSeparators(strTarget)));
        return false;
    }
    // The target is there (with files of its own, perhaps): each exported file replaces its old
    // one by a rename, which never leaves a half-written file. What is in the way (a folder where a
    // file goes, a file where a folder goes) is found before anything moves.
    const QDir work(strWork);
    QStringList files;
    QDirIterator it(strWork, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << work.relativeFilePath(it.next());
    for (const QString &strFile : files) {
        QString strPath = strTarget;
        const QStringList parts = strFile.split(QLatin1Char('/'));
        for (int i = 0; i < parts.size(); ++i) {
            strPath += QLatin1Char('/') + parts.at(i);
            const QFileInfo info(strPath);
            const bool bLast = i == parts.size() - 1;
            if (info.exists() && (bLast ? info.isDir() : !info.isDir())) {
                Reporter::error(tr("Cannot replace %1 in the export folder.").arg(QDir::toNativeSeparators(strPath)));
                return false;
            }
        }
    }
    if (bFontsEmbedded) {
        // The system fonts of an earlier export go: the families may have changed since.
        QDir fonts(strTarget + QLatin1Char('/') + KVOutputPaths::normalizeFolder(m_pSource->strExportResourceFolder));
        for (const QString &strFile : fonts.entryList({QStringLiteral("*.woff")}, QDir::Files))
            fonts.remove(strFile);
    }
    for (const QString &strFile : files) {
        const QString strTo = strTarget + QLatin1Char('/') + strFile;
        if (!QDir().mkpath(QFileInfo(strTo).absolutePath())
            || std::rename(QFile::encodeName(work.filePath(strFile)).constData(), QFile::encodeName(strTo).constData())
                != 0) {
            Reporter::error(tr("Cannot replace %1 in the export folder.").arg(QDir::toNativeSeparators(strTo)));
            return false;
        }
    }
    return true;
}

bool KVHtml5Exporter::checkResourceFolder()
{
    const QFileInfo folder(m_pSource->projectFolder());
    if (m_pSource->strProjectFile.isEmpty() || !folder.isDir() || !QFileInfo(m_pSource->resourceFolder()).isDir()) {
        Reporter::error(tr("Unable to export to HTML5.\nThe resources folder is undefined or inaccessible."));
        return false;
    }
    return true;
}

bool KVHtml5Exporter::copyPlayer()
{
    const QString strSource = playerFolder() + QLatin1Char('/') + QLatin1String(kPlayerScript);
    if (!QFileInfo(playerFolder()).isDir() || !QFileInfo(strSource).isFile()) {
        Reporter::error(tr("Player file is undefined or inaccessible."));
        return false;
    }
    const QString strTarget = m_strFolder + QLatin1Char('/') + QLatin1String(kPlayerScript);
    if (QFileInfo::exists(strTarget))
        QFile::remove(strTarget);
    if (!QFile::copy(strSource, strTarget)) {
        Reporter::error(tr("Cannot copy player file."));
        return false;
    }
    noteWritten(QLatin1String(kPlayerScript));
    return true;
}

bool KVHtml5Exporter::readTemplate(const QString &strOwn, const QString &strFileName, QString &strTemplate)
{
    if (!strOwn.isEmpty()) {
        strTemplate = strOwn;
        return true;
    }
    const QString strPath = playerFolder() + QLatin1Char('/') + strFileName;
    if (!QFileInfo(strPath).isFile()) {
        Reporter::error(tr("Player file is undefined or inaccessible."));
        return false;
    }
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly)) {
        Reporter::error(tr("Cannot open player file."));
        return false;
    }
    strTemplate = QString::fromUtf8(file.readAll());
    return true;
}

bool KVHtml5Exporter::writeText(const QString &strRelative, const QString &strText)
{
    QSaveFile file(m_strFolder + QLatin1Char('/') + strRelative);
    const QByteArray data = strText.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        Reporter::error(tr("Error when writing player file.\nThe file is open in another process or inaccessible."));
        return false;
    }
    noteWritten(strRelative);
    return true;
}

bool KVHtml5Exporter::writePage()
{
    const KVDocumentSettings *pSettings = m_pSource->pSettings;
    QString strTemplate;
    if (!readTemplate(pSettings->m_strHtmlOutput, QLatin1String(kPageTemplate), strTemplate))
        return false;

    KVPlayerData data(m_pSource, m_strResourcePath);
    KVPageTemplate::Values v;
    const KVSymbol *pSymbol = m_pSource->pSymbol;
    v.strTitle = pSymbol->title();
    v.strDescription = pSymbol->description();
    v.strKeywords = pSymbol->keywords();
    v.strAuthor = pSymbol->author();
    const QString strFolder = m_bPreview ? QStringLiteral("..")
                                         : KVOutputPaths::normalizeFolder(m_pSource->strExportResourceFolder);
    v.cssFiles = KVPageTemplate::headResourceUrls(m_pSource->resourceManager(), KVResourceType::StyleSheet,
                                                  strFolder, m_bPreview);
    v.jsFiles = KVPageTemplate::headResourceUrls(m_pSource->resourceManager(), KVResourceType::Script,
                                                 strFolder, m_bPreview);
    // A user function that holds "</script>" in a string must not end the page's script element.
    static const QRegularExpression scriptEnd(QStringLiteral("</(script)"), QRegularExpression::CaseInsensitiveOption);
    v.strLoadScript = data.loadScript(m_bPreview).replace(scriptEnd, QStringLiteral("<\\/\\1"));
    v.strContainerId = pSettings->m_strContainerId;
    v.nViewportWidthMeta = pSettings->m_nViewportWMeta;
    v.nViewportHeightMeta = pSettings->m_nViewportHMeta;
    QStringList webFonts;
    if (const KVResourceManager *pManager = m_pSource->resourceManager()) {
        for (KVResource *pResource : pManager->liveResources(KVResourceType::Font)) {
            const auto *pFont = static_cast<const KVFontResource *>(pResource);
            if (pFont->webFont() && !webFonts.contains(pFont->webFont()->m_strFamily))
                webFonts << pFont->webFont()->m_strFamily;
        }
    }
    v.strGoogleFonts = KVPageTemplate::webFontLink(webFonts);

    QString strPage = KVPageTemplate::fillPage(strTemplate, v);
    // Ad servers read a fixed-size ad's slot from the page's head; a responsive stage has none (a
    // stage fitted to the window keeps its size and proportions, and so its slot).
    const int nHeadEnd = strPage.indexOf(QLatin1String("</head>"), 0, Qt::CaseInsensitive);
    if (!m_bPreview && nHeadEnd >= 0 && !pSymbol->breakpoints()->hasLayouts())
        strPage.insert(nHeadEnd, QStringLiteral("\t<meta name=\"ad.size\" content=\"width=%1,height=%2\">\n")
                                     .arg(pSymbol->width())
                                     .arg(pSymbol->height()));
    QString strFallbackUrl;
    if (nHeadEnd >= 0 && KVClickTag::firstAction(pSymbol, &strFallbackUrl))
        strPage.insert(strPage.indexOf(QLatin1String("</head>"), 0, Qt::CaseInsensitive),
                       KVClickTag::declaration(pSettings->m_strClickTag, strFallbackUrl));
    const QString strName = m_pSource->baseName() + QStringLiteral(".html");
    if (!writeText(strName, strPage))
        return false;
    m_strPagePath = m_strFolder + QLatin1Char('/') + strName;
    return true;
}

bool KVHtml5Exporter::writeDataFile()
{
    KVPlayerData data(m_pSource, m_strResourcePath);
    const QString strName = m_pSource->baseName() + QStringLiteral(".js");
    if (!data.writeDataFile(m_strFolder + QLatin1Char('/') + strName, m_bPreview, m_bCurrentSceneOnly))
        return false;
    m_fontFaces = data.fontFaces();
    noteWritten(strName);
    return true;
}

bool KVHtml5Exporter::planCopies(const KVPlayerSource &source, const QString &strFolder,
                                 QList<QPair<QString, QString>> &copies)
{
    const KVResourceManager *pManager = source.resourceManager();
    if (!pManager)
        return true;
    QHash<QString, const KVResource *> owners; // exported name (lower case) -> its resource
    for (KVResource *pResource : pManager->liveResources()) {
        const int nType = pResource->type();
        if (nType == KVResourceType::Symbol || nType == KVResourceType::Font || !pResource->hasStoredFile())
            continue;
        if ((nType == KVResourceType::Script || nType == KVResourceType::StyleSheet)
            && !static_cast<const KVOtherResource *>(pResource)->hasFolderFile())
            continue;
        QStringList sources;
        QStringList names;
        if (nType == KVResourceType::Audio || nType == KVResourceType::Video) {
            const auto *pMedia = static_cast<const MediaResource *>(pResource);
            sources = pMedia->storedFiles();
            names = KVResourceManager::exportedMediaFileNames(pMedia);
        } else {
            sources << pResource->fileName();
            names << KVResourceManager::exportedFileName(pResource);
        }
        for (int i = 0; i < sources.size() && i < names.size(); ++i) {
            const QString &strName = names.at(i);
            if (!isPlainFileName(strName)) {
                Reporter::error(tr("The resource \"%1\" cannot be exported under the file name \"%2\".")
                                    .arg(pResource->name(), strName));
                return false;
            }
            // Names that differ only in case are one file on some systems.
            const KVResource *pOwner = owners.value(strName.toLower());
            if (pOwner && pOwner != pResource) {
                Reporter::error(tr("The resources \"%1\" and \"%2\" would both be exported as \"%3\"; rename one "
                                   "of them.")
                                    .arg(pOwner->name(), pResource->name(), strName));
                return false;
            }
            owners.insert(strName.toLower(), pResource);
            const QString strTarget = strFolder.isEmpty() ? strName : strFolder + QLatin1Char('/') + strName;
            copies.append({strTarget, pManager->absoluteFilePath(sources.at(i))});
        }
    }
    return true;
}

bool KVHtml5Exporter::exportResources()
{
    const QString strFolder = KVOutputPaths::normalizeFolder(m_pSource->strExportResourceFolder);
    QList<QPair<QString, QString>> copies;
    if (!planCopies(*m_pSource, strFolder, copies))
        return false;
    const KVPlayerSource *pPreloader = m_pSource->pSettings->m_nLoaderType == 1 ? m_pSource->pPreloader : nullptr;
    QString strPreloaderFolder;
    QList<QPair<QString, QString>> preloaderCopies;
    if (pPreloader) {
        strPreloaderFolder = KVOutputPaths::normalizeFolder(pPreloader->strExportResourceFolder);
        if (!planCopies(*pPreloader, strPreloaderFolder, preloaderCopies))
            return false;
    }
    qint64 nTotal = 0;
    for (const auto &copy : copies + preloaderCopies)
        nTotal += QFileInfo(copy.second).size();

    KVFileCopier copier(m_pProgress, tr("Exporting to HTML5..."), tr("Cancel"), nTotal);
    if (!QDir().mkpath(m_strFolder + QLatin1Char('/') + strFolder)) {
        Reporter::error(tr("Cannot create folder to export resources."));
        return false;
    }
    const auto run = [&](const QList<QPair<QString, QString>> &list, const QString &strFailure) {
        for (const auto &copy : list) {
            const KVFileCopier::Result result = copier.copy(copy.second, m_strFolder + QLatin1Char('/') + copy.first);
            if (result == KVFileCopier::Canceled) {
                m_bCanceled = true;
                return false;
            }
            if (result != KVFileCopier::Copied) {
                qInfo().noquote() << "Export: cannot copy" << copy.second << "to" << copy.first;
                Reporter::error(strFailure);
                return false;
            }
            noteWritten(copy.first);
        }
        return true;
    };
    if (!run(copies, tr("Error while exporting resource files.")))
        return false;
    if (pPreloader) {
        if (!QDir().mkpath(m_strFolder + QLatin1Char('/') + strPreloaderFolder)) {
            Reporter::error(tr("Error while exporting preloader resources"));
            return false;
        }
        if (!run(preloaderCopies, tr("Error when exporting preloader's resources")))
            return false;
    }
    return true;
}

bool KVHtml5Exporter::embedSystemFonts(const QString &strTarget, QString &strRules)
{
    const QString strFolder =
        m_strFolder + QLatin1Char('/') + KVOutputPaths::normalizeFolder(m_pSource->strExportResourceFolder);
    if (!m_systemFontWriter || m_fontFaces.isEmpty())
        return true;
    const QString strUrlFolder = KVOutputPaths::normalizeFolder(m_pSource->strExportResourceFolder);
    QStringList files;
    const QString strPrevious = strUrlFolder.isEmpty() ? strTarget : strTarget + QLatin1Char('/') + strUrlFolder;
    const bool bWritten = m_systemFontWriter(strFolder, strUrlFolder, strPrevious, m_fontFaces, strRules, files);
    for (const QString &strFile : qAsConst(files))
        noteWritten(strUrlFolder.isEmpty() ? strFile : strUrlFolder + QLatin1Char('/') + strFile);
    return bWritten;
}

bool KVHtml5Exporter::writeStyleSheet(const QString &strSystemFontRules)
{
    QString strTemplate;
    if (!readTemplate(m_pSource->pSettings->m_strCssDoc, QLatin1String(kStyleTemplate), strTemplate))
        return false;
    return writeText(m_pSource->baseName() + QStringLiteral(".css"),
                     KVPageTemplate::fillStyleSheet(strTemplate, strSystemFontRules));
}

bool KVHtml5Exporter::exportDocument(KVDocument *pDocument, const QString &strFolder, QString *pPagePath,
                                     const QString &strResourcePath)
{
    if (!pDocument)
        return false;
    pDocument->pause();
    if (pDocument->settings().m_nLoaderType != 0)
        pDocument->loadPreloader();
    KVDocumentPlayerSource source(pDocument);
    KVHtml5Exporter exporter(&source.source());
    exporter.setResourcePath(strResourcePath);
    exporter.setProgress(pDocument->progress());
    if (!exporter.exportTo(strFolder))
        return false;
    if (pPagePath)
        *pPagePath = exporter.pagePath();
    return true;
}
