#include "KVElementFactory.h"

#include "model/KVAutoShape.h"
#include "model/KVAutoShapeProperty.h"
#include "model/KVDiv.h"
#include "model/KVDivProperty.h"
#include "model/KVElement.h"
#include "model/KVElementProperty.h"
#include "model/KVElementType.h"
#include "model/KVFreeFormShape.h"
#include "model/KVFreeFormShapeProperty.h"
#include "model/KVHTMLWidget.h"
#include "model/KVImage.h"
#include "model/KVImageProperty.h"
#include "model/KVMedia.h"
#include "model/KVSceneProperty.h"
#include "model/KVSymbolElement.h"
#include "model/KVText.h"
#include "model/KVTextProperty.h"

namespace KVElementFactory {

KVElement *createElement(int nType)
{
    KVElement *pElement = nullptr;
    switch (nType) {
    case KVElementType::Image:
        pElement = new KVImage;
        break;
    case KVElementType::Audio:
    case KVElementType::Video:
        pElement = new KVMedia(nType);
        break;
    case KVElementType::HTML_Widget:
        pElement = new KVHTMLWidget;
        break;
    case KVElementType::Symbol:
        pElement = new KVSymbolElement;
        break;
    case KVElementType::Text:
        pElement = new KVText;
        break;
    case KVElementType::Div:
        pElement = new KVDiv;
        break;
    case KVElementType::Group:
        pElement = new KVElement;
        break;
    case KVElementType::Shape:
        pElement = new KVAutoShape;
        break;
    case KVElementType::Freeform:
        pElement = new KVFreeFormShape;
        break;
    default:
        // Scenes are made by the scene list; components never.
        return nullptr;
    }
    pElement->init();
    return pElement;
}

KVElementProperty *createProperty(int nType)
{
    switch (nType) {
    case KVElementType::Text:
        return new KVTextProperty;
    case KVElementType::Div:
        return new KVDivProperty;
    case KVElementType::Shape:
        return new KVAutoShapeProperty;
    case KVElementType::Freeform:
        return new KVFreeFormShapeProperty;
    case KVElementType::Scene:
        return new KVSceneProperty;
    case KVElementType::Image:
        return new KVImageProperty;
    case KVElementType::Audio:
    case KVElementType::Video:
    case KVElementType::HTML_Widget:
    case KVElementType::Group:
    case KVElementType::Symbol:
        return new KVElementProperty;
    default:
        return nullptr;
    }
}

QString typeName(int nType)
{
    return KVElementType::name(nType);
}

} // namespace KVElementFactory
