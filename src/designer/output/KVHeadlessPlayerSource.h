#pragma once

#include "output/KVPlayerSource.h"
#include "output/KVSymbolResources.h"

#include <QCoreApplication>
#include <QString>
#include <memory>

class KVHeadlessProject;

// A project opened without the editor (the command-line tool, the tests) as a player source, with
// its custom preloader "<base>_res/preloader/preloader.kavio" opened too when the project uses one
// and the file is there. Nothing is created or written in the project's folder. The project's symbol
// resources are read from their files with it, so that the data carries them and their instances
// play them for the right length.
class KVHeadlessPlayerSource
{
    Q_DECLARE_TR_FUNCTIONS(KVHeadlessPlayerSource)

public:
    KVHeadlessPlayerSource();
    ~KVHeadlessPlayerSource();
    KVHeadlessPlayerSource(const KVHeadlessPlayerSource &) = delete;
    KVHeadlessPlayerSource &operator=(const KVHeadlessPlayerSource &) = delete;

    // Opens the project file; false (reported) when it or one of its symbol files cannot be read. A
    // preloader that cannot be read is reported and left out.
    bool open(const QString &strProjectFile);

    KVHeadlessProject *project() const { return m_pProject.get(); }
    KVPlayerSource &source() { return m_source; }
    const KVSymbolResources &symbols() const { return m_symbols; }
    // The problems of the project (see KVHeadlessProject::problems), then what reading its symbols
    // repaired.
    QStringList problems() const;

private:
    std::unique_ptr<KVHeadlessProject> m_pProject;
    std::unique_ptr<KVHeadlessProject> m_pPreloader;
    KVSymbolResources m_symbols;
    KVPlayerSource m_source;
    KVPlayerSource m_preloaderSource;
};
