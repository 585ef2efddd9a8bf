// Text placed in SVG or HTML, inside elements or double-quoted attributes.
#pragma once

#include <string>

namespace ftv_cli {

inline std::string escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '&') out += "&amp;";
        else if (c == '"') out += "&quot;";
        else out += c;
    }
    return out;
}

}  // namespace ftv_cli
