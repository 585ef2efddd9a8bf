// The code page 932 bytes of a UTF-8 text, converted independently of the
// plug-in: with iconv on Linux, with the system's code page tables on Windows.
#pragma once

#include <string>

namespace testing_support {

// Fails the calling test (and returns an empty string) when the text cannot
// be converted.
std::string text_bytes(const std::string& utf8);

}  // namespace testing_support
