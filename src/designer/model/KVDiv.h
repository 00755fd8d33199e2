#pragma once

#include "model/KVText.h"

class KVCorner;

// A rectangle, rounded rectangle or ellipse box (type code 5): a text box with corner radii.
class KVDiv : public KVText
{
    Q_OBJECT

public:
    KVDiv();
    ~KVDiv() override;

    int type() const override;
    KVElement *clone() const override;
    // The element defaults (256 x 128), then a solid fill and white text at the current layout.
    void init() override;

    // The corner radii of the layout; null when the layout has no rectangle property.
    KVCorner *corner(const KVLayoutKey &layout = KVLayoutKey::current()) const;
};
