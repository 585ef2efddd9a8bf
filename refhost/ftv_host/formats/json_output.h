// Writing JSON for people to read: floats that read back to the same bits,
// and a layout that keeps coordinates and matrices on one line.
#pragma once

#include <string>

#include "formats/json_input.h"

namespace ftv_cli {

// A float as the shortest decimal that reads back as the same float; a
// non-finite one as its bit pattern, "0x7FC00000" (JsonAt::float_or_bits).
Json float_json(float value);
// Indented text, ending in a newline: objects one member a line, arrays of
// plain values on one line.
std::string json_text(const Json& document);

}  // namespace ftv_cli
