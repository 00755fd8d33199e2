#pragma once

#include <QString>
#include <QStringList>

// "kavio check PROJECT": opens the project as the editor would and prints a summary line
// ("scenes=N elements=N timelines=N animations=N resources=N functions=N") followed by one line per
// problem found. Exit code 0 when the project opens, 1 (the reason on stderr) when it does not,
// 2 for a usage error.
class KVCheckCommand
{
public:
    static QString verb() { return QStringLiteral("check"); }
    static QString summary();
    static QString usage();
    static int run(const QStringList &arguments);
};
