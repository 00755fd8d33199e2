#include "KVFirstFormatFiles.h"

#include "KVResource.h"
#include "KVResourceManager.h"
#include "Reporter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

namespace {

// The names a file of the first format is known by: those with a folder part, which that format
// took from the project folder.
bool isFolderRelative(const QString &strName)
{
    return !QFileInfo(strName).isAbsolute() && (strName.contains(QLatin1Char('/')) || strName.contains(QLatin1Char('\\')));
}

// Every string of the object (and of the objects and arrays in it) equal to strOld becomes strNew.
QJsonValue renamed(const QJsonValue &value, const QString &strOld, const QString &strNew)
{
    if (value.isString())
        return value.toString() == strOld ? QJsonValue(strNew) : value;
    if (value.isArray()) {
        QJsonArray ja = value.toArray();
        for (int i = 0; i < ja.size(); ++i)
            ja[i] = renamed(ja.at(i), strOld, strNew);
        return ja;
    }
    if (value.isObject()) {
        QJsonObject jo = value.toObject();
        for (auto it = jo.begin(); it != jo.end(); ++it)
            it.value() = renamed(it.value(), strOld, strNew);
        return jo;
    }
    return value;
}

} // namespace

bool KVFirstFormatFiles::migrate(KVResourceManager *pManager, QStringList *pCopied)
{
    if (!pManager || pManager->formatVersion() >= 2)
        return true;
    const QString strProject = pManager->projectFolderPath();
    const QString strFolder = pManager->resourceFolderPath();
    if (strProject.isEmpty() || strFolder.isEmpty())
        return true;

    struct Rename
    {
        KVResource *pResource;
        QString strOld;
        QString strNew;
    };
    QList<Rename> renames;
    QStringList copied;
    for (KVResource *pResource : pManager->liveResources()) {
        for (const QString &strName : pResource->storedFiles()) {
            if (!isFolderRelative(strName))
                continue;
            const QString strSource = pManager->absoluteFilePath(strName);
            // The current format names a file in the resource folder by a plain name: the file's own
            // name, not taken by another file there.
            const QFileInfo info(strSource);
            QString strNew = info.fileName();
            for (int n = 2; QFileInfo::exists(strFolder + QLatin1Char('/') + strNew); ++n)
                strNew = QStringLiteral("%1_%2.%3").arg(info.completeBaseName()).arg(n).arg(info.suffix());
            const QString strTarget = QDir::cleanPath(strFolder + QLatin1Char('/') + strNew);
            if (!QFileInfo::exists(strSource))
                continue; // a file missing already is reported when the project is read
            if (!QFile::copy(strSource, strTarget)) {
                Reporter::error(tr("Error when saving resource file."));
                return false;
            }
            copied << QDir(strProject).relativeFilePath(strTarget);
            renames.append({pResource, strName, strNew});
        }
    }
    for (const Rename &r : qAsConst(renames)) {
        const QJsonObject jo = renamed(r.pResource->toJson(), r.strOld, r.strNew).toObject();
        const int nId = r.pResource->id();
        r.pResource->fromJson(jo);
        r.pResource->setId(nId);
    }
    pManager->setFormatVersion(3);
    if (pCopied)
        *pCopied = copied;
    return true;
}
