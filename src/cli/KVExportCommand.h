#pragma once

#include <QString>
#include <QStringList>

// "kavio export PROJECT OUTDIR [--scene N]": writes the project as a web site into OUTDIR with the
// exporter the editor uses, without any dialog. Messages go to stderr; on success one summary line
// "files=N bytes=N page=PATH" goes to stdout. Exit code 0 when exported, 1 when not, 2 for a usage
// error.
class KVExportCommand
{
public:
    static QString verb() { return QStringLiteral("export"); }
    static QString summary();
    static QString usage();
    static int run(const QStringList &arguments);
};
