#include "KVHttpFileReader.h"

#include "KVHttpConnection.h"
#include "KVHttpResponse.h"

#include <QFile>
#include <QSocketNotifier>

KVHttpFileReader::KVHttpFileReader(QFile *pFile, qint64 nBytes, KVHttpResponse *pResponse,
                                   KVHttpConnection *pConnection, QObject *pParent)
    : QObject(pParent)
    , m_pFile(pFile)
    , m_pResponse(pResponse)
    , m_pConnection(pConnection)
    , m_nRemaining(qMax<qint64>(0, nBytes))
{
    m_nOffset = m_pFile->pos();
    connect(m_pResponse, &KVHttpResponse::allBytesWritten, this, &KVHttpFileReader::readNextBlock);
    connect(m_pResponse, &QObject::destroyed, this, &KVHttpFileReader::objectDestroyed);
    connect(m_pFile, &QObject::destroyed, this, &KVHttpFileReader::objectDestroyed);
    if (m_pConnection) {
        connect(m_pConnection, &KVHttpConnection::disconnected, this, &KVHttpFileReader::connectionClosed);
        connect(m_pConnection, &QObject::destroyed, this, &KVHttpFileReader::objectDestroyed);
    }
}

KVHttpFileReader::~KVHttpFileReader()
{
    if (!m_bFinished)
        finish(false);
}

void KVHttpFileReader::start()
{
    readNextBlock();
}

void KVHttpFileReader::readNextBlock()
{
    if (m_bFinished)
        return;
    if (m_bDirect)
        sendNextBlock();
    else
        readAndWriteBlock();
}

void KVHttpFileReader::sendNextBlock()
{
    if (m_pWritable)
        m_pWritable->setEnabled(false);
    qint64 nBlock = 0;
    while (m_nRemaining > 0 && nBlock < BlockSize) {
        const qint64 nSent = m_pResponse->writeFile(m_pFile->handle(), &m_nOffset,
                                                    qMin(m_nRemaining, BlockSize - nBlock));
        if (nSent == KVHttpResponse::FileWouldBlock) {
            // Either the header is still leaving through the socket's buffer (allBytesWritten()
            // comes back here) or the socket is full: its writable notice comes back here.
            if (m_pConnection && m_pConnection->bytesToWrite() > 0)
                return;
            break;
        }
        if (nSent == KVHttpResponse::FileFailed && m_nOffset == m_pFile->pos()) {
            // Nothing went straight from this file (a file system without it, a chunked body):
            // the blocks go through memory.
            m_bDirect = false;
            readAndWriteBlock();
            return;
        }
        if (nSent <= 0) {
            // The file ended early (it shrank) or could not be sent: the response ends short,
            // which makes the connection close, so the client notices.
            m_pResponse->end();
            finish(false);
            return;
        }
        m_nRemaining -= nSent;
        nBlock += nSent;
    }
    if (m_nRemaining == 0) {
        m_pResponse->end();
        finish(true);
        return;
    }
    // The next block when the socket has room, from the event loop.
    if (!m_pWritable) {
        const qintptr nSocket = m_pConnection ? m_pConnection->socketDescriptor() : -1;
        if (nSocket < 0) {
            finish(false);
            return;
        }
        m_pWritable = new QSocketNotifier(nSocket, QSocketNotifier::Write, this);
        connect(m_pWritable, &QSocketNotifier::activated, this, &KVHttpFileReader::sendNextBlock);
    }
    m_pWritable->setEnabled(true);
}

void KVHttpFileReader::readAndWriteBlock()
{
    const QByteArray baBlock = m_nRemaining > 0 ? m_pFile->read(qMin(m_nRemaining, BlockSize)) : QByteArray();
    if (baBlock.isEmpty()) {
        // Nothing left, or the file ended early (it shrank): the response ends here; a short body
        // makes the connection close, so the client notices.
        m_pResponse->end();
        finish(m_nRemaining == 0);
        return;
    }
    m_nRemaining -= baBlock.size();
    m_pResponse->write(baBlock);
    if (m_nRemaining == 0) {
        m_pResponse->end();
        finish(true);
    }
}

void KVHttpFileReader::connectionClosed()
{
    finish(false);
}

void KVHttpFileReader::objectDestroyed(QObject *pObj)
{
    if (pObj == m_pResponse)
        m_pResponse = nullptr;
    if (pObj == m_pConnection)
        m_pConnection = nullptr;
    if (pObj == m_pFile)
        m_pFile = nullptr;
    finish(false);
}

void KVHttpFileReader::finish(bool bComplete)
{
    if (m_bFinished)
        return;
    m_bFinished = true;
    // Before anything else can write to the socket through its own notifier.
    delete m_pWritable;
    m_pWritable = nullptr;
    if (m_pResponse)
        m_pResponse->disconnect(this);
    if (m_pConnection)
        m_pConnection->disconnect(this);
    if (m_pFile) {
        m_pFile->disconnect(this);
        m_pFile->close();
        delete m_pFile;
        m_pFile = nullptr;
    }
    emit ended(bComplete);
    deleteLater();
}
