#include "KVFileCopier.h"

#include "IKVProgress.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSaveFile>

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
    if (!source.open(QIODevice::ReadOnly))
        return ReadFailed;
    // QSaveFile writes beside the target under a temporary name and renames on commit.
    QSaveFile target(strTarget);
    if (!target.open(QIODevice::WriteOnly))
        return WriteFailed;

    QByteArray block;
    while (true) {
        block = source.read(BlockSize);
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
