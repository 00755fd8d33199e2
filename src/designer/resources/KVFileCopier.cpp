#include "KVFileCopier.h"

#include "IKVProgress.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
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
#ifdef Q_OS_UNIX
    // Without a hash the data need not pass through this process: the kernel copies each block
    // (sharing extents where the file system can), and plain reads and writes take over where it
    // refuses.
    if (!pHash)
        return copyDirect(source.handle(), nLeft, strTarget);
#endif
    // QSaveFile writes beside the target under a temporary name and renames on commit.
    QSaveFile target(strTarget);
    if (!target.open(QIODevice::WriteOnly))
        return WriteFailed;
    const Result result = copyThrough(source, target, nLeft, pHash);
    if (result != Copied) {
        target.cancelWriting();
        return result;
    }
    if (!target.commit())
        return WriteFailed;
    return Copied;
}

#ifdef Q_OS_UNIX
KVFileCopier::Result KVFileCopier::copyDirect(int nSource, qint64 nLeft, const QString &strTarget)
{
    // Like QSaveFile: a link is replaced in the file it points to, an existing file keeps its
    // permissions, and the data goes to a temporary name beside it that is renamed over it when
    // complete. Unlike QSaveFile the data is not forced to the disk file by file: an export or an
    // import is no database, and the flushes cost more than the copy itself.
    const QFileInfo info(strTarget);
    const QString strFinal = info.isSymLink() ? info.symLinkTarget() : strTarget;
    const QByteArray baFinal = QFile::encodeName(strFinal);
    struct stat existing;
    const bool bExists = ::stat(baFinal.constData(), &existing) == 0;
    if (bExists && (!S_ISREG(existing.st_mode) || ::access(baFinal.constData(), W_OK) != 0))
        return WriteFailed;
    QByteArray baTemp;
    int nTarget = -1;
    for (int i = 0; i < 100 && nTarget < 0; ++i) {
        baTemp = baFinal + '.' + QByteArray::number(quint64(::getpid()) * 1000003u + quint64(i)
                                                    + quint64(m_nDone), 36) + ".part";
        nTarget = ::open(baTemp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (nTarget < 0 && errno != EEXIST)
            return WriteFailed;
    }
    if (nTarget < 0)
        return WriteFailed;
    Result result = copyDescriptors(nSource, nTarget, nLeft);
    if (result == Copied && bExists && ::fchmod(nTarget, existing.st_mode & 07777) != 0)
        result = WriteFailed;
    if (::close(nTarget) != 0 && result == Copied)
        result = WriteFailed;
    if (result == Copied && ::rename(baTemp.constData(), baFinal.constData()) != 0)
        result = WriteFailed;
    if (result != Copied)
        ::unlink(baTemp.constData());
    return result;
}
#endif

bool KVFileCopier::blockDone(qint64 nBytes)
{
    m_nDone += nBytes;
    if (!m_bShowing)
        return true;
    m_pProgress->setValue(m_nDone);
    if (!m_pProgress->wasCanceled())
        return true;
    m_bCanceled = true;
    return false;
}

KVFileCopier::Result KVFileCopier::copyThrough(QFile &source, QFileDevice &target, qint64 nLeft,
                                               QCryptographicHash *pHash)
{
    QByteArray block;
    while (nLeft > 0) {
        block = source.read(qMin(BlockSize, nLeft));
        if (block.isEmpty())
            return source.error() != QFileDevice::NoError ? ReadFailed : Copied;
        if (target.write(block) != block.size())
            return WriteFailed;
        if (pHash)
            pHash->addData(block);
        nLeft -= block.size();
        if (!blockDone(block.size()))
            return Canceled;
    }
    return Copied;
}

#ifdef Q_OS_UNIX
KVFileCopier::Result KVFileCopier::copyDescriptors(int nSource, int nTarget, qint64 nLeft)
{
    if (nSource < 0 || nTarget < 0)
        return nSource < 0 ? ReadFailed : WriteFailed;
    bool bKernel = true;
    QByteArray buffer;
    while (nLeft > 0) {
        const qint64 nBlock = qMin(BlockSize, nLeft);
        qint64 nInBlock = 0;
        while (nInBlock < nBlock) {
            const size_t nWant = size_t(nBlock - nInBlock);
            ssize_t nCopied = -1;
            if (bKernel) {
                nCopied = ::copy_file_range(nSource, nullptr, nTarget, nullptr, nWant, 0);
                if (nCopied < 0 && errno == EINTR)
                    continue;
                if (nCopied < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS
                                    || errno == EOPNOTSUPP || errno == EPERM || errno == ETXTBSY)) {
                    bKernel = false; // this pair of files is copied the plain way
                    continue;
                }
                if (nCopied < 0)
                    return errno == EBADF || errno == EIO ? ReadFailed : WriteFailed;
            } else {
                if (buffer.isEmpty())
                    buffer.resize(int(BlockSize));
                nCopied = ::read(nSource, buffer.data(), nWant);
                if (nCopied < 0 && errno == EINTR)
                    continue;
                if (nCopied < 0)
                    return ReadFailed;
                for (ssize_t nWritten = 0; nWritten < nCopied;) {
                    const ssize_t n = ::write(nTarget, buffer.constData() + nWritten, size_t(nCopied - nWritten));
                    if (n < 0 && errno == EINTR)
                        continue;
                    if (n <= 0)
                        return WriteFailed;
                    nWritten += n;
                }
            }
            if (nCopied == 0)
                break; // the file ended early (it shrank): what there was is copied
            nInBlock += nCopied;
        }
        nLeft -= nInBlock;
        if (nInBlock > 0 && !blockDone(nInBlock))
            return Canceled;
        if (nInBlock < nBlock)
            break;
    }
    return Copied;
}
#endif

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
