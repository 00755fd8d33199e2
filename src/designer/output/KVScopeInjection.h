#pragma once

#include <QString>

// The script placed inside every generated data-file function, before the user functions, so that
// they see the names it declares. It comes from "resources/canvas/kvscopeinjection.js" of the
// host's resource folder, stripped of its comments; the file is read once per process.
class KVScopeInjection
{
public:
    // The stripped text of the file under strResourcePath (the host's resource path when empty),
    // read at the first call and kept; a single space when the file is missing or holds nothing
    // but comments.
    static QString text(const QString &strResourcePath = QString());
    // Reads and strips the file at strFile without keeping anything; a single space as above.
    static QString readFile(const QString &strFile);
    // Removes line and block comments of JavaScript source: text in string, template and regular
    // expression literals is kept as it is ("http://" in a string is no comment). A line left
    // blank by a removed comment goes, as does the space before a removed line comment; the result
    // is trimmed.
    static QString stripComments(const QString &strSource);
    // The file the text comes from: "<resource path>/resources/canvas/kvscopeinjection.js".
    static QString filePath(const QString &strResourcePath = QString());
};
