#pragma once

#include "IReporter.h"

// The one process-wide reporter. The host installs a message-box reporter, the command-line tool
// a stderr reporter, tests a recorder. With nothing installed, reports go to stderr and questions
// take their default answer.
class Reporter
{
public:
    static QString title(); // "Kavio Studio"

    static IReporter *instance();
    // Installs pReporter (not owned) and returns the one it replaces.
    static IReporter *setInstance(IReporter *pReporter);

    static void error(const QString &text);
    static void warning(const QString &text);
    static void information(const QString &text);
    static IReporter::Button question(const QString &text,
                                      int buttons = IReporter::Yes | IReporter::No,
                                      IReporter::Button defaultButton = IReporter::Yes);
    static int choose(const QString &text, const QStringList &buttons, int defaultIndex = 0);
};
