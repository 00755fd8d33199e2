#pragma once

#include <QString>

class IKVLocationStore;
class IKVProgress;
class KVDocument;

// What a project document needs from the application around it. The designer plug-in installs one
// (with its New Project dialog, its windows and its preview server); without one a document works
// headless: no dialog is offered, a second document it opens stays with it, long copies run
// without a progress.
class IKVDocumentHost
{
public:
    virtual ~IKVDocumentHost() = default;

    // Shows the New Project dialog under the title, prefilled with the name and the folder of the
    // location type; the chosen project file, or empty when the user cancelled.
    virtual QString askProjectFile(const QString &strTitle, const QString &strName, int nLocationType) = 0;
    // Takes over a document opened beside another one (the backup of "Open Both") and shows it;
    // false when it cannot (the caller keeps the document then).
    virtual bool showDocument(KVDocument *pDocument) = 0;
    // Closes the window that shows the document, if any.
    virtual void closeDocumentWindow(KVDocument *pDocument) = 0;
    // A document was saved elsewhere: the preview server drops the old resource folder and serves the
    // new one, and the folders remembered for the document are forgotten.
    virtual void documentMoved(KVDocument *pDocument, const QString &strOldResourceFolder,
                               const QString &strNewResourceFolder) = 0;
    // The folders remembered for the document (written to and read from its project file), or null.
    virtual IKVLocationStore *locationStore(KVDocument *pDocument) = 0;
    // The progress shown for long file copies, or null.
    virtual IKVProgress *progress() const = 0;
};
