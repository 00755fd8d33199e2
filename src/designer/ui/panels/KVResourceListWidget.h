#pragma once

#include <QListWidget>

class KVResource;

// The list of the resources panel. Items carry their resource; dragging items hands the stage
// their ids in the "kavio-resource" format, which the stage turns into elements where they drop.
class KVResourceListWidget : public QListWidget
{
    Q_OBJECT
public:
    enum Role { ResourceRole = Qt::UserRole + 1 };

    explicit KVResourceListWidget(QWidget *pParent = nullptr);

    static KVResource *resourceOf(const QListWidgetItem *pItem);
    QListWidgetItem *itemOf(const KVResource *pResource) const;
    QList<KVResource *> selectedResources() const;

protected:
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QList<QListWidgetItem *> items) const override;
};
