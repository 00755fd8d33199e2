#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

// One field of an inspector page: which value it edits, with which widget and command text. Rows
// whose property code names a catalogue property take their label, range and unit from the
// catalogue; the rest name their own.
struct KVFieldSpec
{
    Q_DECLARE_TR_FUNCTIONS(KVFieldSpec)
public:
    enum Widget { Number, Slider, Color, Choice, Check, Font, Stops, Code };
    // What the field writes: a value of a property group (KVPropertyGroup), a geometry value, or a
    // scene or element setting of its own action type.
    enum Target { Group, Geometry, ElementValue };

    Widget eWidget = Number;
    Target eTarget = Group;
    int nCode = -1;      // the catalogue property code, -1 for none
    int nGroup = 0;      // group type for Group, the action type for ElementValue
    int nField = 0;      // field index in the group, the geometry code for Geometry
    double dScale = 1;   // shown value = stored value x scale
    double dMin = 0;
    double dMax = 100;
    QString strLabel;
    QString strText;     // the command text
    QString strSuffix;
    QStringList choices; // for Choice: the texts of the codes 0, 1, ...
    QList<int> choiceValues; // the codes of the choices when they are not 0, 1, ...

    // The fields of a page, in order.
    static QList<KVFieldSpec> forPage(int nPageId);
    // Whether the field means anything for a group holding these values (the gradient's fields
    // for a gradient fill, the rectangle's insets for a rectangle clip, ...).
    bool appliesTo(const QVariantList &groupValues) const;
    // The action types whose updates concern a page.
    static QList<int> updateTypes(int nPageId);
};
