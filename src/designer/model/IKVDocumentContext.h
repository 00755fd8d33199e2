#pragma once

#include <QString>

class IKVProgress;
class KVImageUseCounter;

// What the readers of the stage model need from the document they read into: the image resources
// (fills with an image look their ids up and count their use through it). Every answer has a neutral
// default, so a reader without a document (clipboard checks, tests) passes nothing or this base.
class IKVDocumentContext
{
public:
    virtual ~IKVDocumentContext() = default;

    // Null when the document has no resources to offer; fills then read no image.
    virtual KVImageUseCounter *imageUseCounter() const { return nullptr; }

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
