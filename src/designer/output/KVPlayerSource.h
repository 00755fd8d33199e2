#pragma once

#include "document/KVLoadingIndicator.h"
#include "output/KVSymbolResources.h"
#include "resources/KVResourceManager.h"

#include <QString>

class KVDocument;
class KVDocumentSettings;
class KVSymbol;

// What the player data and the export read of a project: its symbol (scenes, breakpoints, handlers,
// functions, resources), its document settings and where its file lies, and its custom preloader.
// Both the editor's document and a project opened headless are described by one; the source only
// points at them (nothing is owned).
struct KVPlayerSource
{
    KVSymbol *pSymbol = nullptr;
    // The project's settings; the load script keeps a container id it makes there.
    KVDocumentSettings *pSettings = nullptr;
    // "<folder>/<base>.kavio" of the project (of the preloader for a preloader source).
    QString strProjectFile;
    // The folder, relative to the page, into which an export copies the resources (the project's
    // HTML5 resource folder, or for a preloader the project's HTML5 preloader resource folder).
    QString strExportResourceFolder;

    // The source is a custom preloader document played on its own (its preview): its load script
    // opens it without a loading indicator or preloader of its own.
    bool bIsPreloaderDocument = false;
    // The custom preloader of a project (null when none is loaded), and for a preloader source its
    // loading indicator and whether it shows it.
    const KVPlayerSource *pPreloader = nullptr;
    bool bUseLoadingIndicator = false;
    KVLoadingIndicator loadingIndicator;

    // The player data of a symbol resource; an empty object is written without it.
    KVResourceManager::SymbolDataWriter symbolData;

    bool isValid() const { return pSymbol && pSettings; }
    // "<base>" of the project file.
    QString baseName() const;
    QString projectFolder() const;
    // "<folder>/<base>_res".
    QString resourceFolder() const;
    KVResourceManager *resourceManager() const;
};

// A source for an editor document, with the source of its preloader (which it keeps) when the
// document has one loaded, and the document's symbol resources read from their files (a symbol
// whose file cannot be read is written without content).
class KVDocumentPlayerSource
{
public:
    explicit KVDocumentPlayerSource(KVDocument *pDocument);
    KVDocumentPlayerSource(const KVDocumentPlayerSource &) = delete;
    KVDocumentPlayerSource &operator=(const KVDocumentPlayerSource &) = delete;
    const KVPlayerSource &source() const { return m_project; }
    KVPlayerSource &source() { return m_project; }

private:
    KVPlayerSource m_project;
    KVPlayerSource m_preloader;
    KVSymbolResources m_symbols;
};
