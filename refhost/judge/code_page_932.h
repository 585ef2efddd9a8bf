// Texts between UTF-8 and code page 932 (Shift-JIS), the plug-in's code
// page, converted by the system (iconv, or Windows' own tables), not by the
// plug-in: for showing what the plug-in handed over and for knowing what it
// should have.
#pragma once

#include <optional>
#include <string>

namespace refhost {

// Nothing when the text is not valid in the code it is read from or cannot
// be written in the other.
std::optional<std::string> cp932_from_utf8(const std::string& utf8);
std::optional<std::string> utf8_from_cp932(const std::string& cp932);

}  // namespace refhost
