#pragma once

#include "resources/KVResourceManager.h"

#include <QCoreApplication>
#include <QHash>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class IKVDocumentContext;
class KVElement;
class KVSymbol;
class QIODevice;

// The symbols a project keeps as resources, read from their files ("<name>.kaviosym" in the
// resource folder) so that an export can carry them: the player receives every symbol in the
// data file, as the player form of its resource, and the playback lists of the instances need the
// length and labels of the symbol they play.
//
// A symbol file holds the symbol data only (compact UTF-8 JSON without "resources" and
// "scripts"); the elements in it refer to the project's resources, so it is read in the project's
// context.
class KVSymbolResources
{
    Q_DECLARE_TR_FUNCTIONS(KVSymbolResources)

public:
    KVSymbolResources();
    ~KVSymbolResources();
    KVSymbolResources(const KVSymbolResources &) = delete;
    KVSymbolResources &operator=(const KVSymbolResources &) = delete;

    // Reads the file of every symbol resource of the manager that is not deleted, replacing what
    // was loaded before. False when a file is missing or cannot be read, or when a symbol contains
    // itself, directly or through other symbols: errors() says which, and such a symbol is not
    // loaded (its instances stay empty, so that nothing plays it endlessly). The others stay loaded.
    bool load(const KVResourceManager *pManager, const IKVDocumentContext *pContext);
    // Why the last load() returned false, one message per symbol.
    const QStringList &errors() const { return m_errors; }
    // What reading the loaded symbols repaired, one message each (named after the symbol).
    const QStringList &repairs() const { return m_repairs; }
    // Forgets the loaded symbols (before the project whose resources they use goes).
    void clear()
    {
        m_symbols.clear();
        m_errors.clear();
        m_repairs.clear();
    }
    // The symbol loaded for a resource id, or null.
    KVSymbol *symbol(int nResourceId) const;
    // The symbol of a resource added after load() (a symbol file imported since): read from its
    // file when none is loaded yet, and kept. Null when the file cannot be read.
    KVSymbol *symbolOrFile(const KVResource *pResource, const KVResourceManager *pManager,
                           const IKVDocumentContext *pContext);
    // Writes the file of every symbol resource of the manager that is not deleted from the symbol
    // loaded for it, each under a temporary name renamed into place (a file whose content would not
    // change is left alone). A resource whose symbol is not loaded and cannot be read from its file
    // keeps the file as it is; one without either fails. pBeforeReplace and pAfterReplace run
    // around each rename (the document unlocks and locks the file). False when a file cannot be
    // written; the others are written all the same.
    using FileHook = std::function<void(const QString &strPath)>;
    bool writeFiles(const KVResourceManager *pManager, const IKVDocumentContext *pContext,
                    const FileHook &beforeReplace = FileHook(), const FileHook &afterReplace = FileHook());
    // The compact symbol data written to a symbol file; empty when it cannot be built.
    static QByteArray symbolData(const KVSymbol &symbol);
    int count() const { return m_symbols.size(); }

    // Gives every symbol instance below the root (and in the loaded symbols, which may hold
    // instances of each other) the breakpoints and the main timeline of the symbol it plays. With
    // bKeepAttached an instance that plays a timeline already keeps it.
    void attach(KVElement *pRoot, bool bKeepAttached = false) const;
    // The same for every scene of a symbol (a project).
    void attach(const KVSymbol &owner, bool bKeepAttached = false) const;

    // The player form of a symbol resource: that of its loaded symbol, an empty object without one.
    QJsonObject playerData(const KVResource &resource) const;
    // playerData() as the resource list's writer; valid while this object lives.
    KVResourceManager::SymbolDataWriter writer() const;

    // ---- Symbol files
    // Writes the symbol data, compact; false with the warning "Could not save symbol data" when it
    // cannot be built or is written short.
    static bool writeSymbol(const KVSymbol &symbol, QIODevice &device);
    // Reads the whole device as symbol data into the symbol (its scenes and handlers are replaced);
    // invalid JSON gives the warning "Error while reading symbol data. The data structure is
    // invalid." and false.
    static bool readSymbol(KVSymbol &symbol, QIODevice &device, const IKVDocumentContext *pContext);
    // The same through a file path (a file that cannot be opened gives false with a warning).
    static bool writeSymbolFile(const KVSymbol &symbol, const QString &strPath);
    static bool readSymbolFile(KVSymbol &symbol, const QString &strPath, const IKVDocumentContext *pContext);

private:
    // Unloads every symbol that contains itself, with one error per cycle found.
    void dropCycles(const KVResourceManager *pManager);

    QHash<int, std::shared_ptr<KVSymbol>> m_symbols;
    QStringList m_errors;
    QStringList m_repairs;
};
