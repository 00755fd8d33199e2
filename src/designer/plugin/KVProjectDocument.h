#pragma once

#include "document/KVDocument.h"

// The project document as the application makes it: a new one takes its file, size, scenes and
// responsiveness from the New Project dialog.
class KVProjectDocument : public KVDocument
{
    Q_OBJECT
public:
    explicit KVProjectDocument(QObject *pParent = nullptr);

    bool createNew(ICreateDocumentDlg *pDialog) override;
};
