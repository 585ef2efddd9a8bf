#include "formats/json_output.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

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

bool is_open_container(const Json& value) {
    if (value.empty()) return false;
    if (value.is_object()) return true;
    if (!value.is_array()) return false;
    for (const Json& element : value)
        if (element.is_structured()) return true;
    return false;
}

// A value that is not an open container: a scalar, an empty container or an
// array of plain values (coordinates, matrices, streams), on one line.
void write_closed(const Json& value, std::string& out) {
    if (!value.is_array() || value.empty()) {
        out += value.is_object() ? "{}" : scalar_text(value);
        return;
    }
    out += "[";
    for (std::size_t i = 0; i < value.size(); ++i) out += (i ? ", " : "") + scalar_text(value[i]);
    out += "]";
}

// Objects one member a line and arrays holding containers one element a line,
// indented by depth, so that a scene file stays readable. Open containers are
// kept in a list, not on the stack: a scene may be as deep as the group
// creator made it.
void write_json(const Json& document, std::string& out) {
    struct Open {
        const Json* value;
        Json::const_iterator next;
    };
    std::vector<Open> open;
    const auto begin = [&open, &out](const Json& value) {
        if (!is_open_container(value)) return write_closed(value, out);
        out += value.is_object() ? "{\n" : "[\n";
        open.push_back({&value, value.begin()});
    };
    begin(document);
    while (!open.empty()) {
        Open& top = open.back();
        const std::string pad(open.size() * 2, ' ');
        if (top.next == top.value->end()) {
            out += "\n" + pad.substr(2) + (top.value->is_object() ? "}" : "]");
            open.pop_back();
            continue;
        }
        if (top.next != top.value->begin()) out += ",\n";
        out += pad;
        if (top.value->is_object()) out += scalar_text(top.next.key()) + ": ";
        const Json& element = *top.next++;
        begin(element);  // may add to open: top is not used after this
    }
}

}  // namespace

std::string json_text(const Json& document) {
    std::string out;
    write_json(document, out);
    return out + "\n";
}

}  // namespace ftv_cli
