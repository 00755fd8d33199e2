#pragma once

#include "model/KVTextProperty.h"

#include <QList>

// An auto shape's values at one layout: the text settings plus the shape type from the shape
// catalogue and its adjustment values (how far a callout's tail reaches, how thick an arrow's shaft
// is, ...), in the order the shape defines them. Display name and category are set on catalogue
// templates only and are not saved.
class KVAutoShapeProperty : public KVTextProperty
{
    Q_OBJECT

public:
    explicit KVAutoShapeProperty(QObject *pParent = nullptr);
    KVAutoShapeProperty(const KVAutoShapeProperty &other);
    ~KVAutoShapeProperty() override;

    KVElementProperty *clone() const override;
    // Adds "adjustments", "autoshapeType" and "adjustmentCount".
    void toJson(QJsonObject &jo) const override;
    // Adds "s" after the text keys.
    void toPlayerJson(QJsonArray &resetKeys, QJsonObject &jo, bool bForCanvas,
                      bool bResponsive) const override;
    void fromJson(const QJsonObject &jo, const IKVDocumentContext *pContext) override;

    QList<double> adjustments() const { return m_listAdjustments; }
    void setAdjustments(const QList<double> &list) { m_listAdjustments = list; }
    int shapeType() const { return m_nShapeType; }
    void setShapeType(int n) { m_nShapeType = n; }
    QString displayName() const { return m_strDisplayName; }
    void setDisplayName(const QString &str) { m_strDisplayName = str; }
    int category() const { return m_nCategory; }
    void setCategory(int n) { m_nCategory = n; }

protected:
    // The "s" key: [shape type], followed by the adjustments as one nested array when there are
    // any. Free-form shapes write their own.
    virtual void shapeToPlayerJson(QJsonArray &resetKeys, QJsonObject &jo, bool bResponsive) const;

private:
    QList<double> m_listAdjustments;
    int m_nShapeType = 0;
    QString m_strDisplayName;
    int m_nCategory = 0;
};
