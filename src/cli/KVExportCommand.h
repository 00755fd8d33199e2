#pragma once

#include <QString>
#include <QStringList>

class KVHtml5Exporter;
struct KVPlayerSource;

// "kavio export PROJECT OUTDIR|OUT.zip [--scene N] [--ad PROFILE]": writes the project as a web site
// into OUTDIR, or as one ZIP, with the exporter the editor uses, without any dialog. Messages go to
// stderr; on success one summary line "files=N bytes=N page=PATH" (with "zip=PATH" for a ZIP) goes
// to stdout, then the ad check's lines. Exit code 0 when exported, 1 when not, 2 for a usage error,
// 3 when the export fails the ad profile.
class KVExportCommand
{
public:
    static QString verb() { return QStringLiteral("export"); }
    static QString summary();
    static QString usage();
    static int run(const QStringList &arguments);

    // Checks what the exporter just wrote against the ad profile and prints "ad check PROFILE:
    // passed" or the findings, one a line. 0 when it passes, 3 when it fails, 1 when it cannot run.
    static int runAdCheck(const QString &strProfile, const KVHtml5Exporter &exporter, const KVPlayerSource &source,
                          const QString &strFolder);
};
