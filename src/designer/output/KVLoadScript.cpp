#include "KVLoadScript.h"

#include "output/KVWebEscape.h"

namespace {
QString indented(QString str)
{
    return str.replace(QStringLiteral("\n"), QStringLiteral("\n\t"));
}
} // namespace

QString KVLoadScript::escapeFileName(const QString &strFileName)
{
    return KVWebEscape::jsString(KVWebEscape::urlPath(strFileName));
}

QString KVLoadScript::centerName(int nAlign)
{
    switch (nAlign) {
    case 4:
        return QStringLiteral("horizontal");
    case 128:
        return QStringLiteral("vertical");
    case 132:
        return QStringLiteral("both");
    default:
        return QStringLiteral("none");
    }
}

QString KVLoadScript::escapeForPage(const QString &strScript)
{
    QString str = strScript;
    return str.replace(QStringLiteral("</"), QStringLiteral("<\\/"));
}

QString KVLoadScript::forPreloader(const QString &strDataFile, const QString &strContainerId, bool bAutoplay,
                                   int nAlign, bool bAutofit)
{
    return QStringLiteral("(function(Kavio) {") + QStringLiteral("\n\t")
        + QStringLiteral("Kavio.openDoc('%1', '%2', {paused:%3, center:'%4'%5});")
              .arg(escapeFileName(strDataFile), KVWebEscape::jsString(strContainerId), pausedText(bAutoplay), centerName(nAlign),
                   fitText(bAutofit))
        + QStringLiteral("\n") + QStringLiteral("})(DorunKavio);");
}

QString KVLoadScript::forProject(const Project &p)
{
    QString str = QStringLiteral("(function(Kavio) {") + QStringLiteral("\n\t");
    if (p.nLoaderType == 0) {
        str += QStringLiteral("var li = ") + p.strLoadingIndicator + QStringLiteral(";");
    } else if (p.bHasPreloader) {
        str += QStringLiteral("preloaderDocData = %1;").arg(p.strPreloaderData);
        str += QStringLiteral("\n\t");
        if (!p.strScopeInjection.isEmpty())
            str += indented(p.strScopeInjection);
        str += QStringLiteral("\n\t") + indented(p.strPreloaderFunctions) + QStringLiteral("\n\t")
            + QStringLiteral("preloaderDocData.f = f;") + QStringLiteral("\n\t");
        if (p.bPreloaderUsesIndicator)
            str += QStringLiteral("preloaderDocData.li = ") + p.strPreloaderIndicator + QStringLiteral(";");
        else
            str += QStringLiteral("preloaderDocData.li = false;");
    } else {
        str += QStringLiteral("preloaderDocData = {};");
    }
    const QString strPreloaderOption = p.nLoaderType == 0 ? QStringLiteral("preloaderOptions: li")
                                                          : QStringLiteral("preloaderDoc: preloaderDocData");
    str += QStringLiteral("\n\t")
        + QStringLiteral("Kavio.openDoc('%1', '%2', {paused:%3, %4, center: '%5'%6});")
              .arg(escapeFileName(p.strDataFile), KVWebEscape::jsString(p.strContainerId), pausedText(p.bAutoplay), strPreloaderOption,
                   centerName(p.nAlign), fitText(p.bAutofit) + (p.bPlayControl ? QStringLiteral(", playControl: true") : QString())
                       + (p.strClickTag.isEmpty() ? QString()
                                                  : QStringLiteral(", clickTag: '%1'").arg(KVWebEscape::jsString(p.strClickTag))));
    str += QStringLiteral("\n") + QStringLiteral("})(DorunKavio);");
    return str;
}
