#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

struct KVPlayerSource;

// Holds an exported ZIP to an ad network's limits before it is uploaded: size, file count, file
// types, assets from other servers, the ad.size tag, local storage, animation length, click tag
// and load sizes. The limits are data (the resource ":/kavio/adprofiles.json", each limit with
// its source); a profile states only the rules it has.
class KVAdCheck
{
    Q_DECLARE_TR_FUNCTIONS(KVAdCheck)

public:
    // What the ZIP alone does not tell: read from the project.
    struct Project
    {
        int nDurationMs = 0;        // the scenes one after another
        QStringList externalAssets; // "name (address)" of each resource left on another server
        QString strClickTagVariable = QStringLiteral("clickTag");
    };
    static Project projectOf(const KVPlayerSource &source);

    // The profile names, sorted.
    static QStringList profiles();
    static bool hasProfile(const QString &strProfile);

    // Checks strZip against the profile: each finding names the file or element and what to do.
    // False (reported) only when the profile is unknown or the ZIP cannot be read; a profile passes
    // when it returns true with no findings.
    static bool check(const QString &strProfile, const QString &strZip, const Project &project, QStringList &findings);

    // Every profile's verdict on strZip, for the message after an export: "PROFILE: passed" or
    // "PROFILE: N problem(s)" followed by the findings; *pbPassed tells whether all passed.
    static QString summary(const QString &strZip, const Project &project, bool *pbPassed = nullptr);
};
