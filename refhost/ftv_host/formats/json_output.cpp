#include "formats/json_output.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ftv_cli {

Json float_json(float value) {
    if (!std::isfinite(value)) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        char text[16];
        std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(bits));
        return text;
    }
    // The shortest decimal that reads back as this float; stored as the double
    // nearest to it, which the writer prints as that same short decimal.
    char text[32];
    char* end = text;
    for (int digits = 6; digits <= 9; ++digits) {
        end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, digits).ptr;
        float back = 0;
        std::from_chars(text, end, back);
        if (std::memcmp(&back, &value, sizeof back) == 0) break;
    }
    double shown = 0;
    std::from_chars(text, end, shown);
    // Whole numbers as integers ("2", not "2.0"); -0 keeps its sign as a double.
    if (shown == std::floor(shown) && std::fabs(shown) < 1e15 && !(shown == 0 && std::signbit(shown)))
        return static_cast<std::int64_t>(shown);
    return shown;
}

namespace {

std::string scalar_text(const Json& value) {
    // Names the plug-in made may not be UTF-8; such bytes are shown replaced.
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// Objects one member a line; arrays of plain values (coordinates, matrices,
// streams) on one line, so that a scene file stays readable.
void write_json(const Json& value, int depth, std::string& out) {
    const std::string pad(static_cast<std::size_t>(depth + 1) * 2, ' ');
    const std::string end_pad(static_cast<std::size_t>(depth) * 2, ' ');
    if (value.is_object() && !value.empty()) {
        out += "{\n";
        std::size_t i = 0;
        for (const auto& item : value.items()) {
            out += pad + scalar_text(item.key()) + ": ";
            write_json(item.value(), depth + 1, out);
            out += ++i < value.size() ? ",\n" : "\n";
        }
        out += end_pad + "}";
    } else if (value.is_array() && !value.empty()) {
        bool flat = true;
        for (const Json& element : value) flat = flat && !element.is_structured();
        if (flat) {
            out += "[";
            for (std::size_t i = 0; i < value.size(); ++i) out += (i ? ", " : "") + scalar_text(value[i]);
            out += "]";
            return;
        }
        out += "[\n";
        for (std::size_t i = 0; i < value.size(); ++i) {
            out += pad;
            write_json(value[i], depth + 1, out);
            out += i + 1 < value.size() ? ",\n" : "\n";
        }
        out += end_pad + "]";
    } else {
        out += scalar_text(value);
    }
}

}  // namespace

std::string json_text(const Json& document) {
    std::string out;
    write_json(document, 0, out);
    return out + "\n";
}

}  // namespace ftv_cli
