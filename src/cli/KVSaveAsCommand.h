#pragma once

#include <QString>
#include <QStringList>

// "kavio save-as PROJECT NEWPATH": opens the project as the editor would and saves it under a new
// project file, with its resource files copied into the new resource folder; the previous project
// stays on disk as it was. Prints the new project's summary line
// ("scenes=N elements=N timelines=N animations=N resources=N functions=N"). Exit code 0 when the
// project was saved, 1 (the reason on stderr) when it was not, 2 for a usage error.
class KVSaveAsCommand
{
public:
    static QString verb() { return QStringLiteral("save-as"); }
    static QString summary();
    static QString usage();
    static int run(const QStringList &arguments);
};
