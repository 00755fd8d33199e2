#pragma once

#include "model/KVTextProperty.h"

class KVCorner;

// A rectangle's values at one layout: the text settings plus the corner radii.
class KVDivProperty : public KVTextProperty
{
    Q_OBJECT

public:
    explicit KVDivProperty(QObject *pParent = nullptr);
    KVDivProperty(const KVDivProperty &other);
    ~KVDivProperty() override;

    KVElementProperty *clone() const override;
    // Adds "corner".
    void toJson(QJsonObject &jo) const override;
    // Adds "lr" (corner radii), left out while all radii are 0.
    void toPlayerJson(QJsonArray &resetKeys, QJsonObject &jo, bool bForCanvas,
                      bool bResponsive) const override;
    void fromJson(const QJsonObject &jo, const IKVDocumentContext *pContext) override;

    // Owned, never null.
    KVCorner *corner() const { return m_pCorner; }

private:
    KVCorner *m_pCorner = nullptr;
};
