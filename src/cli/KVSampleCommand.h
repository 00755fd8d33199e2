#pragma once

#include <QString>
#include <QStringList>

// "kavio sample PROJECT [--scene N] --times T1,T2,...": opens the project, seeks the main timeline
// of scene N (counting from 1, the first by default) in the model to each time and prints one JSON
// line per time: {"t":T,"elements":{"<name>":{"box":[x,y,w,h],"opacity":o,"visible":b},...}}, with
// the box in stage pixels after the 2D transforms. Exit code 0, 1 when the project cannot be
// opened or has no such scene, 2 for a usage error.
class KVSampleCommand
{
public:
    static QString verb() { return QStringLiteral("sample"); }
    static QString summary();
    static QString usage();
    static int run(const QStringList &arguments);
};
