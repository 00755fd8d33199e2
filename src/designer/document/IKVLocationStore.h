#pragma once

#include <QString>

// The folders a document's file dialogs remember (location types 1000 to 1020), kept by the
// application's location manager. The project file stores them so that a reopened project offers
// the same folders.
class IKVLocationStore
{
public:
    virtual ~IKVLocationStore() = default;

    // The folder remembered for the type, or the type's default when there is none.
    virtual QString location(int nType) const = 0;
    // An empty folder forgets the type's folder.
    virtual void setLocation(int nType, const QString &strPath) = 0;
};
