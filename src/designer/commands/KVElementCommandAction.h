#pragma once

#include "commands/KVCommandAction.h"
#include "model/KVLayoutKey.h"

class KVElement;

// A change of one property group of an element (types 1000-1045). The first parameter is always
// the element. The action is an exchange: redo() writes the parameter values into the element and
// the values the element had into the same parameters, so undo() is simply redo() again.
//
// Groups that hold per-layout values end with the layout key (h layout id, v layout id) under which
// the value is stored; before it stands the override state of the group at that layout, exchanged
// with the values, so that a change made while a breakpoint is current becomes an override there
// and undoing it brings the inherit flags back as they were.
//
// Geometry (1000): element, h layout id, v layout id, override states (a variant map from property
// code to -1 inherited without a flag, 0 overridden, 1 inherited; a null variant overrides every
// listed code at a responsive layout), the list of codes, then one value per code. Codes are those
// of the property catalogue (left, top, width, height, transform, opacity, display), plus 40 for
// the coordinate type and 100..103 for the units of x, y, width and height (ints; all others are
// doubles). Right and bottom set the horizontal and vertical position the coordinate type anchors.
//
// Media (audio and video): 1021 the volume (double, 0..1), 1022 autoplay, 1023 loop, 1024 controls,
// 1025 preload (flags). HTML widget: 1033 the widget's own HTML source (string).
class KVElementCommandAction : public KVCommandAction
{
public:
    enum Type {
        Geometry = 1000,
        Border = 1001,
        NameAndLock = 1007,
        ClassName = 1010,
        Display = 1011,
        AutoAdvance = 1013,
        Title = 1014,
        TabIndex = 1015,
        Cursor = 1016,
        MediaVolume = 1021,
        MediaAutoplay = 1022,
        MediaLoop = 1023,
        MediaControls = 1024,
        MediaPreload = 1025,
        TransitionType = 1027,
        TransitionDuration = 1028,
        TransitionEasing = 1029,
        TransitionDirection = 1030,
        WidgetSource = 1033,
        LockAspectRatio = 1035,
        FirstElementType = 1000,
        LastElementType = 1045
    };

    // Pseudo codes of the geometry list for values that have no property code of their own.
    enum GeometryCode {
        CoordinateTypeCode = 40,
        UnitXCode = 100,
        UnitYCode = 101,
        UnitWCode = 102,
        UnitHCode = 103
    };

    KVElementCommandAction(int nType, IKVCommandTarget *pDocument, int nReservedParams = 0,
                           bool bSkipNextRedo = false);

    void undo() override;
    void redo() override;

    KVElement *element() const;
    // Whether a geometry code names a value the geometry action can change; ints or doubles.
    static bool isGeometryCode(int nCode);
    static bool isIntGeometryCode(int nCode);
    // The element's value of a geometry code at a layout.
    static QVariant geometryValue(const KVElement *pElement, int nCode, const KVLayoutKey &layout);
    static void setGeometryValue(KVElement *pElement, int nCode, const QVariant &value,
                                 const KVLayoutKey &layout);

protected:
    bool apply(bool bForward) override;

private:
    bool applyGeometry();
    bool applyBorder();
    bool applyNameAndLock();
    bool applyLayoutValue();
    bool applySceneValue();
    bool applyFlag();
    bool applyMedia();
    bool applyWidgetSource();
};
