#pragma once

#include <QString>

class KVElement;
class KVElementProperty;

// Factories of the stage model, keyed by element type code.
namespace KVElementFactory {

// A new, initialised element of the type: 0 image, 1 audio, 2 video, 3 HTML widget, 4 text,
// 5 rectangle, 6 group, 7 symbol instance, 9 auto shape, 11 free-form shape. Null for 8 (scenes come
// from the scene list), 10 and codes outside 0..11.
KVElement *createElement(int nType);

// A new, default-constructed property object for an element of the type; null for 10 and codes
// outside 0..11. Kinds without a property class of their own get the common one.
KVElementProperty *createProperty(int nType);

// "Image", "Audio", ... "Freeform"; empty for a code that names nothing.
QString typeName(int nType);

} // namespace KVElementFactory
