#include "KVFileCopier.h"

#include "IKVProgress.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

KVFileCopier::KVFileCopier(IKVProgress *pProgress, const QString &strText,
                           const QString &strCancelText, qint64 nTotal)
    : m_pProgress(pProgress)
{
    if (m_pProgress && nTotal > ProgressThreshold) {
        m_pProgress->begin(strText, strCancelText, nTotal);
        m_bShowing = true;
    }
}

KVFileCopier::~KVFileCopier()
{
    finish();
}

void KVFileCopier::finish()
{
    if (!m_bShowing)
        return;
    m_bShowing = false;
    m_pProgress->end();
}

KVFileCopier::Result KVFileCopier::copy(const QString &strSource, const QString &strTarget,
                                        QCryptographicHash *pHash)
{
    if (m_bCanceled || (m_bShowing && m_pProgress->wasCanceled())) {
        m_bCanceled = true;
        return Canceled;
    }
    QFile source(strSource);
    qint64 nLeft = 0;
    if (!openRegularFile(source, &nLeft))
        return ReadFailed;
    // QSaveFile writes beside the target under a temporary name and renames on commit.
    QSaveFile target(strTarget);
    if (!target.open(QIODevice::WriteOnly))
        return WriteFailed;

    QByteArray block;
    while (nLeft > 0) {
        block = source.read(qMin(BlockSize, nLeft));
        if (block.isEmpty()) {
            if (source.error() != QFileDevice::NoError) {
                target.cancelWriting();
                return ReadFailed;
            }
            break;
        }
        if (target.write(block) != block.size()) {
            target.cancelWriting();
            return WriteFailed;
        }
        if (pHash)
            pHash->addData(block);
        nLeft -= block.size();
        m_nDone += block.size();
        if (m_bShowing) {
            m_pProgress->setValue(m_nDone);
            if (m_pProgress->wasCanceled()) {
                m_bCanceled = true;
                target.cancelWriting();
                return Canceled;
            }
        }
    }
    if (!target.commit())
        return WriteFailed;
    return Copied;
}

bool KVFileCopier::openRegularFile(QFile &file, qint64 *pSize)
{
#ifdef Q_OS_UNIX
    const QByteArray path = QFile::encodeName(file.fileName());
    if (path.isEmpty())
        return false;
    // Non-blocking, so that opening a pipe does not wait for a writer; fstat then tells what it is.
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    const int nFlags = ::fcntl(fd, F_GETFL);
    if (nFlags != -1)
        ::fcntl(fd, F_SETFL, nFlags & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    if (pSize)
        *pSize = qint64(st.st_size);
    return true;
#else
    if (!QFileInfo(file.fileName()).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    if (pSize)
        *pSize = file.size();
    return true;
#endif
}

QByteArray KVFileCopier::readRegularFile(const QString &strPath, qint64 nMax, bool *pOk)
{
    if (pOk)
        *pOk = false;
    QFile file(strPath);
    qint64 nSize = 0;
    if (strPath.isEmpty() || !openRegularFile(file, &nSize))
        return QByteArray();
    if (nMax >= 0)
        nSize = qMin(nSize, nMax);
    const QByteArray data = file.read(nSize);
    if (pOk)
        *pOk = file.error() == QFileDevice::NoError;
    return data;
}
