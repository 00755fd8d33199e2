#pragma once

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

class IKVProgress;
class QCryptographicHash;
class QFile;
class QFileDevice;

// Copies files in blocks of 1 MiB. When the data of the whole run exceeds 20 MiB the copy shows
// its progress (with a cancel button) through an IKVProgress and checks for a cancel between blocks
// and between files. A target is written under a temporary name and renamed into place only when
// complete, so a failed or cancelled copy never leaves a half-written file and never damages a file
// that was there before. Only regular files are copied (a device or a pipe would never end), and
// no more than the size the file had when it was opened.
class KVFileCopier
{
    Q_DECLARE_TR_FUNCTIONS(KVFileCopier)
public:
    static constexpr qint64 BlockSize = 1048576;
    static constexpr qint64 ProgressThreshold = 20971520;

    enum Result { Copied, ReadFailed, WriteFailed, Canceled };

    // nTotal is the number of bytes the run will copy; the progress opens only above the threshold.
    KVFileCopier(IKVProgress *pProgress, const QString &strText, const QString &strCancelText,
                 qint64 nTotal);
    ~KVFileCopier();
    KVFileCopier(const KVFileCopier &) = delete;
    KVFileCopier &operator=(const KVFileCopier &) = delete;

    bool showsProgress() const { return m_bShowing; }
    bool wasCanceled() const { return m_bCanceled; }
    qint64 bytesCopied() const { return m_nDone; }

    // Copies strSource to strTarget (replacing it atomically when it exists), feeding the data to
    // pHash when given.
    Result copy(const QString &strSource, const QString &strTarget,
                QCryptographicHash *pHash = nullptr);

    // Opens file for reading when its name is a regular file (after links): a device, a pipe or a
    // folder gives false at once, without waiting for a pipe's writer. *pSize gets the size seen.
    static bool openRegularFile(QFile &file, qint64 *pSize = nullptr);
    // Reads at most nMax bytes of a regular file (empty when it is not one).
    static QByteArray readRegularFile(const QString &strPath, qint64 nMax = -1, bool *pOk = nullptr);

    // Closes the progress; also done by the destructor.
    void finish();

private:
    // Counts a finished block and shows it; false when the user cancelled.
    bool blockDone(qint64 nBytes);
    // Copies nLeft bytes through this process's memory (used when the data is to be hashed).
    Result copyThrough(QFile &source, QFileDevice &target, qint64 nLeft, QCryptographicHash *pHash);
#ifdef Q_OS_UNIX
    // Copies nLeft bytes between the descriptors with copy_file_range, falling back to read and
    // write when the kernel cannot (another file system, an old kernel).
    Result copyDescriptors(int nSource, int nTarget, qint64 nLeft);
    // Copies nLeft bytes from nSource to a temporary file beside strTarget, renamed over it when
    // complete.
    Result copyDirect(int nSource, qint64 nLeft, const QString &strTarget);
#endif

    IKVProgress *m_pProgress = nullptr;
    qint64 m_nDone = 0;
    bool m_bShowing = false;
    bool m_bCanceled = false;
};
