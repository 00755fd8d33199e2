#pragma once

#include <QSize>

// The document's image resources as a fill with an image sees them. The resource manager implements
// it; a fill holds at most one use count on its image (see KVBackground) and gives it back through
// the same object.
class KVImageUseCounter
{
public:
    virtual ~KVImageUseCounter() = default;

    // True when the id names an image resource of the document (a deleted one included: it stays in
    // the manager for undo).
    virtual bool hasImage(int nResourceId) const = 0;
    // True when the user removed the resource; it is then not written by a fill that holds no count.
    virtual bool isDeleted(int nResourceId) const = 0;
    // Takes and gives back one use count.
    virtual void acquire(int nResourceId) = 0;
    virtual void release(int nResourceId) = 0;
    // The pixel size of the image file, an invalid size when it cannot be told.
    virtual QSize imageSize(int nResourceId) const = 0;
};
