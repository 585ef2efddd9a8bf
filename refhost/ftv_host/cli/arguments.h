// Values given on the command line, read with errors in command-line words:
// the option, which of its values, and what is wrong with the text typed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/model_import.h"

namespace ftv_cli {

// The index-th value (from 0) of an option as a finite float.
float float_argument(const std::string& option, std::size_t index, const std::string& text);
// A tag mode: 1, 2 or 3.
std::int32_t mode_argument(const std::string& option, const std::string& text);
// --tag's PATH[=MODE]: the text after the last "=" is the mode, 1 without one.
ModelTags::Path tag_argument(const std::string& text);

}  // namespace ftv_cli
