#pragma once

#include <QString>

// Where the output finds the player and its companions, and how folder names of the exported site
// are written.
class KVOutputPaths
{
public:
    // The folder that holds "resources/": strResourcePath when given, else the host's.
    static QString resourceRoot(const QString &strResourcePath = QString());
    // "<resource root>/resources/canvas/player", which holds kvplayer.js, kvplayer.html and
    // kvplayer.css.
    static QString playerFolder(const QString &strResourcePath = QString());

    // A folder name as the page refers to it: native separators become "/", empty parts and parts
    // made only of three or more dots are dropped, the rest joined with "/".
    static QString normalizeFolder(const QString &strFolder);
    // Why a folder name cannot name a folder inside the export folder (it climbs out with "..", or
    // is absolute); empty when it can.
    static QString folderProblem(const QString &strFolder);
};
