#include "KVFunctionExporter.h"

#include "KVFunction.h"

#include "Reporter.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>
#include <QtDebug>

QString KVFunctionExporter::dialogTitle()
{
    return tr("Export Function");
}

QString KVFunctionExporter::fileFilter()
{
    return QStringLiteral("(*.js)");
}

QString KVFunctionExporter::proposedFileName(const KVFunction &function)
{
    return function.name() + QStringLiteral(".js");
}

QString KVFunctionExporter::exportText(const QList<const KVFunction *> &functions)
{
    QStringList texts;
    for (const KVFunction *pFunction : functions) {
        if (pFunction)
            texts << pFunction->text(true);
    }
    return texts.join(QLatin1Char('\n'));
}

bool KVFunctionExporter::exportToFile(const QString &strPath, const QList<const KVFunction *> &functions,
                                      Mode eMode, const FolderOpener &opener)
{
    QSaveFile file(strPath);
    bool bWritten = file.open(QIODevice::WriteOnly);
    if (bWritten) {
        const QByteArray bytes = exportText(functions).toUtf8();
        bWritten = file.write(bytes) == bytes.size() && file.commit();
    }
    if (!bWritten) {
        const QString strMessage = tr("Could not write to file [%s].").replace(QStringLiteral("%s"), strPath);
        if (eMode == Single)
            Reporter::warning(strMessage);
        else
            qWarning().noquote() << strMessage;
        return false;
    }

    const QString strMessage = eMode == Single ? tr("Function was exported successfully.")
                                               : tr("Exporting functions completed!");
    const int nChoice = Reporter::instance()->choose(dialogTitle(), strMessage,
                                                     {tr("Open Folder"), tr("Close")}, 1);
    if (nChoice == 0) {
        const QString strFolder = QFileInfo(strPath).absolutePath();
        if (opener)
            opener(strFolder);
        else
            QDesktopServices::openUrl(QUrl::fromLocalFile(strFolder));
    }
    return true;
}
