#pragma once

#include <QCoreApplication>
#include <QStringList>

class KVResourceManager;

// Projects of the first file format kept resource files anywhere beside the project file, named by
// paths relative to the project folder ("media/a.png"); the current format takes every name in the
// resource folder by a plain name. Before such a project is written in the current format its files
// are copied into the resource folder under their own file names (made unique there) and the names
// in the resources rewritten. Nothing is deleted, so the old files stay where they were.
class KVFirstFormatFiles
{
    Q_DECLARE_TR_FUNCTIONS(KVFirstFormatFiles)

public:
    // Copies the files of a manager read in the first format and switches it to the current form.
    // pCopied receives the copies made, relative to the project folder. Nothing happens for a
    // manager of a later format. False (reported: "Error when saving resource file.") when a file
    // cannot be copied; the manager then keeps its first-format form.
    static bool migrate(KVResourceManager *pManager, QStringList *pCopied = nullptr);
};
