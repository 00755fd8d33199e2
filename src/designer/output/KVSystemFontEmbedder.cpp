#include "KVSystemFontEmbedder.h"

#include "output/KVWebEscape.h"
#include "resources/KVSystemFonts.h"
#include "resources/KVWoffWriter.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QtDebug>

namespace {

constexpr qint64 kLargestFontFile = 134217728;

// Text inside a CSS string in single quotes.
QString cssString(const QString &str)
{
    QString strOut;
    for (const QChar c : str) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('\'') || c == QLatin1Char('"'))
            strOut += QLatin1Char('\\') + c;
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            strOut += QStringLiteral("\\%1 ").arg(c.unicode(), 0, 16);
        else
            strOut += c;
    }
    return strOut;
}

} // namespace

QString KVSystemFontEmbedder::firstFamily(const QString &strCssFamilies)
{
    QString strName;
    const QString str = strCssFamilies.trimmed();
    if (str.startsWith(QLatin1Char('\'')) || str.startsWith(QLatin1Char('"'))) {
        const QChar quote = str.at(0);
        for (int n = 1; n < str.size() && str.at(n) != quote; ++n) {
            if (str.at(n) == QLatin1Char('\\') && n + 1 < str.size())
                ++n;
            strName += str.at(n);
        }
    } else {
        strName = str.section(QLatin1Char(','), 0, 0).remove(QLatin1Char('"')).trimmed();
        static const QStringList generic{QStringLiteral("serif"), QStringLiteral("sans-serif"),
                                         QStringLiteral("monospace"), QStringLiteral("cursive"),
                                         QStringLiteral("fantasy"), QStringLiteral("system-ui")};
        if (generic.contains(strName, Qt::CaseInsensitive))
            return QString();
    }
    return strName.trimmed();
}

QString KVSystemFontEmbedder::fileName(const QString &strFamily, bool bBold, bool bItalic)
{
    QString strName = strFamily;
    if (bBold)
        strName += QStringLiteral("_Bold");
    if (bItalic)
        strName += QStringLiteral("_Italic");
    for (QChar &c : strName) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') || c.unicode() < 0x20
            || QStringLiteral("*?\"<>|").contains(c))
            c = QLatin1Char('_');
    }
    if (strName.startsWith(QLatin1Char('.')))
        strName.prepend(QLatin1Char('_'));
    return (strName + QStringLiteral(".woff")).toLower();
}

QString KVSystemFontEmbedder::rule(const QString &strFamily, bool bBold, bool bItalic, const QString &strUrl)
{
    QString strLocal = strFamily;
    if (bBold)
        strLocal += QStringLiteral(" Bold");
    if (bItalic)
        strLocal += QStringLiteral(" Italic");
    return QStringLiteral("@font-face{\n"
                          "    font-family: '%1';\n"
                          "    font-style: %2;\n"
                          "    font-weight: %3;\n"
                          "    src: local('%4'),\n"
                          "         url('%5');\n"
                          "}\n")
        .arg(cssString(strFamily), bItalic ? QStringLiteral("italic") : QStringLiteral("normal"),
             bBold ? QStringLiteral("700") : QStringLiteral("400"), cssString(strLocal), cssString(strUrl));
}

bool KVSystemFontEmbedder::convertSystemFont(const QString &strFontFile, int nFace, const QString &strTarget)
{
    QFile file(strFontFile);
    if (!file.open(QIODevice::ReadOnly)) {
        qInfo().noquote() << QStringLiteral("Could not open the font file %1").arg(strFontFile);
        return false;
    }
    if (file.size() > kLargestFontFile) {
        qInfo().noquote() << QStringLiteral("Font file %1 is too large").arg(strFontFile);
        return false;
    }
    const QByteArray data = file.readAll();
    if (data.size() != file.size()) {
        qInfo().noquote() << QStringLiteral("Error while reading font %1").arg(strFontFile);
        return false;
    }
    QString strError;
    const QByteArray woff = KVWoffWriter().convert(data, nFace, strError);
    if (woff.isEmpty()) {
        qInfo().noquote() << QStringLiteral("Error while converting font %1 %2").arg(strFontFile, strError);
        return false;
    }
    QSaveFile out(strTarget);
    if (!out.open(QIODevice::WriteOnly)) {
        qInfo().noquote() << QStringLiteral("Could not open file %1 for writing font data").arg(strTarget);
        return false;
    }
    if (out.write(woff) != woff.size() || !out.commit()) {
        qInfo().noquote() << QStringLiteral("Error while writing font data to file %1").arg(strTarget);
        return false;
    }
    return true;
}

bool KVSystemFontEmbedder::write(const QString &strFolder, const QString &strUrlFolder,
                                 const QSet<QString> &families, QString &strRules, QStringList &files)
{
    QStringList names;
    for (const QString &strCss : families) {
        const QString strFamily = firstFamily(strCss);
        if (!strFamily.isEmpty() && !names.contains(strFamily, Qt::CaseInsensitive))
            names << strFamily;
    }
    // The same rules in the same order on every export of the same project.
    std::sort(names.begin(), names.end());
    if (!names.isEmpty())
        QDir().mkpath(strFolder);
    for (const QString &strFamily : qAsConst(names)) {
        bool bAny = false;
        for (int nStyle = 0; nStyle < 4; ++nStyle) {
            const bool bBold = nStyle & 1;
            const bool bItalic = nStyle & 2;
            KVSystemFonts::Face face;
            if (!KVSystemFonts::findFace(strFamily, bBold, bItalic, face))
                continue;
            bAny = true;
            const QString strName = fileName(strFamily, bBold, bItalic);
            if (!convertSystemFont(face.strFile, face.nIndex, strFolder + QLatin1Char('/') + strName))
                continue;
            files << strName;
            const QString strUrl = KVWebEscape::urlPath(strUrlFolder.isEmpty() ? strName
                                                                               : strUrlFolder + QLatin1Char('/') + strName);
            strRules += rule(strFamily, bBold, bItalic, strUrl);
        }
        if (!bAny)
            qInfo().noquote() << QStringLiteral("Font %1 not found").arg(strFamily);
    }
    return true;
}
