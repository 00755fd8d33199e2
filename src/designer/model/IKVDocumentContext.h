#pragma once

#include <QString>
#include <QtGlobal>

class IKVProgress;
class KVBreakpointSet;
class KVImageUseCounter;
class KVResource;
class KVResourceManager;

// What the readers of the stage model need from the document they read into: the image resources
// (fills with an image look their ids up and count their use through it). Every answer has a neutral
// default, so a reader without a document (clipboard checks, tests) passes nothing or this base.
class IKVDocumentContext
{
public:
    virtual ~IKVDocumentContext() = default;

    // Null when the document has no resources to offer; fills then read no image.
    virtual KVImageUseCounter *imageUseCounter() const { return nullptr; }
    // The resources that image, media, widget and symbol elements look their ids up in and count
    // their use through. Null by default: the readers then take the manager behind
    // imageUseCounter() when it is one, else read no resource.
    virtual KVResourceManager *documentResourceManager() const { return nullptr; }
    // The breakpoints of the symbol that a symbol resource holds, once its content is loaded; a
    // symbol element picks the symbol's layout from them. Null while nobody has loaded it.
    virtual KVBreakpointSet *symbolBreakpoints(const KVResource *pSymbol) const
    {
        Q_UNUSED(pSymbol)
        return nullptr;
    }

    // The folder that holds the project file, and the resource folder beside it ("<base>_res"),
    // both absolute. Empty while the document has no file; resource files cannot be stored then.
    virtual QString projectFolderPath() const { return QString(); }
    virtual QString resourceFolderPath() const { return QString(); }
    // The format version the project was read in (3 for a new or saved project).
    virtual int formatVersion() const { return 3; }
    // Shows the progress of long file copies and tells whether the user cancelled them; null when
    // nobody watches (the copy then runs to its end).
    virtual IKVProgress *progress() const { return nullptr; }
};
