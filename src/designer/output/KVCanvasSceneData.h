#pragma once

#include "resources/KVResourceManager.h"

#include <QJsonObject>
#include <QString>

class KVScene;
class KVSymbol;

// The object the canvas page receives with currentSceneChanged: the scene shown in its canvas form,
// the document's resources and the view's flags, keys in this order: "scene", "resources",
// "outputCss", "symbolResourceId", "containerW", "containerH", "docAlign", "autoAddKeyframe",
// "showContainerHandler", "transformTools", "breakpoints" (only when the container has any) and
// "canvasLoaderData" (only for the document itself with a preloader shown).
class KVCanvasSceneData
{
public:
    struct ViewFlags
    {
        // The editor's custom CSS output.
        QString strOutputCss;
        // The symbol resource being edited; -1 while the document itself is edited.
        int nSymbolResourceId = -1;
        // The container size the canvas shows; below 1 takes the container's stage size.
        int nContainerW = -1;
        int nContainerH = -1;
        bool bAutoAddKeyframe = false;
        bool bShowContainerHandler = false;
        int nTransformTool = 0;
        // The preloader's canvas data, written only when not empty and the document is edited.
        QJsonObject joLoaderData;
    };

    // The container holds the scene (the document's symbol or a symbol resource's); the resources
    // are the document's (null writes an empty list). A null scene gives an empty object.
    static QJsonObject build(KVSymbol &container, KVScene *pScene, const KVResourceManager *pResources,
                             const ViewFlags &flags,
                             const KVResourceManager::SymbolDataWriter &symbolData = {});
    // The same as compact JSON text with the keys in the order above; empty without a scene.
    static QString buildText(KVSymbol &container, KVScene *pScene, const KVResourceManager *pResources,
                             const ViewFlags &flags,
                             const KVResourceManager::SymbolDataWriter &symbolData = {});
};
