#include "document/KVFileLocker.h"

#include "KVTestMain.h"

#include <QTemporaryDir>

#include <unistd.h>

namespace {
QString makeFile(const QDir &dir, const QString &name, const QByteArray &data = "x")
{
    QFile f(dir.filePath(name));
    f.open(QIODevice::WriteOnly);
    f.write(data);
    return f.fileName();
}

// Counts this process's open descriptors on a path.
int openDescriptors(const QString &path)
{
    int n = 0;
    QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QFileInfo &fi : fds.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        if (fi.symLinkTarget() == QFileInfo(path).canonicalFilePath())
            ++n;
    }
    return n;
}
} // namespace

class tst_FileLocker : public QObject
{
    Q_OBJECT
private slots:
    void lockKeepsTheFileOpen();
    void lockingTwiceOrMissingFilesFails();
    void pathsAreCanonical();
    void transferMovesTheLock();
    void destructionClosesEverything();

private:
    QTemporaryDir m_dir;
};

void tst_FileLocker::lockKeepsTheFileOpen()
{
    const QString file = makeFile(QDir(m_dir.path()), QStringLiteral("p.kavio"));
    KVFileLocker locker;
    QCOMPARE(openDescriptors(file), 0);
    QVERIFY(locker.lock(file));
    QVERIFY(locker.isLocked(file));
    QCOMPARE(openDescriptors(file), 1);
    QVERIFY(locker.unlock(file));
    QCOMPARE(openDescriptors(file), 0);
    QVERIFY(!locker.unlock(file));
}

void tst_FileLocker::lockingTwiceOrMissingFilesFails()
{
    const QString file = makeFile(QDir(m_dir.path()), QStringLiteral("twice.png"));
    KVFileLocker locker;
    QVERIFY(locker.lock(file));
    QVERIFY(!locker.lock(file));
    QVERIFY(!locker.lock(m_dir.filePath(QStringLiteral("missing.png"))));
    QVERIFY(!locker.lock(m_dir.path())); // a folder is not a file
    QCOMPARE(locker.lockedFiles().size(), 1);
}

void tst_FileLocker::pathsAreCanonical()
{
    QDir dir(m_dir.path());
    dir.mkpath(QStringLiteral("res"));
    const QString file = makeFile(QDir(dir.filePath(QStringLiteral("res"))), QStringLiteral("a.mp3"));
    QFile::link(file, dir.filePath(QStringLiteral("alias.mp3")));
    KVFileLocker locker;
    QVERIFY(locker.lock(dir.filePath(QStringLiteral("res/../res/a.mp3"))));
    QVERIFY(locker.isLocked(file));
    QVERIFY(!locker.lock(dir.filePath(QStringLiteral("alias.mp3")))); // the same file through a link
    QVERIFY(locker.unlock(file));
}

void tst_FileLocker::transferMovesTheLock()
{
    QDir dir(m_dir.path());
    const QString from = makeFile(dir, QStringLiteral("old.kavio"));
    const QString to = makeFile(dir, QStringLiteral("new.kavio"));
    KVFileLocker locker;
    QVERIFY(locker.lock(from));
    QVERIFY(locker.transfer(from, to));
    QVERIFY(!locker.isLocked(from));
    QVERIFY(locker.isLocked(to));
    // a file removed while locked can still be unlocked by its old path
    QVERIFY(QFile::remove(to));
    QVERIFY(locker.unlock(to));
}

void tst_FileLocker::destructionClosesEverything()
{
    QDir dir(m_dir.path());
    const QString a = makeFile(dir, QStringLiteral("d1"));
    const QString b = makeFile(dir, QStringLiteral("d2"));
    {
        KVFileLocker locker;
        QVERIFY(locker.lock(a));
        QVERIFY(locker.lock(b));
        QCOMPARE(openDescriptors(a) + openDescriptors(b), 2);
    }
    QCOMPARE(openDescriptors(a) + openDescriptors(b), 0);
}

KAVIO_TEST_MAIN(tst_FileLocker)
#include "tst_filelocker.moc"
