#include "KVAdCheck.h"

#include "document/KVDocumentSettings.h"

#include "document/KVSymbol.h"
#include "model/KVSceneList.h"
#include "output/KVExportArchive.h"
#include "output/KVPlayerSource.h"
#include "resources/KVOtherResource.h"
#include "resources/KVResource.h"
#include "resources/KVResourceManager.h"
#include "resources/KVResourceType.h"

#include "Reporter.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <nlohmann/json.hpp>

#include <algorithm>

namespace {

const nlohmann::json &profileData()
{
    static const nlohmann::json data = [] {
        QFile file(QStringLiteral(":/kavio/adprofiles.json"));
        file.open(QIODevice::ReadOnly);
        // The data carries a comment with the source of each limit.
        return nlohmann::json::parse(file.readAll().toStdString(), nullptr, false, true);
    }();
    return data;
}

QString kb(qint64 nBytes)
{
    return QString::number(nBytes / 1024.0, 'f', 1) + QStringLiteral(" KB");
}

QString extension(const QString &strName)
{
    return QFileInfo(strName).suffix().toLower();
}

bool isMedia(const QString &strName)
{
    static const QStringList media{"mp4", "webm", "ogv", "ogg", "mp3", "wav", "m4a", "aac", "mov"};
    return media.contains(extension(strName));
}

// "name (size)" of the largest entries first, for a finding that says what to shrink.
QString largest(QList<KVExportArchive::Entry> entries, int nCount, bool bCompressed)
{
    std::sort(entries.begin(), entries.end(), [&](const auto &a, const auto &b) {
        return (bCompressed ? a.nCompressed : a.nSize) > (bCompressed ? b.nCompressed : b.nSize);
    });
    QStringList names;
    for (int i = 0; i < entries.size() && i < nCount; ++i)
        names << QStringLiteral("%1 (%2)").arg(entries.at(i).strName,
                                              kb(bCompressed ? entries.at(i).nCompressed : entries.at(i).nSize));
    return names.join(QStringLiteral(", "));
}

} // namespace

QStringList KVAdCheck::profiles()
{
    QStringList names;
    if (profileData().is_object()) {
        for (auto it = profileData().begin(); it != profileData().end(); ++it)
            names << QString::fromStdString(it.key());
    }
    return names;
}

bool KVAdCheck::hasProfile(const QString &strProfile)
{
    return profiles().contains(strProfile);
}

KVAdCheck::Project KVAdCheck::projectOf(const KVPlayerSource &source)
{
    Project project;
    if (!source.isValid())
        return project;
    project.nDurationMs = source.pSymbol->sceneList()->totalDuration();
    project.strClickTagVariable = source.pSettings->m_strClickTag;
    if (const KVResourceManager *pManager = source.resourceManager()) {
        for (KVResource *pResource : pManager->liveResources()) {
            const int nType = pResource->type();
            const bool bOther = nType == KVResourceType::Script || nType == KVResourceType::StyleSheet;
            const bool bAddress = bOther
                ? static_cast<const KVOtherResource *>(pResource)->resourceType() == KVOtherResource::Address
                : pResource->fileName().contains(QStringLiteral("://"));
            if (bAddress)
                project.externalAssets << QStringLiteral("%1 (%2)").arg(pResource->name(), pResource->fileName());
        }
    }
    return project;
}

bool KVAdCheck::check(const QString &strProfile, const QString &strZip, const Project &project, QStringList &findings)
{
    findings.clear();
    const nlohmann::json &data = profileData();
    if (!data.is_object() || !data.contains(strProfile.toStdString())) {
        Reporter::error(tr("There is no ad profile \"%1\"; the profiles are: %2.")
                            .arg(strProfile, profiles().join(QStringLiteral(", "))));
        return false;
    }
    const nlohmann::json &rules = data.at(strProfile.toStdString());
    const auto limit = [&](const char *pszKey) -> qint64 {
        return rules.contains(pszKey) && rules.at(pszKey).is_number() ? rules.at(pszKey).get<qint64>() : -1;
    };
    const auto flag = [&](const char *pszKey) {
        return rules.contains(pszKey) && rules.at(pszKey).is_boolean() && rules.at(pszKey).get<bool>();
    };

    QList<KVExportArchive::Entry> entries;
    QHash<QString, QByteArray> texts;
    if (!KVExportArchive::read(strZip, entries, {".html", ".htm", ".css", ".js"}, &texts))
        return false;
    const QString strZipName = QFileInfo(strZip).fileName();
    QString strPage;
    for (const auto &entry : entries) {
        if (!entry.strName.contains(QLatin1Char('/')) && (extension(entry.strName) == QLatin1String("html")
                                                          || extension(entry.strName) == QLatin1String("htm"))) {
            strPage = entry.strName;
            break;
        }
    }
    if (strPage.isEmpty())
        findings << tr("%1: there is no HTML page at the root of the ZIP: export the project again as a ZIP.")
                        .arg(strZipName);

    const qint64 nArchiveBytes = QFileInfo(strZip).size();
    const qint64 nMaxArchive = limit("maxArchiveBytes");
    if (nMaxArchive >= 0 && nArchiveBytes > nMaxArchive)
        findings << tr("%1: the ZIP is %2, over the limit of %3: shrink or remove the largest files: %4.")
                        .arg(strZipName, kb(nArchiveBytes), kb(nMaxArchive), largest(entries, 3, true));

    const qint64 nMaxFiles = limit("maxFiles");
    if (nMaxFiles >= 0 && entries.size() > nMaxFiles)
        findings << tr("%1: the ZIP holds %2 files, over the limit of %3: remove resources the project does not "
                       "need or combine images.")
                        .arg(strZipName)
                        .arg(entries.size())
                        .arg(nMaxFiles);

    if (rules.contains("allowedTypes") && rules.at("allowedTypes").is_array()) {
        QStringList allowed;
        for (const auto &type : rules.at("allowedTypes"))
            allowed << QString::fromStdString(type.get<std::string>());
        for (const auto &entry : entries) {
            if (allowed.contains(extension(entry.strName)))
                continue;
            // Installed fonts embedded by the export are no resource the user could remove.
            static const QStringList fonts{QStringLiteral("woff"), QStringLiteral("woff2"), QStringLiteral("ttf"),
                                           QStringLiteral("otf")};
            if (fonts.contains(extension(entry.strName)))
                findings << tr("%1: the network accepts no font files (only %2): turn off the embedding of installed "
                               "fonts in the document settings, and remove any font resource.")
                                .arg(entry.strName, allowed.join(QStringLiteral(", ")).toUpper());
            else
                findings << tr("%1: files of this type are not accepted (only %2): remove the resource or convert "
                               "it to an accepted type.")
                                .arg(entry.strName, allowed.join(QStringLiteral(", ")).toUpper());
        }
    }

    if (flag("localAssetsOnly")) {
        for (const QString &strAsset : project.externalAssets)
            findings << tr("Resource %1: it is loaded from another server: import the file into the project so "
                           "that it travels in the ZIP.")
                            .arg(strAsset);
        // Pages and style sheets may load from other servers on their own (a template, web fonts);
        // links people follow are no assets.
        static const QRegularExpression remote(
            QStringLiteral("(?:\\bsrc\\s*=\\s*[\"']?|<link\\b[^>]*\\bhref\\s*=\\s*[\"']?|url\\(\\s*[\"']?|@import\\s+[\"'])"
                           "((?:https?:)?//[^\"')\\s>]+)"),
            QRegularExpression::CaseInsensitiveOption);
        for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
            if (extension(it.key()) == QLatin1String("js"))
                continue;
            auto match = remote.globalMatch(QString::fromUtf8(it.value()));
            while (match.hasNext()) {
                const QString strUrl = match.next().captured(1);
                if (!project.externalAssets.join(QLatin1Char('\n')).contains(strUrl))
                    findings << tr("%1: loads %2 from another server: put the file into the project (or use a "
                                   "system font instead of a web font).")
                                    .arg(it.key(), strUrl);
            }
        }
    }

    if (flag("adSizeTag") && !strPage.isEmpty()) {
        static const QRegularExpression adSize(
            QStringLiteral("<meta\\s+name=[\"']ad\\.size[\"']\\s+content=[\"']width=\\d+,\\s*height=\\d+[\"']"),
            QRegularExpression::CaseInsensitiveOption);
        if (!adSize.match(QString::fromUtf8(texts.value(strPage))).hasMatch())
            findings << tr("%1: the page has no <meta name=\"ad.size\"> tag: remove the responsive layouts so that the "
                           "stage keeps one size, and keep </head> in the page template.")
                            .arg(strPage);
    }

    if (flag("noLocalStorage")) {
        static const QRegularExpression storage(QStringLiteral("\\b(localStorage|sessionStorage)\\b"));
        for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
            const QRegularExpressionMatch match = storage.match(QString::fromUtf8(it.value()));
            if (match.hasMatch())
                findings << tr("%1: uses %2, which the network does not allow: remove the code that keeps data in "
                               "the browser.")
                                .arg(it.key(), match.captured(1));
        }
    }

    const qint64 nMaxAnimation = limit("maxAnimationMs");
    if (nMaxAnimation >= 0 && project.nDurationMs > nMaxAnimation)
        findings << tr("Timeline: the scenes last %1 s, over the limit of %2 s: shorten them so that the animation "
                       "stops by %2 s.")
                        .arg(project.nDurationMs / 1000.0, 0, 'f', 1)
                        .arg(nMaxAnimation / 1000.0, 0, 'f', 0);

    if (flag("clickTag") && !strPage.isEmpty()) {
        const QRegularExpression declared(QStringLiteral("\\bvar\\s+%1\\s*=")
                                              .arg(QRegularExpression::escape(project.strClickTagVariable)));
        if (!declared.match(QString::fromUtf8(texts.value(strPage))).hasMatch())
            findings << tr("%1: the page declares no click tag (%2): give the element people click an \"Open Click "
                           "Tag URL\" action.")
                            .arg(strPage, project.strClickTagVariable);
    }

    const qint64 nMaxInitial = limit("maxInitialLoadBytes");
    const qint64 nMaxSubsequent = limit("maxSubsequentLoadBytes");
    if (nMaxInitial >= 0 || nMaxSubsequent >= 0) {
        // The player loads the page, its scripts and images before the first frame; sound and video
        // stream in later.
        QList<KVExportArchive::Entry> initial;
        qint64 nInitial = 0;
        qint64 nTotal = 0;
        for (const auto &entry : entries) {
            nTotal += entry.nCompressed;
            if (!isMedia(entry.strName)) {
                nInitial += entry.nCompressed;
                initial << entry;
            }
        }
        if (nMaxInitial >= 0 && nInitial > nMaxInitial)
            findings << tr("%1: the initial load is %2 compressed, over the limit of %3: shrink the largest files: %4.")
                            .arg(strZipName, kb(nInitial), kb(nMaxInitial), largest(initial, 3, true));
        if (nMaxSubsequent >= 0 && nTotal > nMaxSubsequent)
            findings << tr("%1: the full load is %2 compressed, over the limit of %3: shrink the largest files: %4.")
                            .arg(strZipName, kb(nTotal), kb(nMaxSubsequent), largest(entries, 3, true));
    }
    return true;
}

QString KVAdCheck::summary(const QString &strZip, const Project &project, bool *pbPassed)
{
    QStringList lines;
    bool bPassed = true;
    for (const QString &strProfile : profiles()) {
        QStringList findings;
        if (!check(strProfile, strZip, project, findings)) {
            bPassed = false;
            break;
        }
        if (findings.isEmpty()) {
            lines << tr("%1: passed").arg(strProfile);
            continue;
        }
        bPassed = false;
        lines << tr("%1: %2 problem(s)").arg(strProfile).arg(findings.size());
        for (const QString &strFinding : findings)
            lines << QStringLiteral("  - ") + strFinding;
    }
    if (pbPassed)
        *pbPassed = bPassed;
    return lines.join(QLatin1Char('\n'));
}
