#pragma once

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
};
