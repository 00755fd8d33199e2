#include "KVTestEnvironment.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace {
QString realHome()
{
    const passwd *pw = getpwuid(getuid());
    return pw ? QString::fromLocal8Bit(pw->pw_dir) : QString();
}

void ensureDir(const QByteArray &var, const QString &fallback)
{
    QString path = qEnvironmentVariable(var.constData());
    if (path.isEmpty()) {
        path = fallback;
        qputenv(var.constData(), path.toLocal8Bit());
    }
    QDir().mkpath(path);
    if (var == "XDG_RUNTIME_DIR")
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
} // namespace

namespace KVTestEnvironment {

void prepare()
{
    QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty() || QDir(home).canonicalPath() == QDir(realHome()).canonicalPath()) {
        static QTemporaryDir tmp(QDir::tempPath() + QStringLiteral("/kavio-test-XXXXXX"));
        home = tmp.path();
        qputenv("HOME", home.toLocal8Bit());
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_DATA_HOME");
        qunsetenv("XDG_CACHE_HOME");
        qunsetenv("XDG_RUNTIME_DIR");
        qunsetenv("KAVIO_SETTINGS_PATH");
    }
    QDir().mkpath(home);
    ensureDir("XDG_CONFIG_HOME", home + QStringLiteral("/.config"));
    ensureDir("XDG_DATA_HOME", home + QStringLiteral("/.local/share"));
    ensureDir("XDG_CACHE_HOME", home + QStringLiteral("/.cache"));
    ensureDir("XDG_RUNTIME_DIR", home + QStringLiteral("/runtime"));
    if (qEnvironmentVariableIsEmpty("KAVIO_SETTINGS_PATH"))
        qputenv("KAVIO_SETTINGS_PATH", (home + QStringLiteral("/settings.ini")).toLocal8Bit());
    QDir(home).mkpath(QStringLiteral("Documents"));
}

QString sourceDir()
{
    return QStringLiteral(KAVIO_SOURCE_DIR);
}

QString binaryDir()
{
    return QStringLiteral(KAVIO_BINARY_DIR);
}

QString settingsPath()
{
    return qEnvironmentVariable("KAVIO_SETTINGS_PATH");
}

QString sha256OfTree(const QString &path)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QStringList files;
    QDirIterator it(path, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    const QDir root(path);
    for (const QString &file : files) {
        hash.addData(root.relativeFilePath(file).toUtf8());
        QFile f(file);
        if (f.open(QIODevice::ReadOnly))
            hash.addData(&f);
    }
    return QString::fromLatin1(hash.result().toHex());
}

} // namespace KVTestEnvironment
