#pragma once

// Projects on disk for the document tests: a temporary folder holding a project made through the
// real document code, resource sources outside the project, a host that answers the New Project
// dialog from a script, and a command that makes a document modified.

#include "KVTestEnvironment.h"

#include "document/IKVDocumentHost.h"
#include "document/KVDocument.h"
#include "resources/IKVProgress.h"
#include "resources/KVResource.h"
#include "resources/KVResourceManager.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPair>
#include <QTemporaryDir>
#include <QUndoCommand>
#include <QUndoStack>

class ModifyCommand : public QUndoCommand
{
public:
    ModifyCommand() : QUndoCommand(QStringLiteral("Change")) {}
};

inline void touch(KVDocument &doc)
{
    doc.getUndoStack()->push(new ModifyCommand);
}

inline QByteArray readBytes(const QString &strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeBytes(const QString &strPath, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(strPath).absolutePath());
    QFile file(strPath);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

inline QJsonObject readJson(const QString &strPath)
{
    return QJsonDocument::fromJson(readBytes(strPath)).object();
}

// Bytes that do not repeat in a short period, so a copy that drops or repeats a block shows.
inline QByteArray patternBytes(qint64 nSize, int nSeed)
{
    QByteArray data(int(nSize), Qt::Uninitialized);
    quint32 x = 2463534242u + quint32(nSeed);
    for (int i = 0; i < data.size(); ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        data[i] = char(x & 0xff);
    }
    return data;
}

class ProjectFolder
{
public:
    ProjectFolder()
    {
        QDir().mkpath(projects());
        QDir().mkpath(sources());
    }
    QString root() const { return m_dir.path(); }
    QString projects() const { return m_dir.path() + QStringLiteral("/projects"); }
    QString sources() const { return m_dir.path() + QStringLiteral("/sources"); }
    QString path(const QString &strRelative) const { return projects() + QLatin1Char('/') + strRelative; }
    QString sha() const { return KVTestEnvironment::sha256OfTree(projects()); }
    QStringList files() const
    {
        QStringList out;
        QDirIterator it(projects(), QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        const QDir dir(projects());
        while (it.hasNext())
            out << dir.relativeFilePath(it.next());
        out.sort();
        return out;
    }
    QString source(const QString &strName, const QByteArray &data) const
    {
        const QString strPath = sources() + QLatin1Char('/') + strName;
        writeBytes(strPath, data);
        return strPath;
    }

    // A project saved and closed through the document: nScenes blank scenes and one resource per
    // named file. Returns the project file.
    QString makeProject(const QString &strRelative, const QList<QPair<QString, QByteArray>> &resources = {},
                        int nScenes = 2) const
    {
        const QString strFile = path(strRelative);
        QDir().mkpath(QFileInfo(strFile).absolutePath());
        KVDocument doc;
        doc.setFileName(strFile);
        if (!doc.create(800, 600, nScenes, false))
            qFatal("cannot create %s", qPrintable(strFile));
        for (const auto &res : resources)
            addResource(doc, res.first, res.second);
        if (!doc.save())
            qFatal("cannot save %s", qPrintable(strFile));
        doc.close();
        return strFile;
    }

    // Imports a file into the document's resource folder and adds the resource.
    KVResource *addResource(KVDocument &doc, const QString &strName, const QByteArray &data) const
    {
        KVResource *pResource = doc.resourceManager()->importFile(source(strName, data));
        if (!pResource || !doc.resourceManager()->addResource(pResource))
            qFatal("cannot import %s", qPrintable(strName));
        return pResource;
    }

private:
    QTemporaryDir m_dir;
};

class TestHost : public IKVDocumentHost
{
public:
    TestHost() { KVDocument::setHost(this); }
    ~TestHost() override
    {
        KVDocument::setHost(nullptr);
        qDeleteAll(shown);
    }

    QStringList answers; // project files the New Project dialog returns, in order
    QStringList titles;  // titles it was shown with
    QStringList names;   // names it was prefilled with
    QList<KVDocument *> shown;
    QList<KVDocument *> closedWindows;
    QStringList moves; // "old -> new" resource folders
    IKVProgress *pProgress = nullptr;

    QString askProjectFile(const QString &strTitle, const QString &strName, int) override
    {
        titles << strTitle;
        names << strName;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    bool showDocument(KVDocument *pDocument) override
    {
        shown << pDocument;
        return true;
    }
    void closeDocumentWindow(KVDocument *pDocument) override { closedWindows << pDocument; }
    void documentMoved(KVDocument *, const QString &strOld, const QString &strNew) override
    {
        moves << strOld + QStringLiteral(" -> ") + strNew;
    }
    IKVLocationStore *locationStore(KVDocument *) override { return nullptr; }
    IKVProgress *progress() const override { return pProgress; }
};

class RecordingProgress : public IKVProgress
{
public:
    qint64 nTotal = -1;
    QString strText;
    QList<qint64> values;
    int nBegins = 0;
    int nEnds = 0;
    int nCancelAfter = -1;

    void begin(const QString &text, const QString &, qint64 total) override
    {
        strText = text;
        nTotal = total;
        ++nBegins;
    }
    void setValue(qint64 nValue) override { values << nValue; }
    bool wasCanceled() const override { return nCancelAfter >= 0 && values.size() >= nCancelAfter; }
    void end() override { ++nEnds; }
};
