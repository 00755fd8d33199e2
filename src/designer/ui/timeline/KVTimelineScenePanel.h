#pragma once

#include "KVTimelineRows.h"

#include <QTreeWidget>
#include <QVariant>

class KVElement;
class KVKeyframe;

// The left side of the timeline: the scene row, one row per element in display order with its
// lane colour, and below an element one sub-row per animated property showing the value it has at
// the current time, with its unit. A double click edits a value in place: numbers in the row,
// colours with a colour picker, display switches between "On" and "Off". Clicking an element row
// selects the element; collapsing it hides its property rows in the view too.
class KVTimelineScenePanel : public QTreeWidget
{
    Q_OBJECT
public:
    enum Column { NameColumn = 0, ValueColumn = 1 };

    explicit KVTimelineScenePanel(QWidget *pParent = nullptr);

    void build(const QList<KVTimelineRow> &rows, int nTime);
    // Shows every property row's value at the time.
    void refreshValues(int nTime);
    // The item of a row (in the order of the rows it was built from).
    QTreeWidgetItem *rowItem(int nRow) const { return m_items.value(nRow); }
    // The text a property row shows for a value of the track ("120 px", "45 deg", "50 %", "On").
    static QString valueText(const KVKeyframe *pTrack, const QVariant &value);
    // The stored value for a number typed into the row ("%" rows are typed in percent).
    static QVariant storedValue(const KVKeyframe *pTrack, double dTyped);

signals:
    void elementClicked(KVElement *pElement);
    void elementExpanded(KVElement *pElement, bool bExpanded);
    void propertyEdited(KVElement *pElement, int nCode, const QVariant &value);

public slots:
    // Reads the number typed into the edited row.
    void onPropEditFinished(QTreeWidgetItem *pItem, int nColumn);

private:
    void onDoubleClicked(QTreeWidgetItem *pItem, int nColumn);
    QString shownValue(const KVKeyframe *pTrack, int nTime) const;

    QList<QTreeWidgetItem *> m_items;
    QList<QPair<QTreeWidgetItem *, KVKeyframe *>> m_propertyItems;
    bool m_bBuilding = false;
};
