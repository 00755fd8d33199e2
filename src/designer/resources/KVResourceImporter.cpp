#include "KVResourceImporter.h"

#include "KVFileCopier.h"
#include "KVResource.h"
#include "KVResourceManager.h"
#include "KVResourceType.h"
#include "MediaResource.h"
#include "Reporter.h"
#include "model/IKVDocumentContext.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

KVResourceImporter::KVResourceImporter(KVResourceManager *pManager)
    : m_pManager(pManager)
{
}

IKVProgress *KVResourceImporter::progress() const
{
    const IKVDocumentContext *pContext = m_pManager->context();
    return pContext ? pContext->progress() : nullptr;
}

void KVResourceImporter::reportOrCollect(const QString &strText, const QString &strPath,
                                         QStringList *pFailed)
{
    if (pFailed)
        pFailed->append(strPath);
    else
        Reporter::error(strText);
}

KVResource *KVResourceImporter::createImported(const QString &strPath, int nType,
                                              const QString &strStored,
                                              const QStringList &takenNames) const
{
    const QFileInfo info(strPath);
    KVResource *pResource = KVResource::create(nType);
    QString strName = KVResourceType::sanitizedName(info.completeBaseName());
    QString strCandidate = m_pManager->uniqueName(strName);
    for (int n = 1; takenNames.contains(strCandidate, Qt::CaseInsensitive); ++n)
        strCandidate = m_pManager->uniqueName(QStringLiteral("%1_%2").arg(strName).arg(n));
    pResource->setName(strCandidate);
    pResource->setOriginalPath(info.absoluteFilePath());
    pResource->setDataSize(info.size());
    if (auto *pMedia = dynamic_cast<MediaResource *>(pResource))
        pMedia->setFormatFile(strStored, info.absoluteFilePath());
    else
        pResource->setFileName(strStored);
    return pResource;
}

QList<KVResource *> KVResourceImporter::importFiles(const QStringList &paths, int nType,
                                                   QStringList *pFailed)
{
    m_bCanceled = false;
    QList<KVResource *> created;
    if (paths.isEmpty() || !m_pManager->ensureResourceFolder()) {
        if (pFailed)
            pFailed->append(paths);
        return created;
    }

    // Check every file first, so the progress knows the whole amount.
    QStringList accepted;
    QList<int> kinds;
    qint64 nTotal = 0;
    for (const QString &strPath : paths) {
        const QFileInfo info(strPath);
        const int nKind = nType < 0 ? KVResourceType::typeOfFile(strPath) : nType;
        const bool bKnown = nType < 0 ? KVResourceType::acceptsSuffix(KVResourceType::AnyImportable, info.suffix())
                                      : KVResourceType::acceptsSuffix(nType, info.suffix());
        if (!bKnown || !KVResourceType::isValid(nKind)) {
            reportOrCollect(tr("Could not import %1.\nFile format may not be supported.").arg(strPath),
                            strPath, pFailed);
            continue;
        }
        if (!info.isFile() || !info.isReadable()) {
            reportOrCollect(tr("Could not read file %1").arg(strPath), strPath, pFailed);
            continue;
        }
        accepted.append(strPath);
        kinds.append(nKind);
        nTotal += info.size();
    }

    IKVProgress *pProgress = progress();
    KVFileCopier copier(pProgress, tr("Importing resources..."), tr("Abort"), nTotal);
    QStringList stored;
    QStringList takenNames;
    for (int i = 0; i < accepted.size(); ++i) {
        const QString &strPath = accepted.at(i);
        const QString strStored = m_pManager->uniqueFileName(QFileInfo(strPath).fileName());
        const QString strTarget = m_pManager->resourceFolderPath() + QLatin1Char('/') + strStored;
        QCryptographicHash hash(QCryptographicHash::Md5);
        const KVFileCopier::Result result = copier.copy(strPath, strTarget, &hash);
        if (result == KVFileCopier::Canceled) {
            // The user gave the import up: nothing of it stays.
            for (const QString &strFile : qAsConst(stored))
                QFile::remove(m_pManager->resourceFolderPath() + QLatin1Char('/') + strFile);
            qDeleteAll(created);
            created.clear();
            m_bCanceled = true;
            return created;
        }
        if (result == KVFileCopier::ReadFailed) {
            reportOrCollect(tr("Could not read file %1").arg(strPath), strPath, pFailed);
            continue;
        }
        if (result == KVFileCopier::WriteFailed) {
            reportOrCollect(tr("Could not write file %1 into the resources folder.").arg(strStored),
                            strPath, pFailed);
            continue;
        }
        stored.append(strStored);
        m_pManager->noteFileHash(strTarget, hash.result().toHex());
        KVResource *pResource = createImported(strPath, kinds.at(i), strStored, takenNames);
        pResource->setId(m_pManager->takeId());
        takenNames.append(pResource->name());
        created.append(pResource);
    }
    copier.finish();
    for (const QString &strFile : qAsConst(stored))
        m_pManager->announceStoredFile(strFile);
    return created;
}

QString KVResourceImporter::storeFile(const QString &strPath)
{
    if (!m_pManager->ensureResourceFolder())
        return QString();
    const QFileInfo info(strPath);
    if (!info.isFile()) {
        Reporter::error(tr("Could not read file %1").arg(strPath));
        return QString();
    }
    const QString strStored = m_pManager->uniqueFileName(info.fileName());
    const QString strTarget = m_pManager->resourceFolderPath() + QLatin1Char('/') + strStored;
    IKVProgress *pProgress = progress();
    KVFileCopier copier(pProgress, tr("Importing resources..."), tr("Abort"), info.size());
    QCryptographicHash hash(QCryptographicHash::Md5);
    switch (copier.copy(strPath, strTarget, &hash)) {
    case KVFileCopier::Copied:
        break;
    case KVFileCopier::Canceled:
        return QString();
    case KVFileCopier::ReadFailed:
        Reporter::error(tr("Could not read file %1").arg(strPath));
        return QString();
    case KVFileCopier::WriteFailed:
        Reporter::error(tr("Could not write file %1 into the resources folder.").arg(strStored));
        return QString();
    }
    m_pManager->noteFileHash(strTarget, hash.result().toHex());
    m_pManager->announceStoredFile(strStored);
    return strStored;
}

KVResource *KVResourceImporter::copyResource(const KVResource *pSource, const QString &strSourceFolder,
                                            bool *pReused)
{
    if (pReused)
        *pReused = false;
    if (!pSource)
        return nullptr;
    KVResource *pExisting = m_pManager->resourceByUuid(pSource->uuid());
    if (pExisting && !pExisting->isDeleted()) {
        if (pReused)
            *pReused = true;
        return pExisting;
    }
    KVResource *pCopy = pSource->clone();
    pCopy->setDeleted(false);
    while (pCopy->useCount() > 0)
        pCopy->release();
    QStringList stored;
    auto storeOne = [&](const QString &strFile) -> QString {
        const QString strStored = storeFile(QDir(strSourceFolder).filePath(strFile));
        if (!strStored.isEmpty())
            stored.append(strStored);
        return strStored;
    };
    bool bOk = true;
    if (auto *pMedia = dynamic_cast<MediaResource *>(pCopy)) {
        const QMap<QString, QString> files = pMedia->fileNames();
        const QMap<QString, QString> originals = pMedia->originalPaths();
        const QString strMain = pMedia->fileName();
        pMedia->setFileName(QString());
        for (const QString &strFormat : files.keys())
            pMedia->removeFormat(strFormat);
        for (auto it = files.cbegin(); bOk && it != files.cend(); ++it) {
            const QString strStored = storeOne(it.value());
            bOk = !strStored.isEmpty();
            if (bOk) {
                pMedia->setFormatFile(strStored, originals.value(it.key()));
                if (it.value() == strMain)
                    pMedia->setFileName(strStored);
            }
        }
    } else if (pCopy->hasStoredFile()) {
        const QString strStored = storeOne(pCopy->fileName());
        bOk = !strStored.isEmpty();
        pCopy->setFileName(strStored);
    }
    if (!bOk) {
        for (const QString &strFile : qAsConst(stored))
            QFile::remove(m_pManager->absoluteFilePath(strFile));
        delete pCopy;
        return nullptr;
    }
    if (m_pManager->resourceByName(pCopy->name()))
        pCopy->setName(m_pManager->uniqueName(pCopy->name()));
    pCopy->setId(m_pManager->takeId());
    return pCopy;
}

bool KVResourceImporter::updateFromOriginal(KVResource *pResource)
{
    if (!pResource)
        return false;
    const QString strOriginal = pResource->originalPath();
    if (strOriginal.isEmpty() || !QFileInfo(strOriginal).isFile()) {
        Reporter::error(tr("Could not find the original file."));
        return false;
    }
    const QString strTarget = m_pManager->filePath(pResource);
    if (strTarget.isEmpty()) {
        Reporter::error(tr("Could not update from the original file."));
        return false;
    }
    IKVProgress *pProgress = progress();
    KVFileCopier copier(pProgress, tr("Importing resources..."), tr("Abort"), QFileInfo(strOriginal).size());
    const KVFileCopier::Result result = copier.copy(strOriginal, strTarget);
    m_pManager->forgetFile(strTarget);
    if (result == KVFileCopier::Canceled)
        return false;
    if (result != KVFileCopier::Copied) {
        Reporter::error(tr("Could not update from the original file."));
        return false;
    }
    pResource->setDataSize(m_pManager->storedSize(pResource));
    return true;
}
