#pragma once

#include <QTreeWidget>

class KVElement;

// The tree of the elements panel: one row per element under the row of its scene, front-most
// first, with the columns "Name" (edited in place), "Show" and "Lock". A drop of dragged rows is
// not carried out here: it is handed on as a request (elementsDropped) for the panel to turn into
// one command.
class KVElementTreeWidget : public QTreeWidget
{
    Q_OBJECT
public:
    enum Column { NameColumn = 0, ShowColumn = 1, LockColumn = 2 };
    enum Role { ElementRole = Qt::UserRole + 1 };

    explicit KVElementTreeWidget(QWidget *pParent = nullptr);

    static KVElement *elementOf(const QTreeWidgetItem *pItem);
    QTreeWidgetItem *itemOf(const KVElement *pElement) const;
    // The selected elements in the order of the rows.
    QList<KVElement *> selectedElements() const;

signals:
    // The dragged elements go into pParent at nIndex of its children (counted as the model keeps
    // them, back to front).
    void elementsDropped(const QList<KVElement *> &elements, KVElement *pParent, int nIndex);

protected:
    void dropEvent(QDropEvent *pEvent) override;
};
