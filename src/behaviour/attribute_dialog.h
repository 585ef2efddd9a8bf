// Tagging one part by hand: a dialog with three check boxes, the first ticked
// when the part carries a non-zero tag, the second when that tag makes it
// upright, the third when it makes it face the eye exactly. Confirming stores
// 0 when the first is not ticked; otherwise the upright tag when the second
// is, else the exact tag when the third is, else the plain tag.
#pragma once

namespace ftv {

class HostShape;

// The shape is lent for the call. Cancelling stores nothing; a shape without
// a stream gets one only when the dialog is confirmed. Answers false always,
// as the host expects of this command.
bool run_attribute_dialog(HostShape& shape);

}  // namespace ftv
