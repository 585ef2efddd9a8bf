#include "cli/arguments.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include "formats/input_error.h"

namespace ftv_cli {

namespace {

// The text as typed, in quotes, with bytes that would not show as "?".
std::string shown(const std::string& text) {
    std::string out = "\"";
    for (char c : text) out += std::isprint(static_cast<unsigned char>(c)) ? c : '?';
    return out + "\"";
}

}  // namespace

float float_argument(const std::string& option, std::size_t index, const std::string& text) {
    const std::string place = "value " + std::to_string(index + 1);
    const char* begin = text.c_str() + (text.size() > 1 && text[0] == '+' ? 1 : 0);
    const char* end = text.c_str() + text.size();
    double value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value, std::chars_format::general);
    if (error == std::errc::invalid_argument || stop != end || text.empty())
        throw InputError(option, place, shown(text) + " is not a number");
    if (!std::isfinite(value)) throw InputError(option, place, shown(text) + " is not a finite number");
    if (error == std::errc::result_out_of_range || std::fabs(value) > 3.4028234663852886e38)
        throw InputError(option, place, shown(text) + " is beyond the range of a float");
    return static_cast<float>(value);
}

std::int32_t mode_argument(const std::string& option, const std::string& text) {
    if (text == "1" || text == "2" || text == "3") return text[0] - '0';
    throw InputError(option, "", "the mode " + shown(text) +
                                     " is none of 1 (turn toward the eye), 2 (upright) and 3 (face exactly)");
}

ModelTags::Path tag_argument(const std::string& text) {
    const auto equals = text.rfind('=');
    if (equals == std::string::npos) return {text, 1};
    return {text.substr(0, equals), mode_argument("--tag", text.substr(equals + 1))};
}

}  // namespace ftv_cli
