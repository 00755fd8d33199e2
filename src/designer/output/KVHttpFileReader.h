#pragma once

#include <QObject>

class QFile;
class QSocketNotifier;
class KVHttpConnection;
class KVHttpResponse;

// Streams one open file into one response, a block at a time, without blocking the event loop: the
// blocks go from the file straight to the socket, and the next one when the socket reports room
// for it (or, where that cannot be, the next block is read when the response reports that
// everything written so far has been sent), so a file of any size costs at most one block of
// memory. The reader ends when all bytes are sent, when the connection closes or when
// the file, the response or the connection is destroyed; it then closes and deletes the file
// and deletes itself later.
class KVHttpFileReader : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 BlockSize = 1048576;

    // Takes the file, open and positioned at the first byte to send, and sends nBytes from it.
    KVHttpFileReader(QFile *pFile, qint64 nBytes, KVHttpResponse *pResponse,
                     KVHttpConnection *pConnection, QObject *pParent = nullptr);
    ~KVHttpFileReader() override;

    // Sends the first block.
    void start();
    qint64 bytesRemaining() const { return m_nRemaining; }
    bool isFinished() const { return m_bFinished; }

signals:
    void ended(bool bComplete);

public slots:
    void readNextBlock();
    void connectionClosed();
    void objectDestroyed(QObject *pObj);

private:
    void finish(bool bComplete);
    void sendNextBlock();
    void readAndWriteBlock();

    QFile *m_pFile;
    QSocketNotifier *m_pWritable = nullptr; // the socket has room again
    qint64 m_nOffset = 0;
    bool m_bDirect = true; // the file goes straight to the socket
    KVHttpResponse *m_pResponse;
    KVHttpConnection *m_pConnection;
    qint64 m_nRemaining;
    bool m_bFinished = false;
};
