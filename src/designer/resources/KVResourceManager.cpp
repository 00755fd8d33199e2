#include "KVResourceManager.h"

#include "KVFileCopier.h"
#include "KVFontResource.h"
#include "KVOtherResource.h"
#include "KVResource.h"
#include "KVResourceImporter.h"
#include "KVResourceType.h"
#include "MediaResource.h"
#include "Reporter.h"
#include "document/KVProjectPaths.h"
#include "model/IKVDocumentContext.h"
#include "model/KVJsonUtil.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QtDebug>

#include <algorithm>
#include <limits>
#include <memory>

KVResourceManager::KVResourceManager(const IKVDocumentContext *pContext, QObject *pParent)
    : QObject(pParent)
    , m_pContext(pContext)
{
    m_clock.start();
}

KVResourceManager::~KVResourceManager()
{
    qDeleteAll(m_resources);
}

// ---- Folders and paths

QString KVResourceManager::resourceFolderPath() const
{
    return m_pContext ? m_pContext->resourceFolderPath() : QString();
}

QString KVResourceManager::projectFolderPath() const
{
    if (!m_pContext)
        return QString();
    const QString strFolder = m_pContext->projectFolderPath();
    if (!strFolder.isEmpty())
        return strFolder;
    const QString strResources = m_pContext->resourceFolderPath();
    return strResources.isEmpty() ? QString() : QFileInfo(strResources).absolutePath();
}

QString KVResourceManager::absoluteFilePath(const QString &strFileName) const
{
    if (strFileName.isEmpty())
        return QString();
    if (QFileInfo(strFileName).isAbsolute())
        return QDir::cleanPath(strFileName);
    // Projects of the first format kept paths relative to the project folder, written on Windows
    // with either separator.
    if (m_nFormatVersion < 2 && (strFileName.contains(QLatin1Char('/')) || strFileName.contains(QLatin1Char('\\')))) {
        const QString strProject = projectFolderPath();
        if (!strProject.isEmpty())
            return QDir::cleanPath(strProject + QLatin1Char('/') + QString(strFileName).replace(QLatin1Char('\\'), QLatin1Char('/')));
    }
    const QString strFolder = resourceFolderPath();
    if (strFolder.isEmpty())
        return QString();
    return QDir::cleanPath(strFolder + QLatin1Char('/') + strFileName);
}

QString KVResourceManager::relativeFilePath(const QString &strFileName) const
{
    const QString strPath = absoluteFilePath(strFileName);
    const QString strProject = projectFolderPath();
    if (strPath.isEmpty() || strProject.isEmpty())
        return strPath;
    return QDir(strProject).relativeFilePath(strPath);
}

QString KVResourceManager::filePath(const KVResource *pResource) const
{
    if (!pResource || !pResource->hasStoredFile())
        return QString();
    return absoluteFilePath(pResource->fileName().isEmpty() ? pResource->storedFiles().constFirst()
                                                            : pResource->fileName());
}

QStringList KVResourceManager::filePaths(const KVResource *pResource) const
{
    QStringList paths;
    if (!pResource)
        return paths;
    for (const QString &strFile : pResource->storedFiles())
        paths.append(absoluteFilePath(strFile));
    return paths;
}

bool KVResourceManager::isInResourceFolder(const QString &strPath) const
{
    const QString strFolder = resourceFolderPath();
    if (strFolder.isEmpty() || strPath.isEmpty())
        return false;
    QString strAbsolute = strPath;
    if (QFileInfo(strPath).isRelative()) {
        const QString strProject = projectFolderPath();
        if (strProject.isEmpty())
            return false;
        strAbsolute = strProject + QLatin1Char('/') + strPath;
    }
    const QString strRelative = QDir(strFolder).relativeFilePath(QDir::cleanPath(strAbsolute));
    return strRelative != QLatin1String("..") && !strRelative.startsWith(QLatin1String("../"))
        && !QFileInfo(strRelative).isAbsolute();
}

bool KVResourceManager::ensureResourceFolder() const
{
    const QString strFolder = resourceFolderPath();
    if (strFolder.isEmpty() || !QDir().mkpath(strFolder)) {
        Reporter::error(tr("The resources folder is undefined or inaccessible."));
        return false;
    }
    return true;
}

// ---- Keeping

QList<KVResource *> KVResourceManager::liveResources(int nType) const
{
    QList<KVResource *> list;
    for (KVResource *pResource : m_resources) {
        if (!pResource->isDeleted() && (nType < 0 || pResource->type() == nType))
            list.append(pResource);
    }
    return list;
}

KVResource *KVResourceManager::resourceByUuid(const QUuid &uuid) const
{
    for (KVResource *pResource : m_resources) {
        if (pResource->uuid() == uuid)
            return pResource;
    }
    return nullptr;
}

KVResource *KVResourceManager::resourceByFileName(const QString &strFileName) const
{
    for (KVResource *pResource : m_resources) {
        if (pResource->isDeleted())
            continue;
        for (const QString &strFile : pResource->storedFiles()) {
            if (strFile.compare(strFileName, Qt::CaseInsensitive) == 0)
                return pResource;
        }
    }
    return nullptr;
}

KVResource *KVResourceManager::resourceByName(const QString &strName, int nExceptId) const
{
    for (KVResource *pResource : m_resources) {
        if (!pResource->isDeleted() && pResource->id() != nExceptId
            && pResource->name().compare(strName, Qt::CaseInsensitive) == 0)
            return pResource;
    }
    return nullptr;
}

bool KVResourceManager::addResource(KVResource *pResource)
{
    if (!pResource || !KVResourceType::isValid(pResource->type()))
        return false;
    if (m_resources.value(pResource->id()) == pResource) {
        setResourceDeleted(pResource->id(), false);
        return true;
    }
    if (pResource->id() < 0 || m_resources.contains(pResource->id()))
        pResource->setId(takeId());
    if (pResource->id() < std::numeric_limits<int>::max())
        m_nNextId = qMax(m_nNextId, pResource->id() + 1);
    pResource->setDeleted(false);
    m_resources.insert(pResource->id(), pResource);
    if (pResource->type() == KVResourceType::Script || pResource->type() == KVResourceType::StyleSheet)
        orderList(pResource->type()).append(pResource->id());
    emit resourceAdded(pResource->id());
    return true;
}

KVResource *KVResourceManager::takeResource(int nId)
{
    KVResource *pResource = m_resources.take(nId);
    if (!pResource)
        return nullptr;
    m_scriptOrder.removeAll(nId);
    m_styleOrder.removeAll(nId);
    m_imageSizes.remove(nId);
    return pResource;
}

bool KVResourceManager::canRemove(const QList<int> &ids) const
{
    for (int nId : ids) {
        const KVResource *pResource = resource(nId);
        if (pResource && pResource->isInUse()) {
            Reporter::error(tr("Cannot remove resources that are in use."));
            return false;
        }
    }
    return true;
}

bool KVResourceManager::removeResources(const QList<int> &ids)
{
    if (!canRemove(ids))
        return false;
    for (int nId : ids)
        setResourceDeleted(nId, true);
    return true;
}

bool KVResourceManager::setResourceDeleted(int nId, bool bDeleted)
{
    KVResource *pResource = resource(nId);
    if (!pResource)
        return false;
    if (pResource->isDeleted() != bDeleted) {
        pResource->setDeleted(bDeleted);
        emit resourceDeletedChanged(nId, bDeleted);
    }
    return true;
}

int KVResourceManager::takeId()
{
    const auto after = [](int nId) { return nId < std::numeric_limits<int>::max() ? qMax(1, nId + 1) : 1; };
    while (m_resources.contains(m_nNextId) || m_nNextId < 1)
        m_nNextId = after(m_nNextId);
    const int nId = m_nNextId;
    m_nNextId = after(nId);
    return nId;
}

void KVResourceManager::clear()
{
    qDeleteAll(m_resources);
    m_resources.clear();
    m_scriptOrder.clear();
    m_styleOrder.clear();
    m_missingFiles.clear();
    m_outsideResources.clear();
    m_nNextId = 1;
    cleanup();
}

// ---- Use counts

bool KVResourceManager::retainResource(int nId)
{
    KVResource *pResource = resource(nId);
    if (!pResource)
        return false;
    pResource->retain();
    return true;
}

bool KVResourceManager::releaseResource(int nId)
{
    KVResource *pResource = resource(nId);
    if (!pResource || pResource->useCount() <= 0)
        return false;
    pResource->release();
    return true;
}

QList<KVResource *> KVResourceManager::unusedResources() const
{
    QList<KVResource *> list;
    for (KVResource *pResource : m_resources) {
        if (!pResource->isDeleted() && !pResource->isInUse())
            list.append(pResource);
    }
    return list;
}

bool KVResourceManager::hasImage(int nResourceId) const
{
    const KVResource *pResource = resource(nResourceId);
    return pResource && pResource->type() == KVResourceType::Image;
}

bool KVResourceManager::isDeleted(int nResourceId) const
{
    const KVResource *pResource = resource(nResourceId);
    return !pResource || pResource->isDeleted();
}

void KVResourceManager::acquire(int nResourceId)
{
    if (!retainResource(nResourceId))
        qWarning() << "Use count taken on unknown resource" << nResourceId;
}

void KVResourceManager::release(int nResourceId)
{
    if (!releaseResource(nResourceId))
        qWarning() << "Use count given back on resource" << nResourceId << "without one held";
}

// ---- Images

KVResourceManager::FileStamp KVResourceManager::stampOf(const QString &strPath)
{
    FileStamp stamp;
    stamp.strPath = strPath;
    const QFileInfo info(strPath);
    // Only regular files count: reading a device or a pipe would never end.
    if (info.isFile()) {
        stamp.modified = info.lastModified();
        stamp.nSize = info.size();
    }
    return stamp;
}

QSize KVResourceManager::imageSize(int nResourceId) const
{
    if (!hasImage(nResourceId))
        return QSize();
    const QString strPath = filePath(resource(nResourceId));
    const qint64 nNow = m_clock.elapsed();
    auto it = m_imageSizes.find(nResourceId);
    if (it != m_imageSizes.end() && it->stamp.strPath == strPath) {
        if (nNow - it->nCheckedAt < m_nFileCheckInterval && m_nFileCheckInterval > 0)
            return it->size;
        const FileStamp stamp = stampOf(strPath);
        if (it->stamp == stamp) {
            it->nCheckedAt = nNow;
            return it->size;
        }
    }
    const FileStamp stamp = stampOf(strPath);
    QSize size;
    if (stamp.nSize >= 0) {
        ++m_nImageSizeReads;
        QImageReader reader(strPath);
        size = reader.size();
        if (!size.isValid()) {
            // Some readers only know the size once an image is decoded.
            const QImage image = reader.read();
            size = image.isNull() ? QSize() : image.size();
        }
    }
    m_imageSizes.insert(nResourceId, CachedSize{stamp, size, nNow});
    return size;
}

void KVResourceManager::forgetFile(const QString &strPath)
{
    const QString strClean = QDir::cleanPath(strPath);
    for (auto it = m_imageSizes.begin(); it != m_imageSizes.end();) {
        if (it->stamp.strPath == strClean)
            it = m_imageSizes.erase(it);
        else
            ++it;
    }
    m_hashes.remove(strClean);
    for (auto it = m_images.begin(); it != m_images.end();) {
        if (it->stamp.strPath == strClean)
            it = m_images.erase(it);
        else
            ++it;
    }
}

QByteArray KVResourceManager::readFile(const KVResource *pResource, const QString &strFileName) const
{
    if (!pResource)
        return QByteArray();
    const QString strPath = strFileName.isEmpty() ? filePath(pResource) : absoluteFilePath(strFileName);
    bool bOk = false;
    const QByteArray data = KVFileCopier::readRegularFile(strPath, -1, &bOk);
    if (!bOk) {
        Reporter::error(tr("Could not read file %1")
                            .arg(strFileName.isEmpty() ? pResource->fileName() : strFileName));
        return QByteArray();
    }
    return data;
}

QImage KVResourceManager::image(int nResourceId) const
{
    if (!hasImage(nResourceId))
        return QImage();
    const KVResource *pResource = resource(nResourceId);
    const QString strKey = pResource->uuid().toString();
    const FileStamp stamp = stampOf(filePath(pResource));
    auto it = m_images.constFind(strKey);
    if (it != m_images.constEnd() && it->stamp == stamp)
        return it->image;
    QByteArray data = readFile(pResource);
    if (data.isEmpty())
        return QImage();
    QByteArray format;
    if (QFileInfo(stamp.strPath).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0) {
        data.replace("<style>", "<style type=\"text/css\">");
        format = "svg";
    }
    QBuffer buffer(&data);
    QImageReader reader(&buffer, format);
    const QImage img = reader.read();
    if (img.isNull()) {
        Reporter::error(tr("Could not read file %1").arg(pResource->fileName()));
        return QImage();
    }
    m_images.insert(strKey, CachedImage{stamp, img});
    return img;
}

// ---- Text content

bool KVResourceManager::loadContent(KVOtherResource *pResource) const
{
    if (!pResource || !pResource->hasFolderFile() || pResource->fileName().isEmpty())
        return false;
    bool bOk = false;
    const QByteArray data = KVFileCopier::readRegularFile(filePath(pResource), -1, &bOk);
    if (!bOk) {
        Reporter::error(tr("Could not read file %1").arg(pResource->fileName()));
        return false;
    }
    pResource->setSavedContent(QString::fromUtf8(data));
    return true;
}

bool KVResourceManager::saveContent(KVOtherResource *pResource)
{
    if (!pResource || !pResource->hasFolderFile())
        return false;
    if (!ensureResourceFolder())
        return false;
    bool bNewFile = false;
    if (pResource->fileName().isEmpty()) {
        const QString strSuffix = KVResourceType::suffixes(pResource->type()).value(0);
        pResource->setFileName(uniqueFileName(pResource->name() + QLatin1Char('.') + strSuffix));
        bNewFile = true;
    }
    const QString strPath = filePath(pResource);
    const QByteArray data = pResource->content().toUtf8();
    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        Reporter::error(tr("Could not write file %1").arg(pResource->fileName()));
        if (bNewFile)
            pResource->setFileName(QString());
        return false;
    }
    forgetFile(strPath);
    pResource->setSavedContent(pResource->content());
    pResource->setDataSize(data.size());
    if (bNewFile)
        announceStoredFile(pResource->fileName());
    return true;
}

// ---- File names

bool KVResourceManager::isFileNameTaken(const QString &strFileName) const
{
    if (resourceByFileName(strFileName))
        return true;
    // A deleted resource keeps its file for undo, and files nobody knows are not ours to replace.
    const QString strFolder = resourceFolderPath();
    return !strFolder.isEmpty() && QFileInfo::exists(strFolder + QLatin1Char('/') + strFileName);
}

QString KVResourceManager::uniqueFileName(const QString &strFileName) const
{
    const QString strClean = KVResourceType::sanitizedFileName(QFileInfo(strFileName).fileName());
    if (!isFileNameTaken(strClean))
        return strClean;
    const QFileInfo info(strClean);
    const QString strBase = info.completeBaseName();
    const QString strSuffix = info.suffix();
    for (int n = 1;; ++n) {
        QString strCandidate = QStringLiteral("%1_%2").arg(strBase).arg(n);
        if (!strSuffix.isEmpty())
            strCandidate += QLatin1Char('.') + strSuffix;
        if (!isFileNameTaken(strCandidate))
            return strCandidate;
    }
}

QString KVResourceManager::uniqueName(const QString &strName) const
{
    if (!resourceByName(strName))
        return strName;
    for (int n = 1;; ++n) {
        const QString strCandidate = QStringLiteral("%1_%2").arg(strName).arg(n);
        if (!resourceByName(strCandidate))
            return strCandidate;
    }
}

// ---- Import (the copying is done by KVResourceImporter)

QList<KVResource *> KVResourceManager::importFiles(const QStringList &paths, int nType,
                                                   QStringList *pFailed)
{
    KVResourceImporter importer(this);
    const QList<KVResource *> created = importer.importFiles(paths, nType, pFailed);
    m_bImportCanceled = importer.wasCanceled();
    return created;
}

KVResource *KVResourceManager::importFile(const QString &strPath, int nType)
{
    const QList<KVResource *> created = importFiles({strPath}, nType);
    return created.isEmpty() ? nullptr : created.constFirst();
}

QString KVResourceManager::storeFile(const QString &strPath)
{
    return KVResourceImporter(this).storeFile(strPath);
}

KVResource *KVResourceManager::copyResource(const KVResource *pSource, const QString &strSourceFolder,
                                            bool *pReused)
{
    return KVResourceImporter(this).copyResource(pSource, strSourceFolder, pReused);
}

bool KVResourceManager::updateFromOriginal(KVResource *pResource)
{
    return KVResourceImporter(this).updateFromOriginal(pResource);
}

void KVResourceManager::announceStoredFile(const QString &strFileName)
{
    emit fileStored(relativeFilePath(strFileName));
}

qint64 KVResourceManager::storedSize(const KVResource *pResource) const
{
    qint64 nSize = 0;
    for (const QString &strPath : filePaths(pResource))
        nSize += qMax<qint64>(0, QFileInfo(strPath).size());
    return nSize;
}

// ---- Hashes

void KVResourceManager::noteFileHash(const QString &strPath, const QByteArray &hash)
{
    const QString strClean = QDir::cleanPath(strPath);
    m_hashes.insert(strClean, CachedHash{stampOf(strClean), hash});
}

QByteArray KVResourceManager::hashOfFile(const QString &strPath)
{
    QFile file(strPath);
    qint64 nLeft = 0;
    if (!KVFileCopier::openRegularFile(file, &nLeft))
        return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Md5);
    while (nLeft > 0) {
        const QByteArray block = file.read(qMin(KVFileCopier::BlockSize, nLeft));
        if (block.isEmpty())
            break;
        hash.addData(block);
        nLeft -= block.size();
    }
    if (file.error() != QFileDevice::NoError)
        return QByteArray();
    return hash.result().toHex();
}

QByteArray KVResourceManager::fileHash(const KVResource *pResource) const
{
    const QString strPath = filePath(pResource);
    if (strPath.isEmpty())
        return QByteArray();
    const FileStamp stamp = stampOf(strPath);
    auto it = m_hashes.constFind(strPath);
    if (it != m_hashes.constEnd() && it->stamp == stamp)
        return it->hash;
    const QByteArray hash = stamp.nSize >= 0 ? hashOfFile(strPath) : QByteArray();
    m_hashes.insert(strPath, CachedHash{stamp, hash});
    return hash;
}

KVResource *KVResourceManager::findByHash(const QByteArray &hash, int nType) const
{
    if (hash.isEmpty())
        return nullptr;
    for (KVResource *pResource : liveResources(nType)) {
        if (fileHash(pResource) == hash)
            return pResource;
    }
    return nullptr;
}

KVResource *KVResourceManager::findByContent(const QString &strPath, int nType) const
{
    const QFileInfo info(strPath);
    if (!info.isFile())
        return nullptr;
    QByteArray hash;
    for (KVResource *pResource : liveResources(nType)) {
        const QString strOwn = filePath(pResource);
        if (strOwn.isEmpty() || QFileInfo(strOwn).size() != info.size())
            continue;
        if (hash.isEmpty())
            hash = hashOfFile(strPath);
        if (!hash.isEmpty() && fileHash(pResource) == hash)
            return pResource;
    }
    return nullptr;
}

// ---- Include order

QList<int> &KVResourceManager::orderList(int nType)
{
    return nType == KVResourceType::Script ? m_scriptOrder : m_styleOrder;
}

const QList<int> *KVResourceManager::orderListOf(int nType) const
{
    if (nType == KVResourceType::Script)
        return &m_scriptOrder;
    if (nType == KVResourceType::StyleSheet)
        return &m_styleOrder;
    return nullptr;
}

QList<int> KVResourceManager::includeOrderIds(int nType) const
{
    const QList<int> *pOrder = orderListOf(nType);
    return pOrder ? *pOrder : QList<int>();
}

QList<KVOtherResource *> KVResourceManager::includeOrder(int nType) const
{
    QList<KVOtherResource *> list;
    for (int nId : includeOrderIds(nType)) {
        if (auto *pOther = dynamic_cast<KVOtherResource *>(resource(nId)))
            list.append(pOther);
    }
    return list;
}

bool KVResourceManager::setIncludeOrder(int nType, const QList<int> &ids)
{
    const QList<int> *pOrder = orderListOf(nType);
    if (!pOrder)
        return false;
    QList<int> sortedOld = *pOrder;
    QList<int> sortedNew = ids;
    std::sort(sortedOld.begin(), sortedOld.end());
    std::sort(sortedNew.begin(), sortedNew.end());
    if (sortedOld != sortedNew)
        return false;
    orderList(nType) = ids;
    return true;
}

QList<KVOtherResource *> KVResourceManager::headResources(int nType) const
{
    QList<KVOtherResource *> list;
    for (KVOtherResource *pOther : includeOrder(nType)) {
        if (!pOther->isDeleted() && pOther->includeHeader())
            list.append(pOther);
    }
    return list;
}

// ---- Files of the project

QStringList KVResourceManager::referencedFiles() const
{
    QStringList files;
    for (const KVResource *pResource : m_resources) {
        if (pResource->isDeleted())
            continue;
        for (const QString &strFile : pResource->storedFiles()) {
            const QString strRelative = relativeFilePath(strFile);
            if (!files.contains(strRelative))
                files.append(strRelative);
        }
    }
    return files;
}

QStringList KVResourceManager::referencedFilePaths() const
{
    QStringList paths;
    for (const KVResource *pResource : m_resources) {
        if (pResource->isDeleted())
            continue;
        for (const QString &strPath : filePaths(pResource)) {
            if (!paths.contains(strPath))
                paths.append(strPath);
        }
    }
    return paths;
}

QStringList KVResourceManager::referencedFiles(const QJsonArray &jaProjectForm) const
{
    QStringList files;
    for (const QJsonValue &value : jaProjectForm) {
        const QJsonObject jo = value.toObject();
        const int nType = KVJsonUtil::readInt(jo, QStringLiteral("type"), -1);
        if (KVJsonUtil::readInt(jo, QStringLiteral("id"), -1) == -1 || KVJsonUtil::readBool(jo, QStringLiteral("deleted"), false))
            continue;
        std::unique_ptr<KVResource> pResource(KVResource::create(nType));
        if (!pResource)
            continue;
        pResource->fromJson(jo);
        for (const QString &strFile : pResource->storedFiles()) {
            const QString strRelative = relativeFilePath(strFile);
            if (!files.contains(strRelative))
                files.append(strRelative);
        }
    }
    return files;
}

void KVResourceManager::cleanup()
{
    m_imageSizes.clear();
    m_hashes.clear();
    m_images.clear();
}

// ---- Project form

QList<KVResource *> KVResourceManager::writeOrder() const
{
    QList<KVResource *> list;
    for (KVResource *pResource : m_resources) {
        if (!pResource->isDeleted() && pResource->type() != KVResourceType::Script
            && pResource->type() != KVResourceType::StyleSheet)
            list.append(pResource);
    }
    for (int nType : {int(KVResourceType::StyleSheet), int(KVResourceType::Script)}) {
        for (KVOtherResource *pOther : includeOrder(nType)) {
            if (!pOther->isDeleted())
                list.append(pOther);
        }
    }
    return list;
}

QJsonArray KVResourceManager::toJson() const
{
    QJsonArray ja;
    for (const KVResource *pResource : writeOrder())
        ja.append(pResource->toJson());
    return ja;
}

bool KVResourceManager::isInProjectFolder(const QString &strFile) const
{
    const QString strPath = QString(strFile).replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (strPath.isEmpty())
        return true;
    if (strPath.startsWith(QLatin1Char('/')) || QDir::isAbsolutePath(strPath)
        || (strPath.size() > 2 && strPath.at(0).isLetter() && strPath.at(1) == QLatin1Char(':')
            && strPath.at(2) == QLatin1Char('/')))
        return false;
    const QStringList parts = strPath.split(QLatin1Char('/'));
    if (parts.contains(QLatin1String("..")))
        return false;
    // Since the second format a stored file is a plain name in the resource folder.
    if (m_nFormatVersion >= 2 && parts.size() > 1)
        return false;
    // A link inside the folder must not lead out of it.
    const QString strProject = projectFolderPath();
    return strProject.isEmpty() || KVProjectPaths::isInFolder(absoluteFilePath(strFile), strProject);
}

bool KVResourceManager::staysInProject(const KVResource &resource) const
{
    QStringList files = resource.storedFiles();
    // A linked script or style sheet names a file where it lies: the same rule holds for it.
    if (const auto *pOther = dynamic_cast<const KVOtherResource *>(&resource)) {
        if (pOther->resourceType() == KVOtherResource::LinkedFile && !pOther->fileName().contains(QLatin1String("://")))
            files << pOther->fileName();
    }
    for (const QString &strFile : files) {
        if (!isInProjectFolder(strFile))
            return false;
    }
    return true;
}

bool KVResourceManager::fromJson(const QJsonArray &ja, int nFormatVersion, QStringList *pMissingFiles,
                                 QStringList *pOutside)
{
    clear();
    m_nFormatVersion = nFormatVersion;
    int nHighestId = 0;
    for (const QJsonValue &value : ja) {
        const QJsonObject jo = value.toObject();
        const int nType = KVJsonUtil::readInt(jo, QStringLiteral("type"), -1);
        const int nId = KVJsonUtil::readInt(jo, QStringLiteral("id"), -1);
        if (nType == -1 || nId == -1)
            continue;
        if (m_resources.contains(nId)) {
            qWarning() << "Resource id" << nId << "appears twice in the project; the second is skipped";
            continue;
        }
        KVResource *pResource = KVResource::create(nType);
        if (!pResource)
            continue;
        pResource->fromJson(jo);
        if (!staysInProject(*pResource)) {
            if (!pResource->isDeleted())
                m_outsideResources.append(pResource->name().isEmpty() ? pResource->fileName() : pResource->name());
            delete pResource;
            continue;
        }
        pResource->setName(KVResourceType::sanitizedFileName(pResource->name()));
        pResource->setId(nId);
        m_resources.insert(nId, pResource);
        if (nType == KVResourceType::Script || nType == KVResourceType::StyleSheet)
            orderList(nType).append(nId);
        nHighestId = qMax(nHighestId, nId);
        if (pResource->isDeleted())
            continue;
        for (const QString &strFile : pResource->storedFiles()) {
            const QString strPath = absoluteFilePath(strFile);
            if (strPath.isEmpty() || !QFileInfo(strPath).isFile())
                m_missingFiles.append(strFile);
        }
    }
    m_nNextId = nHighestId < std::numeric_limits<int>::max() ? qMax(1, nHighestId + 1) : 1;
    if (pOutside)
        *pOutside = m_outsideResources;
    if (pMissingFiles)
        *pMissingFiles = m_missingFiles;
    return m_missingFiles.isEmpty();
}

// ---- Player form

QString KVResourceManager::exportedFileName(const QString &strName, const QString &strStoredFile)
{
    const QString strStoredSuffix = QFileInfo(strStoredFile).suffix();
    QString strResult = strName;
    if (QFileInfo(strName).suffix().compare(strStoredSuffix, Qt::CaseInsensitive) != 0
        && !strStoredSuffix.isEmpty())
        strResult += QLatin1Char('.') + strStoredSuffix;
    return KVResourceType::sanitizedFileName(strResult);
}

QString KVResourceManager::exportedFileName(const KVResource *pResource)
{
    if (!pResource)
        return QString();
    if (!pResource->hasStoredFile())
        return pResource->fileReference();
    return exportedFileName(pResource->name(), pResource->fileName());
}

QStringList KVResourceManager::exportedMediaFileNames(const MediaResource *pMedia)
{
    QStringList names;
    if (!pMedia)
        return names;
    for (const QString &strFile : pMedia->storedFiles())
        names.append(exportedFileName(pMedia->name(), strFile));
    return names;
}

QJsonArray KVResourceManager::playerItem(const KVResource *pResource, bool bPreview,
                                         const SymbolDataWriter &symbolData) const
{
    QJsonArray ja{pResource->id(), pResource->type(), pResource->name()};
    switch (pResource->type()) {
    case KVResourceType::Image:
    case KVResourceType::HtmlPage:
        if (bPreview || !pResource->hasStoredFile())
            ja.append(pResource->fileReference());
        else
            ja.append(exportedFileName(pResource));
        break;
    case KVResourceType::Audio:
    case KVResourceType::Video: {
        const auto *pMedia = static_cast<const MediaResource *>(pResource);
        ja.append(QJsonArray::fromStringList(bPreview ? pMedia->storedFiles()
                                                      : exportedMediaFileNames(pMedia)));
        break;
    }
    case KVResourceType::Symbol:
        ja.append(symbolData ? symbolData(*pResource) : QJsonObject());
        break;
    default:
        break;
    }
    return ja;
}

QJsonArray KVResourceManager::canvasItem(const KVResource *pResource) const
{
    return pResource ? playerItem(pResource, true, SymbolDataWriter()) : QJsonArray();
}

QJsonArray KVResourceManager::toPlayerJson(bool bPreview, const SymbolDataWriter &symbolData) const
{
    QJsonArray ja;
    for (const KVResource *pResource : writeOrder())
        ja.append(playerItem(pResource, bPreview, symbolData));
    return ja;
}
