#include "KVPageTemplate.h"

#include "output/KVWebEscape.h"
#include "resources/KVOtherResource.h"
#include "resources/KVResourceManager.h"

#include <QHash>
#include <QRegularExpression>
#include <QUrl>

QString KVPageTemplate::viewportText(const QString &strKey, int nMeta)
{
    QString strValue;
    switch (nMeta) {
    case -3:
        return QString();
    case -2:
        strValue = QStringLiteral("device-width");
        break;
    case -1:
        strValue = QStringLiteral("device-height");
        break;
    default:
        strValue = QString::number(nMeta);
        break;
    }
    return QStringLiteral("%1=%2, ").arg(strKey, strValue);
}

QString KVPageTemplate::cssLink(const QString &strHref)
{
    return QStringLiteral("<link rel=\"stylesheet\" type=\"text/css\" href=\"%1\">").arg(KVWebEscape::html(strHref));
}

QString KVPageTemplate::scriptTag(const QString &strSrc)
{
    return QStringLiteral("<script type=\"text/javascript\" src=\"%1\"></script>").arg(KVWebEscape::html(strSrc));
}

QString KVPageTemplate::fillPage(const QString &strTemplate, const Values &v)
{
    QStringList cssLines;
    for (const QString &strHref : v.cssFiles)
        cssLines << cssLink(strHref);
    QStringList jsLines;
    for (const QString &strSrc : v.jsFiles)
        jsLines << scriptTag(strSrc);

    const QHash<QString, QString> values{
        {QStringLiteral("title"), KVWebEscape::html(v.strTitle)},
        {QStringLiteral("description"), KVWebEscape::html(v.strDescription)},
        {QStringLiteral("keywords"), KVWebEscape::html(v.strKeywords)},
        {QStringLiteral("author"), KVWebEscape::html(v.strAuthor)},
        {QStringLiteral("playerURL"), QStringLiteral("kvplayer.js")},
        {QStringLiteral("cssFiles"), cssLines.join(QStringLiteral("\n\t"))},
        {QStringLiteral("jsFiles"), jsLines.join(QStringLiteral("\n\t"))},
        {QStringLiteral("loadDocumentScript"), v.strLoadScript},
        {QStringLiteral("containerID"), KVWebEscape::html(v.strContainerId)},
        {QStringLiteral("viewportWidth"), viewportText(QStringLiteral("width"), v.nViewportWidthMeta)},
        {QStringLiteral("viewportHeight"), viewportText(QStringLiteral("height"), v.nViewportHeightMeta)},
        {QStringLiteral("googleFonts"), v.strGoogleFonts},
    };
    // One pass over the template: a value that happens to hold a placeholder's text (a title such
    // as "{$author}", a text element in the inline preloader data) is written as it is.
    static const QRegularExpression placeholder(QStringLiteral("\\{\\$([A-Za-z]+)\\}"));
    QString str;
    str.reserve(strTemplate.size() + v.strLoadScript.size());
    int nPos = 0;
    QRegularExpressionMatchIterator it = placeholder.globalMatch(strTemplate);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        const auto found = values.constFind(match.captured(1));
        if (found == values.cend())
            continue;
        str += strTemplate.midRef(nPos, match.capturedStart() - nPos);
        str += found.value();
        nPos = match.capturedEnd();
    }
    str += strTemplate.midRef(nPos);
    return str;
}

QString KVPageTemplate::fillStyleSheet(const QString &strTemplate, const QString &strSystemFontRules)
{
    QString str = strTemplate;
    return str.replace(QStringLiteral("{$systemFonts}"), strSystemFontRules);
}

QStringList KVPageTemplate::headResourceUrls(const KVResourceManager *pManager, int nType, const QString &strFolder,
                                             bool bPreview)
{
    QStringList urls;
    if (!pManager)
        return urls;
    for (const KVOtherResource *pResource : pManager->headResources(nType)) {
        if (!pResource->hasFolderFile()) {
            // Only addresses a page may load code from; a project's "javascript:" stays out.
            const QString strUrl = KVWebEscape::safeUrl(pResource->fileReference());
            if (!strUrl.isEmpty())
                urls << strUrl;
            continue;
        }
        const QString strFile = bPreview ? pResource->fileName() : KVResourceManager::exportedFileName(pResource);
        urls << KVWebEscape::urlPath(strFolder.isEmpty() ? strFile : strFolder + QLatin1Char('/') + strFile);
    }
    return urls;
}

QString KVPageTemplate::webFontLink(const QStringList &families)
{
    if (families.isEmpty())
        return QString();
    QStringList encoded;
    for (const QString &strFamily : families)
        encoded << QString::fromUtf8(QUrl::toPercentEncoding(strFamily, " ")).replace(QLatin1Char(' '), QLatin1Char('+'));
    return cssLink(QStringLiteral("https://fonts.googleapis.com/css?family=") + encoded.join(QLatin1Char('|')));
}
