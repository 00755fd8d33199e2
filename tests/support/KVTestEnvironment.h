#pragma once

#include <QString>

// Keeps tests away from the real home folder: HOME, the XDG folders and the settings file point
// into a folder of the test's own (set by ctest, or made here when a test runs by hand).
namespace KVTestEnvironment {
void prepare();
QString sourceDir();           // the source tree (examples, web pages)
QString binaryDir();           // the build tree
QString settingsPath();        // the settings file the test may use
QString sha256OfTree(const QString &path); // checksum of every file and its relative path below path
} // namespace KVTestEnvironment
