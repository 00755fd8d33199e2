#include "output/KVCanvasSceneData.h"

#include "document/KVSymbol.h"
#include "model/KVBreakpointSet.h"
#include "model/KVScene.h"

#include <QJsonDocument>

QJsonObject KVCanvasSceneData::build(KVSymbol &container, KVScene *pScene,
                                     const KVResourceManager *pResources, const ViewFlags &flags,
                                     const KVResourceManager::SymbolDataWriter &symbolData)
{
    QJsonObject jo;
    if (!pScene)
        return jo;
    QJsonObject joScene;
    pScene->toPlayerJson(joScene, true);
    jo.insert(QStringLiteral("scene"), joScene);
    jo.insert(QStringLiteral("resources"),
              pResources ? pResources->toPlayerJson(true, symbolData) : QJsonArray());
    jo.insert(QStringLiteral("outputCss"), flags.strOutputCss);
    jo.insert(QStringLiteral("symbolResourceId"), flags.nSymbolResourceId);
    jo.insert(QStringLiteral("containerW"), flags.nContainerW > 0 ? flags.nContainerW : container.width());
    jo.insert(QStringLiteral("containerH"), flags.nContainerH > 0 ? flags.nContainerH : container.height());
    jo.insert(QStringLiteral("docAlign"), container.align());
    jo.insert(QStringLiteral("autoAddKeyframe"), flags.bAutoAddKeyframe);
    jo.insert(QStringLiteral("showContainerHandler"), flags.bShowContainerHandler);
    jo.insert(QStringLiteral("transformTools"), flags.nTransformTool);
    if (container.breakpoints()->hasLayouts())
        jo.insert(QStringLiteral("breakpoints"), container.breakpoints()->toPlayerJson());
    if (flags.nSymbolResourceId < 0 && !flags.joLoaderData.isEmpty())
        jo.insert(QStringLiteral("canvasLoaderData"), flags.joLoaderData);
    return jo;
}

QString KVCanvasSceneData::buildText(KVSymbol &container, KVScene *pScene,
                                     const KVResourceManager *pResources, const ViewFlags &flags,
                                     const KVResourceManager::SymbolDataWriter &symbolData)
{
    if (!pScene)
        return QString();
    const QJsonObject jo = build(container, pScene, pResources, flags, symbolData);
    // A JSON object keeps its keys sorted; the text lists them in the order the page expects.
    static const char *const keys[] = {"scene",          "resources",          "outputCss",
                                       "symbolResourceId", "containerW",       "containerH",
                                       "docAlign",       "autoAddKeyframe",    "showContainerHandler",
                                       "transformTools", "breakpoints",        "canvasLoaderData"};
    QByteArray text("{");
    for (const char *key : keys) {
        const QString strKey = QString::fromLatin1(key);
        if (!jo.contains(strKey))
            continue;
        if (text.size() > 1)
            text += ',';
        // A one-key object gives the value's text with the key escaped as JSON does.
        QByteArray item = QJsonDocument(QJsonObject{{strKey, jo.value(strKey)}}).toJson(QJsonDocument::Compact);
        text += item.mid(1, item.size() - 2);
    }
    text += '}';
    return QString::fromUtf8(text);
}
