#include "KVHttpFileReader.h"

#include "KVHttpConnection.h"
#include "KVHttpResponse.h"

#include <QFile>

KVHttpFileReader::KVHttpFileReader(QFile *pFile, qint64 nBytes, KVHttpResponse *pResponse,
                                   KVHttpConnection *pConnection, QObject *pParent)
    : QObject(pParent)
    , m_pFile(pFile)
    , m_pResponse(pResponse)
    , m_pConnection(pConnection)
    , m_nRemaining(qMax<qint64>(0, nBytes))
{
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
