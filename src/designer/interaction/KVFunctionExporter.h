#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <functional>

class KVFunction;

// Writes user functions to a .js file, as the functions panel (several functions) and the
// function editor (one function) export them, and tells the user how it went.
class KVFunctionExporter
{
    Q_DECLARE_TR_FUNCTIONS(KVFunctionExporter)

public:
    enum Mode {
        Several, // the functions panel: a failure goes to the log
        Single,  // the function editor: a failure is shown
    };
    using FolderOpener = std::function<void(const QString &strFolder)>;

    static QString dialogTitle(); // "Export Function"
    static QString fileFilter();  // "(*.js)"
    // The file name the editor proposes for one function: its name with ".js".
    static QString proposedFileName(const KVFunction &function);

    // The functions' texts with their names, separated by "\n".
    static QString exportText(const QList<const KVFunction *> &functions);

    // Writes exportText as UTF-8 to strPath. On success a message titled "Export Function" offers
    // "Open Folder" and "Close"; "Open Folder" calls opener with the file's folder (by default the
    // desktop's file browser). When the file cannot be written, "Could not write to file [path]."
    // goes to the log (Several) or to the user (Single), and false is returned.
    static bool exportToFile(const QString &strPath, const QList<const KVFunction *> &functions, Mode eMode,
                             const FolderOpener &opener = FolderOpener());
};
