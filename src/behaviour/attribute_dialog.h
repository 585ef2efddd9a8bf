// Tagging one part by hand: a dialog with one check box, ticked when the part
// carries a non-zero tag; confirming stores 1 or 0 as its tag.
#pragma once

namespace ftv {

class HostShape;

// The shape is lent for the call. Cancelling stores nothing; a shape without
// a stream gets one only when the dialog is confirmed. Answers false always,
// as the host expects of this command.
bool run_attribute_dialog(HostShape& shape);

}  // namespace ftv
