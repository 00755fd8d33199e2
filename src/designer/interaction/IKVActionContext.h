#pragma once

#include <QString>

// What the action texts and default action data need to know about the surroundings of a handler
// list: the names of the timelines, elements, scenes and functions its actions point at, and the
// first elements of a kind in the current scene. The event-action dialog implements it over its
// document; every answer has a neutral default so that an implementation gives only what it knows.
class IKVActionContext
{
public:
    virtual ~IKVActionContext() = default;

    // Names of objects by id; empty when the id names nothing.
    virtual QString timelineName(int /*nTimelineId*/) const { return QString(); }
    virtual QString elementName(int /*nElementId*/) const { return QString(); }
    virtual QString sceneName(int /*nSceneId*/) const { return QString(); }
    virtual QString functionName(int /*nFunctionId*/) const { return QString(); }

    // The document file's base name, which stands for the document's own symbol in symbol actions.
    virtual QString documentBaseName() const { return QString(); }
    // True while a symbol is open for editing.
    virtual bool isEditingSymbol() const { return false; }

    // Ids of the first symbol instance, audio or video element, and video element of the current
    // scene; -20 (no target) when the scene has none.
    virtual int firstSymbolInstanceId() const { return -20; }
    virtual int firstMediaElementId() const { return -20; }
    virtual int firstVideoElementId() const { return -20; }
};
