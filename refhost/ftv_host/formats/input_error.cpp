#include "formats/input_error.h"

#include <cstdio>

namespace ftv_cli {

namespace {

// The length of the valid UTF-8 sequence at text[at], or 0: no overlong
// forms, no surrogates, nothing past U+10FFFF.
std::size_t utf8_length(std::string_view text, std::size_t at) {
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the byte after the lead
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3, low = lead == 0xE0 ? 0xA0 : 0x80, high = lead == 0xED ? 0x9F : 0xBF;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4, low = lead == 0xF0 ? 0x90 : 0x80, high = lead == 0xF4 ? 0x8F : 0xBF;
    if (length == 0 || at + length > text.size()) return 0;
    if (byte(at + 1) < low || byte(at + 1) > high) return 0;
    if (lead == 0xC2 && byte(at + 1) < 0xA0) return 0;  // C1 controls (U+0080 to U+009F), which some terminals obey
    for (std::size_t i = 2; i < length; ++i)
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
    return length;
}

}  // namespace

std::string printable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
            ++i;
        } else if (const std::size_t length = c >= 0x80 ? utf8_length(text, i) : 0; length > 0) {
            out.append(text.substr(i, length));
            i += length;
        } else {
            char escape[8];
            if (c == '\n') std::snprintf(escape, sizeof escape, "\\n");
            else if (c == '\t') std::snprintf(escape, sizeof escape, "\\t");
            else if (c == '\r') std::snprintf(escape, sizeof escape, "\\r");
            else std::snprintf(escape, sizeof escape, "\\x%02x", c);
            out += escape;
            ++i;
        }
    }
    return out;
}

std::string error_line(std::string_view text) { return "ftv-host: " + printable(text) + "\n"; }

}  // namespace ftv_cli
