#include "KVOutputPaths.h"

#include "ICore.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

QString KVOutputPaths::resourceRoot(const QString &strResourcePath)
{
    if (!strResourcePath.isEmpty())
        return strResourcePath;
    if (ICore *pCore = ICore::instance())
        return pCore->resourcePath();
    return ICore::defaultResourcePath();
}

QString KVOutputPaths::playerFolder(const QString &strResourcePath)
{
    return resourceRoot(strResourcePath) + QStringLiteral("/resources/canvas/player");
}

QString KVOutputPaths::normalizeFolder(const QString &strFolder)
{
    QString strPath = QDir::fromNativeSeparators(strFolder);
    strPath.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QStringList kept;
    for (const QString &strPart : strPath.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        const bool bOnlyDots = strPart.count(QLatin1Char('.')) == strPart.size();
        if (bOnlyDots && strPart.size() > 2)
            continue;
        kept.append(strPart);
    }
    return kept.join(QLatin1Char('/'));
}

QString KVOutputPaths::folderProblem(const QString &strFolder)
{
    const QString strRaw = QDir::fromNativeSeparators(strFolder);
    if (strRaw.startsWith(QLatin1Char('/')) || strRaw.startsWith(QLatin1Char('\\'))
        || (strRaw.size() > 1 && strRaw.at(1) == QLatin1Char(':')))
        return QCoreApplication::translate("KVOutputPaths", "The folder name \"%1\" is absolute; "
                                                            "it must name a folder inside the export folder.")
            .arg(strFolder);
    const QString strPath = normalizeFolder(strFolder);
    for (const QString &strPart : strPath.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (strPart == QLatin1String(".."))
            return QCoreApplication::translate("KVOutputPaths", "The folder name \"%1\" leads outside the "
                                                                "export folder.")
                .arg(strFolder);
    }
    return QString();
}
