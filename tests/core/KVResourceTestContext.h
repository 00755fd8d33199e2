#pragma once

// A document seen by the resource manager in tests: a project folder with its "demo_res" resource
// folder inside a temporary folder, and a progress that records what it is told and cancels on
// request.

#include "model/IKVDocumentContext.h"
#include "resources/IKVProgress.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

class TestProgress : public IKVProgress
{
public:
    QString strText;
    QString strCancelText;
    qint64 nTotal = -1;
    QList<qint64> values;
    int nBegins = 0;
    int nEnds = 0;
    int nCancelAfter = -1; // cancel once this many values were reported

    void begin(const QString &text, const QString &cancelText, qint64 total) override
    {
        strText = text;
        strCancelText = cancelText;
        nTotal = total;
        ++nBegins;
    }
    void setValue(qint64 nValue) override { values.append(nValue); }
    bool wasCanceled() const override { return nCancelAfter >= 0 && values.size() >= nCancelAfter; }
    void end() override { ++nEnds; }
};

class TestContext : public IKVDocumentContext
{
public:
    TestContext()
    {
        m_strProject = m_dir.path() + QStringLiteral("/project");
        m_strResources = m_strProject + QStringLiteral("/demo_res");
        m_strSources = m_dir.path() + QStringLiteral("/sources");
        QDir().mkpath(m_strProject);
        QDir().mkpath(m_strSources);
    }

    QString projectFolderPath() const override { return m_strProject; }
    QString resourceFolderPath() const override { return m_strResources; }
    int formatVersion() const override { return 3; }
    IKVProgress *progress() const override { return m_pProgress; }

    void setProgress(IKVProgress *pProgress) { m_pProgress = pProgress; }
    QString sources() const { return m_strSources; }
    QString resources() const { return m_strResources; }

    // Files to import, written into the sources folder.
    QString writeFile(const QString &strName, const QByteArray &data) const
    {
        const QString strPath = m_strSources + QLatin1Char('/') + strName;
        QFile file(strPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
            qFatal("cannot write test file %s", qPrintable(strPath));
        return strPath;
    }
    QString writeImage(const QString &strName, int nWidth, int nHeight, QRgb color = 0xff336699) const
    {
        QImage image(nWidth, nHeight, QImage::Format_RGB32);
        image.fill(color);
        const QString strPath = m_strSources + QLatin1Char('/') + strName;
        if (!image.save(strPath))
            qFatal("cannot write test image %s", qPrintable(strPath));
        return strPath;
    }
    // The files now in the resource folder, sorted.
    QStringList storedFiles() const
    {
        return QDir(m_strResources).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

private:
    QTemporaryDir m_dir;
    QString m_strProject;
    QString m_strResources;
    QString m_strSources;
    IKVProgress *m_pProgress = nullptr;
};

inline QByteArray fileBytes(const QString &strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
