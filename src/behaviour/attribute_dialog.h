// Tagging one part by hand: a dialog with two check boxes, the first ticked
// when the part carries a non-zero tag, the second when that tag makes it
// upright. Confirming stores the upright tag when both are ticked, the plain
// tag when the first alone is, and 0 when the first is not.
#pragma once

namespace ftv {

class HostShape;

// The shape is lent for the call. Cancelling stores nothing; a shape without
// a stream gets one only when the dialog is confirmed. Answers false always,
// as the host expects of this command.
bool run_attribute_dialog(HostShape& shape);

}  // namespace ftv
