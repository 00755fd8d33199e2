#include "KVDocument.h"

#include "model/KVJsonReader.h"
#include "IKVDocumentHost.h"
#include "KVBackupRecovery.h"
#include "KVFileLocker.h"
#include "KVOwnedFileCopy.h"
#include "KVPackageReader.h"
#include "KVPackageWriter.h"
#include "KVProjectSwitch.h"
#include "output/KVSymbolResources.h"
#include "KVPreloader.h"
#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"
#include "commands/KVEventLoopLocker.h"
#include "commands/KVTextCommandValidator.h"
#include "KVProjectFile.h"
#include "KVProjectPaths.h"

#include "DocumentManager.h"
#include "ICore.h"
#include "Reporter.h"
#include "model/KVBreakpointSet.h"
#include "animation/KVTimeline.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"
#include "resources/KVFileCopier.h"
#include "resources/KVFirstFormatFiles.h"
#include "resources/KVFontResource.h"
#include "resources/KVResourceManager.h"
#include "resources/KVResourceType.h"

#include <QAbstractAnimation>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QSaveFile>
#include <QSet>
#include <QUndoStack>

namespace {
IKVDocumentHost *g_pHost = nullptr;
QList<KVDocument *> g_documents;

QString appName()
{
    return QStringLiteral("Kavio Studio");
}

bool sameRelative(const QString &a, const QString &b)
{
    return QDir::cleanPath(a) == QDir::cleanPath(b);
}
} // namespace

KVDocument::KVDocument(QObject *pParent)
    : IDocument(pParent)
    , m_pFileLocker(new KVFileLocker(this))
    , m_pSymbols(new KVSymbolResources)
    , m_projectFile(this, &m_settings, this)
{
    resourceManager()->setContext(this);
    m_projectFile.setSymbolResourceLoader([this] {
        // The symbol files are read as the export and the stage read them, so that a project they
        // would refuse (a symbol that contains itself, a file that is not symbol data) is refused
        // here too. The symbols stay with the document: a save writes them back.
        if (m_pSymbols->load(resourceManager(), this))
            return true;
        for (const QString &strError : m_pSymbols->errors())
            Reporter::error(strError);
        return false;
    });
    g_documents.append(this);
    connect(this, &IDocument::aboutToClose, this, &KVDocument::onCleanup);
    connect(getUndoStack(), &QUndoStack::indexChanged, this, &IDocument::undoStackChanged);
    connect(resourceManager(), &KVResourceManager::fileStored, this, [this](const QString &strRelative) {
        addOwnedFile(strRelative);
        m_pFileLocker->lock(paths().absolute(strRelative));
    });
}

KVDocument::~KVDocument()
{
    g_documents.removeAll(this);
    // The symbols use the project's resources; they go before them.
    m_pSymbols->clear();
    if (KVTextCommandValidator::hasInstance())
        KVTextCommandValidator::getInstance()->dropCommandsOf(this);
}

void KVDocument::setHost(IKVDocumentHost *pHost)
{
    g_pHost = pHost;
}

IKVDocumentHost *KVDocument::host()
{
    return g_pHost;
}

QList<KVDocument *> KVDocument::liveDocuments()
{
    return g_documents;
}

KVDocument *KVDocument::documentForFile(const QString &strFile)
{
    if (strFile.isEmpty())
        return nullptr;
    const QString wanted = KVProjectPaths::canonical(strFile);
    for (KVDocument *doc : qAsConst(g_documents)) {
        if (!doc->getFileName().isEmpty() && KVProjectPaths::canonical(doc->getFileName()) == wanted)
            return doc;
    }
    if (ICore *core = ICore::instance()) {
        if (auto *doc = qobject_cast<KVDocument *>(core->documentManager()->documentForFile(strFile)))
            return doc;
    }
    return nullptr;
}

KVPreloader *KVDocument::preloaderDocument() const
{
    return static_cast<KVPreloader *>(m_pPreloader.data());
}

KVProjectPaths KVDocument::paths() const
{
    return KVProjectPaths(getFileName());
}

QString KVDocument::projectFolderPath() const
{
    return paths().folder();
}

QString KVDocument::resourceFolderPath() const
{
    return paths().resourceFolder();
}

IKVProgress *KVDocument::progress() const
{
    if (m_pProgress)
        return m_pProgress;
    return g_pHost ? g_pHost->progress() : nullptr;
}

KVImageUseCounter *KVDocument::imageUseCounter() const
{
    return resourceManager();
}

QString KVDocument::versionText(int nFormatVersion)
{
    switch (nFormatVersion) {
    case 1:
        return QStringLiteral("1.0.0");
    case 2:
        return QStringLiteral("2.0.0");
    default:
        return QStringLiteral("2.5.0");
    }
}

void KVDocument::setStatus(const QString &strStatus)
{
    m_strStatus = strStatus;
    emit statusChanged(strStatus);
}

void KVDocument::setAutoKeyframeMode(bool bOn)
{
    if (m_settings.m_bAutoKeyframeMode == bOn)
        return;
    m_settings.m_bAutoKeyframeMode = bOn;
    emit changeAutoKeyframeMode(bOn);
}

void KVDocument::addOwnedFile(const QString &strRelativePath)
{
    if (strRelativePath.isEmpty())
        return;
    const QString clean = QDir::cleanPath(strRelativePath);
    if (!m_listOwnedFiles.contains(clean))
        m_listOwnedFiles.append(clean);
}

void KVDocument::removeOwnedFile(const QString &strRelativePath)
{
    m_listOwnedFiles.removeAll(QDir::cleanPath(strRelativePath));
}

// ---- Create ----------------------------------------------------------------------------------

bool KVDocument::create(int nWidth, int nHeight, int nScenes, bool bResponsive)
{
    const KVProjectPaths p = paths();
    if (p.isEmpty() || !QDir().mkpath(p.resourceFolder())) {
        Reporter::error(tr("The resources folder is undefined or inaccessible."));
        return false;
    }
    if (!bResponsive) {
        m_settings.m_nViewportWMeta = -3;
        m_settings.m_nViewportHMeta = -3;
    } else {
        // The breakpoints the user offers by default go to the new project.
        DocumentManager::Breakpoints hList, vList;
        if (ICore *core = ICore::instance()) {
            hList = core->documentManager()->getHBreakpoints();
            vList = core->documentManager()->getVBreakpoints();
        }
        breakpoints()->setResponsiveMode(true);
        for (const auto &bp : qAsConst(hList)) {
            if (bp.second)
                breakpoints()->addHBreakpoint(bp.first);
        }
        for (const auto &bp : qAsConst(vList)) {
            if (bp.second)
                breakpoints()->addVBreakpoint(bp.first);
        }
    }
    setWidth(nWidth);
    setHeight(nHeight);
    QString strUser = qEnvironmentVariable("USER");
    if (strUser.isEmpty())
        strUser = qEnvironmentVariable("USERNAME");
    setAuthor(strUser);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    setCreated(now);
    setModified(now);
    for (int i = 0; i < nScenes; ++i) {
        KVScene *pScene = sceneList()->createScene();
        sceneList()->addScene(pScene);
        if (i == 0)
            setCurrentScene(pScene);
    }
    // The scenes get the layouts of the preset breakpoints, so that what is drawn there has them too.
    fillLayouts();
    m_settings.m_bInitResponsive = bResponsive;
    m_nFormatVersion = 3;
    setStatus(tr("Ready"));
    return true;
}

// ---- Open ------------------------------------------------------------------------------------

bool KVDocument::load(const QString &strFileName)
{
    setFileName(strFileName);
    return open();
}

bool KVDocument::open()
{
    // A project unpacked from a package that then cannot be opened is taken away again.
    QStringList imported;
    auto takeBackImport = [&imported] {
        for (const QString &strPath : qAsConst(imported)) {
            if (QFileInfo(strPath).isDir())
                QDir(strPath).removeRecursively();
            else
                QFile::remove(strPath);
        }
    };
    if (QFileInfo(getFileName()).suffix().compare(QLatin1String("kaviopack"), Qt::CaseInsensitive) == 0) {
        if (!importPackage(&imported))
            return false;
    }
    KVDocument *pSide = nullptr;
    if (KVBackupRecovery::recover(this, &pSide) == KVBackupRecovery::Cancel)
        return false;
    if (pSide) {
        pSide->setParent(this);
        m_pSideDocument = pSide;
    }
    if (readFile(getFileName()))
        return true;
    // The backup could not be read: everything goes back to where it was before the question.
    if (isOpenAsBackup())
        KVBackupRecovery::restoreLastSaved(this);
    if (!imported.isEmpty()) {
        m_pFileLocker->unlockAll();
        takeBackImport();
    }
    return false;
}

bool KVDocument::importPackage(QStringList *pCreated)
{
    // A package is unpacked into a new project that the user names.
    if (!g_pHost)
        return false;
    const QString strChosen = g_pHost->askProjectFile(tr("Import Project"),
                                                      QFileInfo(getFileName()).completeBaseName(), 0);
    if (strChosen.isEmpty())
        return false;
    KVPackageReader reader(progress());
    if (!reader.extract(getFileName(), strChosen))
        return false;
    *pCreated = reader.createdPaths();
    setFileName(QFileInfo(strChosen).absoluteFilePath());
    return true;
}

bool KVDocument::extractPackage(const QString &strFileName, const QString &strLocation)
{
    const QString strName = QFileInfo(QDir::cleanPath(strLocation)).fileName();
    if (!QDir().mkpath(strLocation)) {
        Reporter::error(tr("Cannot create folder to extract resource files."));
        return false;
    }
    KVPackageReader reader(progress());
    return reader.extract(strFileName, QDir(strLocation).filePath(strName + QStringLiteral(".kavio")));
}

bool KVDocument::readFile(const QString &strFile)
{
    // A save over this project that was interrupted is completed or undone first.
    const KVProjectSwitch::Outcome switched = KVProjectSwitch::finish(strFile);
    if (switched != KVProjectSwitch::Nothing)
        Reporter::warning(KVProjectSwitch::describe(switched));
    const QFileInfo fi(strFile);
    if (!fi.exists()) {
        Reporter::error(tr("File doesn't exist.") + QLatin1Char('\n') + QDir::toNativeSeparators(strFile));
        return false;
    }
    bool bRead = false;
    const QByteArray data = KVFileCopier::readRegularFile(strFile, -1, &bRead);
    if (!bRead) {
        Reporter::error(tr("Unable to read project data."));
        return false;
    }
    QJsonParseError error;
    const QJsonDocument json = KVJsonReader::parse(data, &error);
    if (error.error != QJsonParseError::NoError || !json.isObject()) {
        Reporter::error(tr("The project file format is invalid."));
        return false;
    }
    if (!readProjectJson(json.object()))
        return false;
    setFileName(strFile);
    m_jaSavedResources = resourcesOf(json.object());
    // The resource files of the project in its folder are the document's while it is open.
    const KVProjectPaths p = paths();
    for (const QString &rel : resourceManager()->referencedFiles()) {
        if (KVProjectPaths::startsWithFolder(rel, p.resourceFolderName()) && QFileInfo(p.absolute(rel)).isFile())
            addOwnedFile(rel);
    }
    registerFonts();
    m_pFileLocker->lock(strFile);
    lockOwnedFiles();
    return true;
}

void KVDocument::lockOwnedFiles()
{
    const KVProjectPaths p = paths();
    for (const QString &rel : qAsConst(m_listOwnedFiles)) {
        const QString abs = p.absolute(rel);
        if (QFileInfo(abs).isFile() && !m_pFileLocker->isLocked(abs))
            m_pFileLocker->lock(abs);
    }
}

void KVDocument::registerFonts()
{
    // The toolkit's font database needs the GUI application; headless there is nothing to show
    // the fonts with.
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return;
    QFontDatabase::removeAllApplicationFonts();
    m_listFontIds.clear();
    const QList<KVResource *> fonts = resourceManager()->liveResources(4);
    int nAdded = 0;
    for (KVResource *pResource : fonts) {
        auto *pFont = static_cast<KVFontResource *>(pResource);
        if (!pFont->hasStoredFile())
            continue;
        bool bRead = false;
        const QByteArray data = KVFileCopier::readRegularFile(resourceManager()->filePath(pFont), -1, &bRead);
        if (!bRead)
            continue;
        const int nId = QFontDatabase::addApplicationFontFromData(data);
        if (nId < 0)
            continue;
        m_listFontIds.append(nId);
        const QStringList families = QFontDatabase::applicationFontFamilies(nId);
        if (!families.isEmpty())
            pFont->setFamily(families.first());
        ++nAdded;
        setStatus(tr("Adding Google fonts %1/%2").arg(nAdded).arg(fonts.size()));
    }
    setStatus(QString());
}

void KVDocument::removeFonts()
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return;
    for (int nId : qAsConst(m_listFontIds))
        QFontDatabase::removeApplicationFont(nId);
    m_listFontIds.clear();
}

// ---- Close -----------------------------------------------------------------------------------

bool KVDocument::requestClosing(bool bCanCancel)
{
    pause();
    const KVProjectPaths p = paths();
    if (isOpenAsBackup()) {
        int buttons = IReporter::Yes | IReporter::No;
        if (bCanCancel)
            buttons |= IReporter::Cancel;
        const IReporter::Button answer =
            Reporter::question(tr("Do you want to used this backup version of the current project?"), buttons,
                               IReporter::Yes);
        if (answer == IReporter::Yes) {
            if (!save())
                return false;
        } else if (answer == IReporter::No) {
            KVBackupRecovery::restoreLastSaved(this);
            readSavedResources();
            getUndoStack()->setClean();
        } else {
            return false;
        }
    } else if (!IDocument::requestClosing(bCanCancel)) {
        // Save changes, discard them, or stay open.
        return false;
    }
    if (m_pPreloader) {
        KVDocument *pPreloader = m_pPreloader;
        if (!pPreloader->closeProject())
            return false;
        if (g_pHost)
            g_pHost->closeDocumentWindow(pPreloader);
    }
    return true;
}

void KVDocument::close()
{
    IDocument::close();
}

bool KVDocument::closeProject()
{
    if (!requestClosing(true))
        return false;
    close();
    return true;
}

QStringList KVDocument::referencedFiles(bool bSavedState) const
{
    const QStringList rel = bSavedState ? resourceManager()->referencedFiles(m_jaSavedResources)
                                        : resourceManager()->referencedFiles();
    QStringList out;
    for (const QString &s : rel)
        out << QDir::cleanPath(s);
    return out;
}

void KVDocument::onCleanup()
{
    if (m_bCleanedUp)
        return;
    m_bCleanedUp = true;
    removeFonts();
    const KVProjectPaths p = paths();
    // A file stays when the project on disk or the one in memory refers to it; the others were
    // added and given up during the session.
    QSet<QString> referenced;
    for (const QString &s : referencedFiles(true))
        referenced.insert(s);
    if (isModified()) {
        for (const QString &s : referencedFiles(false))
            referenced.insert(s);
    }
    // A backup that stays on disk (one given up when closing) keeps the files it refers to.
    const QString strBackupRelative = QDir(p.folder()).relativeFilePath(p.backupFile());
    if (QFileInfo(p.backupFile()).isFile() && !m_listOwnedFiles.contains(strBackupRelative)) {
        QFile backup(p.backupFile());
        if (backup.open(QIODevice::ReadOnly)) {
            const QJsonArray ja = QJsonDocument::fromJson(backup.readAll()).object()
                                      .value(QLatin1String("document")).toObject()
                                      .value(QLatin1String("resources")).toArray();
            for (const QString &s : resourceManager()->referencedFiles(ja))
                referenced.insert(QDir::cleanPath(s));
        }
    }
    const bool bTemporary = isTempDocument();
    for (const QString &rel : qAsConst(m_listOwnedFiles)) {
        const QString abs = p.absolute(rel);
        m_pFileLocker->unlock(abs);
        if (!bTemporary && referenced.contains(rel))
            continue;
        if (QFileInfo(abs).isFile())
            QFile::remove(abs);
    }
    m_listOwnedFiles.clear();
    resourceManager()->cleanup();
    m_pFileLocker->unlock(p.projectFile());
    if (bTemporary)
        cleanTempDir();
    getUndoStack()->setClean();
}

void KVDocument::cleanTempDir()
{
    const KVProjectPaths p = paths();
    if (p.isEmpty())
        return;
    QFile::remove(p.projectFile());
    QDir(p.resourceFolder()).removeRecursively();
}

// ---- Playback --------------------------------------------------------------------------------

KVSceneList *KVDocument::commandSceneList() const
{
    return sceneList();
}

bool KVDocument::isPlaying() const
{
    return m_pPlayingAnimation && m_pPlayingAnimation->state() == QAbstractAnimation::Running;
}

void KVDocument::submitCommand(QUndoCommand *pCommand, bool bPush)
{
    auto *pCommandOfOurs = dynamic_cast<KVCommand *>(pCommand);
    if (!pCommandOfOurs)
        IDocument::submitCommand(pCommand);
    else if (bPush)
        KVCommand::push(pCommandOfOurs);
    else
        KVTextCommandValidator::getInstance()->submit(pCommandOfOurs);
}

bool KVDocument::haltPlayback()
{
    if (!m_pPlayingAnimation || m_pPlayingAnimation->state() != QAbstractAnimation::Running)
        return false;
    m_pPlayingAnimation->pause();
    return true;
}

bool KVDocument::pause()
{
    if (!haltPlayback())
        return false;
    // Save, export, preview and close stop playback through here: the stage and the timeline view
    // learn it stopped (type 75), so none goes on playing on its own.
    if (auto *pTimeline = qobject_cast<KVTimeline *>(m_pPlayingAnimation.data()))
        notifyViews(KVCommandAction::PauseNotice, pTimeline);
    return true;
}

bool KVDocument::play()
{
    if (!m_pPlayingAnimation || m_pPlayingAnimation->state() == QAbstractAnimation::Running)
        return false;
    auto *pTimeline = qobject_cast<KVTimeline *>(m_pPlayingAnimation.data());
    if (m_pPlayingAnimation->state() == QAbstractAnimation::Paused)
        m_pPlayingAnimation->resume();
    else if (pTimeline && (pTimeline->totalDuration() < 0 || pTimeline->currentTimeMs() < pTimeline->totalDuration()))
        pTimeline->playFrom(pTimeline->currentTimeMs());  // a sought timeline rests stopped
    else
        m_pPlayingAnimation->start();
    return true;
}

KVTimeline *KVDocument::currentPlaybackTimeline() const
{
    KVScene *pScene = commandCurrentScene();
    return pScene ? pScene->currentTimeline() : nullptr;
}

void KVDocument::notifyViews(int nType, KVTimeline *pTimeline)
{
    KVCommand command(this, QString());
    command.setPausePlaybackFirst(false);
    // A jump of the playhead is a seek.
    command.addAction(KVCommandAction::playbackNotice(nType, this, pTimeline, true));
    command.execute();
}

bool KVDocument::startPlayback(int nWaitMs)
{
    KVTimeline *pTimeline = currentPlaybackTimeline();
    if (!pTimeline || pTimeline->state() == QAbstractAnimation::Running)
        return false;
    notifyViews(KVCommandAction::FinishTasksNotice, pTimeline);
    if (nWaitMs > 0)
        KVEventLoopLocker::getInstance()->lock(nWaitMs);
    // The wait ran events: the scene or its timeline may have changed meanwhile.
    if (pTimeline != currentPlaybackTimeline())
        return false;
    const int nTotal = pTimeline->totalDuration();
    int nFrom = pTimeline->currentTimeMs();
    if (nTotal >= 0 && nFrom >= nTotal)
        nFrom = 0;
    setPlayingAnimation(pTimeline);
    pTimeline->playFrom(nFrom);
    notifyViews(KVCommandAction::PlayNotice, pTimeline);
    return true;
}

bool KVDocument::stopPlayback()
{
    if (!currentPlaybackTimeline())
        return false;
    return pause();
}

bool KVDocument::togglePlayback()
{
    return isPlaying() ? stopPlayback() : startPlayback();
}

bool KVDocument::goToTimelineEdge(bool bEnd)
{
    KVTimeline *pTimeline = currentPlaybackTimeline();
    if (!pTimeline)
        return false;
    stopPlayback();
    pTimeline->seek(bEnd ? qMax(0, pTimeline->totalDuration()) : 0);
    notifyViews(KVCommandAction::TimeNotice, pTimeline);
    return true;
}

// ---- Save ------------------------------------------------------------------------------------

void KVDocument::readSavedResources()
{
    // What the project file on disk refers to decides which files a clean-up or a save elsewhere
    // may take away from the project folder.
    m_jaSavedResources = QJsonArray();
    QFile saved(getFileName());
    if (saved.open(QIODevice::ReadOnly)) {
        m_jaSavedResources = resourcesOf(QJsonDocument::fromJson(saved.readAll()).object());
    }
}

bool KVDocument::versionGate() const
{
    if (m_nFormatVersion == 3)
        return true;
    const QString text = tr("The project will be saved in the file format that can only be opened by %1 %2 or "
                            "later.\nDo you want to continue?")
                             .arg(appName(), versionText(3));
    return Reporter::question(text, IReporter::Yes | IReporter::No, IReporter::No) == IReporter::Yes;
}

QJsonArray KVDocument::resourcesOf(const QJsonObject &joTop)
{
    return joTop.value(QLatin1String("document")).toObject().value(QLatin1String("resources")).toArray();
}

bool KVDocument::serialize(QByteArray &data, QJsonArray *pResources) const
{
    QJsonObject jo;
    if (!writeProjectJson(jo))
        return false;
    data = QJsonDocument(jo).toJson(QJsonDocument::Compact);
    if (pResources)
        *pResources = resourcesOf(jo);
    return true;
}

bool KVDocument::writeProjectFile(const QString &strFile, const QByteArray &data)
{
    // The file is written under a temporary name and renamed over the project only when every
    // byte is on disk, so a failure or a crash leaves the last saved file as it was.
    m_pFileLocker->unlock(strFile);
    QSaveFile file(strFile);
    if (!file.open(QIODevice::WriteOnly)) {
        m_pFileLocker->lock(strFile);
        Reporter::error(tr("Cannot write project data."));
        return false;
    }
    if (file.write(data) != data.size() || !file.commit()) {
        file.cancelWriting();
        m_pFileLocker->lock(strFile);
        Reporter::error(tr("Error when saving document information."));
        return false;
    }
    m_pFileLocker->lock(strFile);
    return true;
}

bool KVDocument::saveSymbolResources()
{
    // The files stay locked while the project is open, except for the moment they are replaced.
    bool bWasLocked = false;
    return m_pSymbols->writeFiles(
        resourceManager(), this,
        [this, &bWasLocked](const QString &strPath) { bWasLocked = m_pFileLocker->unlock(strPath); },
        [this, &bWasLocked](const QString &strPath) {
            resourceManager()->forgetFile(strPath);
            if (bWasLocked)
                m_pFileLocker->lock(strPath);
        });
}

void KVDocument::addResourceEntries(KVPackageWriter &writer, const QString &strPrefix, const QString &strReadError,
                                    const QString &strWriteError) const
{
    // Symbols go in as the document has them; the other files as they are on disk.
    QHash<QString, QByteArray> symbolData;
    for (KVResource *pResource : resourceManager()->liveResources(KVResourceType::Symbol)) {
        if (const KVSymbol *pSymbol = m_pSymbols->symbol(pResource->id()))
            symbolData.insert(resourceManager()->filePath(pResource), KVSymbolResources::symbolData(*pSymbol));
    }
    for (const QString &strPath : resourceManager()->referencedFilePaths()) {
        const QString strEntry = strPrefix + QFileInfo(strPath).fileName();
        const QByteArray data = symbolData.value(strPath);
        if (!data.isEmpty())
            writer.addData(strEntry, data, strWriteError, strWriteError);
        else
            writer.addFile(strEntry, strPath, strReadError, strWriteError);
    }
}

bool KVDocument::saveToPackage(const QString &strFileName)
{
    pause();
    if (!versionGate())
        return false;
    QByteArray data;
    if (!serialize(data)) {
        Reporter::error(tr("Cannot save project data."));
        return false;
    }
    KVPackageWriter writer(progress());
    writer.addData(QStringLiteral("kavio-studio.kavio"), data, tr("Cannot save document information."),
                   tr("Error when saving document information."));
    if (m_settings.m_bHasCustomLoader && !m_pPreloader)
        loadPreloader();
    if (m_settings.m_bHasCustomLoader && m_pPreloader) {
        QByteArray preloader;
        if (!m_pPreloader->serialize(preloader)) {
            Reporter::error(tr("Cannot save project data."));
            return false;
        }
        writer.addData(QStringLiteral("kavio-studio_res/preloader/preloader.kavio"), preloader,
                       tr("Cannot save document information."), tr("Error when saving document information."));
        m_pPreloader->addResourceEntries(writer, QStringLiteral("kavio-studio_res/preloader/preloader_res/"),
                                         tr("Cannot read preloader resources."), tr("Cannot write preloader resources."));
    }
    addResourceEntries(writer, QStringLiteral("kavio-studio_res/"), tr("Cannot save resource files."),
                       tr("Cannot save resource files."));
    if (!writer.write(strFileName))
        return false;
    Reporter::information(tr("Save to package successfully."));
    return true;
}

bool KVDocument::save()
{
    pause();
    if (!versionGate())
        return false;
    // Files a first-format project kept beside it move into the resource folder with this save.
    QStringList migrated;
    if (!KVFirstFormatFiles::migrate(resourceManager(), &migrated))
        return false;
    for (const QString &strFile : qAsConst(migrated))
        addOwnedFile(strFile);
    QByteArray data;
    QJsonArray jaResources;
    if (!serialize(data, &jaResources)) {
        Reporter::error(tr("Cannot save project data."));
        return false;
    }
    const KVProjectPaths p = paths();
    if (!writeProjectFile(p.projectFile(), data))
        return false;
    m_nFormatVersion = 3;
    if (!saveSymbolResources()) {
        Reporter::error(tr("Cannot save project. Some symbols cannot be saved."));
        return false;
    }
    if (QFileInfo::exists(p.backupFile()))
        QFile::remove(p.backupFile());
    removeOwnedFile(QDir(p.folder()).relativeFilePath(p.backupFile()));
    setFileName(p.projectFile());
    setIsTempDocument(false);
    if (isOpenAsBackup()) {
        setOpenAsBackup(false);
        m_pFileLocker->unlock(p.oldFile());
        QFile::remove(p.oldFile());
        if (getUndoStack()->isClean())
            emit titleChanged();
    }
    m_jaSavedResources = jaResources;
    getUndoStack()->setClean();
    emit changesSaved();
    return true;
}

bool KVDocument::isPreviewFile(const QString &strRelativePath) const
{
    const KVProjectPaths p = paths();
    const QString preview = QDir(p.folder()).relativeFilePath(p.previewFolder());
    return KVProjectPaths::startsWithFolder(strRelativePath, preview);
}

bool KVDocument::save(const QString &strFile)
{
    const QFileInfo target(strFile);
    if (target.suffix().compare(QLatin1String("kaviopack"), Qt::CaseInsensitive) == 0)
        return saveToPackage(target.absoluteFilePath());
    if (target.suffix() != QLatin1String("kavio"))
        return false;
    if (KVProjectPaths::isSameFile(strFile, getFileName()))
        return save();
    if (!target.absoluteDir().exists()) {
        Reporter::error(tr("The destination directory is invalid."));
        return false;
    }
    const KVProjectPaths from = paths();
    const KVProjectPaths to(target.absoluteFilePath());
    if (target.exists()) {
        const IReporter::Button answer =
            Reporter::question(tr("The selected folder has an existing project.\nDo you want to overwrite?"),
                               IReporter::Yes | IReporter::No, IReporter::Yes);
        if (answer != IReporter::Yes)
            return false;
        if (documentForFile(to.projectFile())) {
            Reporter::error(tr("Cannot overwrite an opening project!"));
            return false;
        }
    }
    if (KVProjectPaths::isSameFile(from.resourceFolder(), to.resourceFolder())) {
        Reporter::error(tr("Cannot overwrite an opening project!"));
        return false;
    }
    pause();
    if (!versionGate())
        return false;
    // The custom preloader moves with the project; it is read from where the project is now.
    if (m_settings.m_bHasCustomLoader && !m_pPreloader)
        loadPreloader();
    QByteArray data;
    QJsonArray jaResources;
    if (!serialize(data, &jaResources)) {
        Reporter::error(tr("Cannot save project data."));
        return false;
    }
    if (!saveSymbolResources()) {
        Reporter::error(tr("Cannot save project. Some symbols cannot be saved."));
        return false;
    }

    // The new project file and resource folder are written beside the target under names of their
    // own (a destination that cannot be written stops the save before anything is copied) and
    // take the target's place only when all is written, so that a project saved over is wholly
    // the previous one or wholly the new one whenever the save stops. The project this document
    // comes from is not written to at all until the new one is complete.
    KVProjectSwitch projectSwitch(to.projectFile());
    if (!projectSwitch.begin() || !projectSwitch.writeProjectFile(data)) {
        projectSwitch.abandon();
        Reporter::error(tr("Could not copy project file."));
        return false;
    }

    const bool bTemporary = isTempDocument();
    const QString strBackupRelative = QDir(from.folder()).relativeFilePath(from.backupFile());
    QStringList owned, previewFiles;
    for (const QString &rel : qAsConst(m_listOwnedFiles)) {
        if (isPreviewFile(rel))
            previewFiles << rel;
        else if (!sameRelative(rel, strBackupRelative))
            owned << rel;
    }
    const QStringList current = referencedFiles(false);
    const QStringList savedInOld = referencedFiles(true);
    KVOwnedFileCopy copy(from, to);
    copy.setStagingFolder(projectSwitch.stagedResourceFolder());
    if (!copy.run(owned, current, progress())) {
        copy.rollback();
        projectSwitch.abandon();
        return false;
    }
    if (!projectSwitch.commit()) {
        copy.rollback();
        projectSwitch.abandon();
        Reporter::error(tr("Could not copy project file."));
        return false;
    }

    // The new project is complete. From here on the document moves to it.
    m_pFileLocker->unlock(from.projectFile());
    m_pFileLocker->lock(to.projectFile());
    QFile::remove(to.backupFile());
    for (const KVOwnedFileCopy::Entry &e : copy.entries()) {
        if (KVProjectPaths::isSameFile(e.strOldPath, e.strNewPath))
            continue;
        m_pFileLocker->transfer(e.strOldPath, e.strNewPath);
        // The previous project keeps every file its own project file refers to; what the session
        // added there goes with the document.
        if (bTemporary || !savedInOld.contains(e.strOldRelative))
            QFile::remove(e.strOldPath);
    }
    // Preview output is made again for the new folder; what this session wrote in the old one goes.
    for (const QString &rel : qAsConst(previewFiles)) {
        m_pFileLocker->unlock(from.absolute(rel));
        QFile::remove(from.absolute(rel));
    }
    m_listOwnedFiles = copy.newOwnedFiles();

    if (isOpenAsBackup()) {
        // The backup opened in place now lives in the new project; the previous one gets its last
        // saved file back.
        m_pFileLocker->unlock(from.oldFile());
        QFile::remove(from.projectFile());
        QFile::rename(from.oldFile(), from.projectFile());
        setOpenAsBackup(false);
    } else {
        QFile::remove(from.backupFile());
    }
    if (bTemporary) {
        QFile::remove(from.projectFile());
        QDir(from.resourceFolder()).removeRecursively();
        setIsTempDocument(false);
    }

    setFileName(to.projectFile());
    m_nFormatVersion = 3;
    m_jaSavedResources = jaResources;
    getUndoStack()->setClean();
    emit locationChanged();

    if (m_pPreloader && !savePreloaderTo(to)) {
        Reporter::error(tr("Cannot save custom preloader."));
        return false;
    }
    return true;
}

bool KVDocument::savePreloaderTo(const KVProjectPaths &to)
{
    KVDocument *pPreloader = m_pPreloader;
    if (!QDir().mkpath(to.preloaderFolder()))
        return false;
    disconnect(pPreloader, &KVDocument::changesSaved, this, &KVDocument::onPreloaderSavedChanges);
    const bool bWasTemporary = pPreloader->isTempDocument();
    pPreloader->setIsTempDocument(isTempDocument());
    const bool bSaved = pPreloader->save(to.preloaderFile());
    if (!bSaved)
        pPreloader->setIsTempDocument(bWasTemporary);
    connect(pPreloader, &KVDocument::changesSaved, this, &KVDocument::onPreloaderSavedChanges);
    return bSaved;
}

bool KVDocument::saveAs()
{
    pause();
    if (!g_pHost)
        return false;
    const QString strChosen = g_pHost->askProjectFile(tr("Save As"), paths().baseName(), 0);
    if (strChosen.isEmpty())
        return false;
    const QString strOldFolder = resourceFolderPath();
    if (!save(strChosen))
        return false;
    g_pHost->documentMoved(this, strOldFolder, resourceFolderPath());
    return true;
}

bool KVDocument::saveBackup()
{
    if (getUndoStack()->isClean())
        return false;
    QByteArray data;
    if (!serialize(data) || !saveSymbolResources())
        return false;
    const KVProjectPaths p = paths();
    QSaveFile file(p.backupFile());
    if (!file.open(QIODevice::WriteOnly))
        return false;
    addOwnedFile(QDir(p.folder()).relativeFilePath(p.backupFile()));
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

// ---- Custom preloader ------------------------------------------------------------------------

bool KVDocument::loadPreloader()
{
    if (m_pPreloader)
        return true;
    const KVProjectPaths p = paths();
    if (p.isEmpty())
        return false;
    // A preloader file that is a link out of the project folder is neither read nor written over.
    if (!KVProjectPaths::isInFolder(p.preloaderFile(), p.folder())) {
        Reporter::warning(KVProjectFile::outsideMessage(tr("The custom preloader")));
        return false;
    }
    if (m_settings.m_bHasCustomLoader && QFileInfo(p.preloaderFile()).isFile()) {
        auto *pPreloader = new KVPreloader(this);
        if (pPreloader->load(p.preloaderFile()))
            m_pPreloader = pPreloader;
        else
            delete pPreloader;
    }
    if (!m_pPreloader) {
        m_settings.m_bHasCustomLoader = false;
        if (!QDir().mkpath(p.preloaderFolder()))
            return false;
        auto *pPreloader = new KVPreloader(this);
        pPreloader->setFileName(p.preloaderFile());
        if (!pPreloader->create(width(), height(), 1, false)) {
            delete pPreloader;
            return false;
        }
        m_pPreloader = pPreloader;
    }
    linkPreloader(preloaderDocument());
    return true;
}

void KVDocument::linkPreloader(KVPreloader *pPreloader)
{
    connect(pPreloader, &IDocument::aboutToClose, this, &KVDocument::onPreloaderClose);
    connect(pPreloader, &KVDocument::changesSaved, this, &KVDocument::onPreloaderSavedChanges);
}

void KVDocument::onPreloaderSavedChanges()
{
    m_settings.m_bHasCustomLoader = true;
    save();
}

void KVDocument::onPreloaderClose()
{
    if (!m_pPreloader)
        return;
    disconnect(m_pPreloader, &IDocument::aboutToClose, this, &KVDocument::onPreloaderClose);
    disconnect(m_pPreloader, &KVDocument::changesSaved, this, &KVDocument::onPreloaderSavedChanges);
    m_pPreloader->deleteLater();
    m_pPreloader = nullptr;
}

void KVDocument::dismissPreloader()
{
    KVDocument *pPreloader = m_pPreloader;
    if (!pPreloader)
        return;
    if (pPreloader->isModified()) {
        const QString strName = QFileInfo(pPreloader->getFileName()).completeBaseName();
        if (Reporter::question(tr("Save changes made to %1?").arg(strName), IReporter::Yes | IReporter::No,
                               IReporter::No)
            == IReporter::Yes)
            pPreloader->save();
    }
    pPreloader->close();
    if (g_pHost)
        g_pHost->closeDocumentWindow(pPreloader);
}

// ---- Project JSON ----------------------------------------------------------------------------

bool KVDocument::writeProjectJson(QJsonObject &joProject) const
{
    return m_projectFile.toJson(joProject);
}

bool KVDocument::readProjectJson(const QJsonObject &joProject)
{
    if (g_pHost)
        m_projectFile.setLocationStore(g_pHost->locationStore(this));
    if (!m_projectFile.read(joProject))
        return false;
    m_nFormatVersion = m_projectFile.formatVersion();
    return true;
}

KVPreloader *KVDocument::commandPreloader() const
{
    return qobject_cast<KVPreloader *>(const_cast<KVDocument *>(this));
}
