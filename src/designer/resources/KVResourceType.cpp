#include "KVResourceType.h"

#include <QFileInfo>
#include <QRegularExpression>

QStringList KVResourceType::suffixes(int nType)
{
    switch (nType) {
    case Image:
        return {"svg", "gif", "bmp", "jpeg", "jpg", "png"};
    case Audio:
        return {"oga", "ogg", "aac", "m4a", "wav", "mp3"};
    case Video:
        return {"ogv", "webm", "m4v", "mp4"};
    case Symbol:
        return {"kaviosym"};
    case Font:
        return {"eot", "svg", "woff2", "woff", "otf", "ttf"};
    case Script:
        return {"js"};
    case StyleSheet:
        return {"css"};
    case HtmlPage:
        return {"html"};
    case AnyImportable: {
        QStringList all;
        for (int nKind : {Image, Audio, Video, Symbol, Script, StyleSheet, HtmlPage})
            all += suffixes(nKind);
        return all;
    }
    default:
        return {};
    }
}

bool KVResourceType::acceptsSuffix(int nType, const QString &strSuffix)
{
    return !strSuffix.isEmpty() && suffixes(nType).contains(strSuffix.toLower());
}

int KVResourceType::typeOfFile(const QString &strFileName)
{
    const QString strSuffix = QFileInfo(strFileName).suffix().toLower();
    for (int nKind : {Image, Audio, Video, Symbol, Script, StyleSheet, HtmlPage, Font}) {
        if (acceptsSuffix(nKind, strSuffix))
            return nKind;
    }
    return -1;
}

QString KVResourceType::allKindsFilter()
{
    const QStringList filters = {
        tr("Image Files (*.png *.jpg *.jpeg *.bmp *.gif *.svg)"),
        tr("Audio Files (*.mp3 *.wav *.m4a *.aac *.ogg *.oga)"),
        tr("Video Files (*.mp4 *.m4v *.webm *.ogv)"),
        tr("JavaScript Files (*.js)"),
        tr("Cascade Style Sheets Files (*.css)"),
        tr("Hypertext Markup Language Files (*.html)"),
        tr("Symbol Files (*.%1)").arg(QStringLiteral("kaviosym")),
    };
    return tr("All Files (*.*);;") + filters.join(QStringLiteral(";;"));
}

QString KVResourceType::codeFilter()
{
    const QStringList filters = {
        tr("JavaScript Files (*.js)"),
        tr("Cascade Style Sheets Files (*.css)"),
        tr("Hypertext Markup Language Files (*.html)"),
    };
    return tr("All Files (*.js *.css *.html);;") + filters.join(QStringLiteral(";;"));
}

QString KVResourceType::widgetSourceFilter()
{
    const QStringList filters = {
        tr("Image Files (*.svg)"),
        tr("Hypertext Markup Language Files (*.html)"),
    };
    return tr("All Files (*.svg *.html);;") + filters.join(QStringLiteral(";;"));
}

QString KVResourceType::sanitizedFileName(const QString &strName)
{
    static const QRegularExpression reForbidden(QStringLiteral("[/\\\\:*?\"<>|]"));
    QString strResult = strName;
    strResult.replace(reForbidden, QStringLiteral("_"));
    for (QChar &ch : strResult) {
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7f)
            ch = QLatin1Char('_');
    }
    // "." and ".." name folders, not files.
    if (!strResult.isEmpty() && strResult.count(QLatin1Char('.')) == strResult.size())
        strResult.fill(QLatin1Char('_'));
    return strResult;
}

QString KVResourceType::sanitizedName(const QString &strName)
{
    QString strResult = strName;
    for (const QChar ch : QStringLiteral("<>:\"|?*\n"))
        strResult.replace(ch, QLatin1Char('_'));
    return strResult;
}

QString KVResourceType::fileKindText(int nType)
{
    switch (nType) {
    case Image:
        return tr("Image File");
    case Audio:
        return tr("Audio File");
    case Video:
        return tr("Video File");
    case Symbol:
        return tr("Symbol File");
    case Font:
        return tr("Font File");
    case Script:
        return tr("JavaScript File");
    case StyleSheet:
        return tr("CSS File");
    case HtmlPage:
        return tr("HTML File");
    default:
        return tr("Misc File");
    }
}
