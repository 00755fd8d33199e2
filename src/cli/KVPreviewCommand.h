#pragma once

#include <QStringList>

// "kavio preview PROJECT [--scene N] [--port P] [--no-browser]": writes the preview of the project,
// serves it on 127.0.0.1, prints the address and serves until SIGINT or SIGTERM.
class KVPreviewCommand
{
public:
    static QString summary();
    static QString usage();
    static int run(const QStringList &arguments);
};
