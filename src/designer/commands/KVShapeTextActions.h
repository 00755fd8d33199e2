#pragma once

class KVElementCommandAction;

// Element actions on text and shapes: the text content and format of a text box, rectangle or
// shape (1008), a shape's adjustment values (1009), and the outline and line ends of a free-form
// shape (1037 edited point by point, 1038 replaced, 1039 arrows).
//
// 1008: element, HTML [5], font family [5], font size [1], text colour ARGB [1], highlight ARGB
// [1], bold, italic, underline, strikeout [4], horizontal and vertical alignment [1], line height
// [2], indent, word space, letter space [1], inherited [4], h layout id, v layout id [1]: 19.
// 1009: element, adjustments [8] (numbers), inherited [4], h, v [1]: 5.
// 1037: element, outline [7] (the path's project form, {"points": [...]}), inherited [4], h, v: 5.
// 1038: element, outline [7]; the outline of the layout being shown: 2.
// 1039: element, start type, start size, end type, end size [1], at the layout being shown: 5.
//
// Each is an exchange: the values before are written back into the same parameters; at a
// responsive layout the inherit flags of the group take the given state and the state before is
// written back.
namespace KVShapeTextActions {

bool handles(int nType);
// Applies the action; false (nothing changed) when the element or the parameters do not fit.
bool apply(KVElementCommandAction &action);

} // namespace KVShapeTextActions
