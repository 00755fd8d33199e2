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
#include "model/KVSceneProperty.h"
#include "model/KVText.h"
#include "model/KVTextProperty.h"

namespace KVElementFactory {

KVElement *createElement(int nType)
{
    KVElement *pElement = nullptr;
    switch (nType) {
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
        // Images, media, widgets and symbol instances are made by their own kinds; scenes by the
        // scene list; components never.
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
