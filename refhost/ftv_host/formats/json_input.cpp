#include "formats/json_input.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "formats/named_file.h"

namespace ftv_cli {

namespace {

// Scene and event files are small; anything larger is a mistake, not a scene.
constexpr std::uintmax_t kMaxFileBytes = 64u << 20;

}  // namespace

std::string line_and_column(const std::string& text, std::size_t byte) {
    std::size_t line = 1, column = 1;
    const std::size_t end = std::min(byte == 0 ? 0 : byte - 1, text.size());
    for (std::size_t i = 0; i < end; ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

namespace {

// The whole file, read as a stream so that a pipe or /dev/stdin works too
// where pipes are read.
std::string file_text(const std::string& path, Pipes pipes) {
    const int fd = open_named_file(path, pipes);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(fdopen(fd, "rb"), std::fclose);
    if (!file) {
        close(fd);
        throw InputError(path, "", std::string("cannot open: ") + std::strerror(errno));
    }
    struct stat status {};
    const auto limit = std::to_string(kMaxFileBytes);
    if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
        static_cast<std::uintmax_t>(status.st_size) > kMaxFileBytes) {
        throw InputError(path, "", "file of " + std::to_string(status.st_size) + " bytes is larger than the limit of " +
                                       limit);
    }
    std::string text;
    char buffer[1 << 16];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        text.append(buffer, n);
        if (text.size() > kMaxFileBytes) throw InputError(path, "", "more than the limit of " + limit + " bytes");
    }
    if (std::ferror(file.get())) throw InputError(path, "", std::string("cannot read: ") + std::strerror(errno));
    return text;
}

// The library's words for what stopped it, without its prefix, which
// repeats the place, and without the raw bytes it quotes as "last read".
std::string library_words(const std::string& message) {
    const std::string words = message.substr(message.find(": ") + 2);
    const auto quoted = words.find("; last read: '");
    const auto after = words.rfind("'; expected ");
    if (quoted == std::string::npos) return words;
    return words.substr(0, quoted) + (after != std::string::npos && after > quoted ? words.substr(after + 1) : "");
}

// What the library does not say of the byte it stopped at: why a JSON
// reader stops there.
std::string hint(const std::string& text, std::size_t byte) {
    const auto letter = [&text](std::size_t i) { return std::isalpha(static_cast<unsigned char>(text[i])) != 0; };
    if (byte == 0 || byte > text.size()) return "";
    if (text[byte - 1] == '\'') return " (JSON writes texts in double quotes)";
    if (text[byte - 1] == '/') return " (JSON has no comments)";
    std::size_t start = byte - 1;
    while (start > 0 && letter(start - 1)) --start;
    std::string word;
    for (std::size_t i = start; i < text.size() && letter(i); ++i) word += char(std::tolower(text[i]));
    return word == "nan" || word == "inf" || word == "infinity" ? " (JSON has no NaN or infinity)" : "";
}

// The document as the library builds it, keeping where and why it stopped.
struct Reader : nlohmann::detail::json_sax_dom_parser<Json> {
    explicit Reader(Json& document) : json_sax_dom_parser(document, false) {}
    // position: the byte the library read last, counted from 1; token: what
    // it read of the token there.
    bool parse_error(std::size_t position, const std::string& token, const nlohmann::detail::exception& error) {
        // A number beyond the double range is placed where it starts.
        byte = error.id == 406 ? position + 1 - token.size() : position;
        words = error.id == 406 ? "number out of the float range" : library_words(error.what());
        return false;
    }
    std::size_t byte = 0;
    std::string words;
};

}  // namespace

Json parse_json(const std::string& file, const std::string& text) {
    Json document;
    Reader reader(document);
    if (!Json::sax_parse(text, &reader)) {
        throw InputError(file, line_and_column(text, reader.byte), reader.words + hint(text, reader.byte));
    }
    return document;
}

Json read_json_file(const std::string& path, Pipes pipes) { return parse_json(path, file_text(path, pipes)); }

namespace {

// A path too long to read (a deep tree) keeps its first three and last two steps.
std::string readable_path(const std::string& path) {
    if (path.empty()) return "/";
    std::vector<std::size_t> slashes;
    for (std::size_t i = 0; i < path.size(); ++i)
        if (path[i] == '/') slashes.push_back(i);
    if (path.size() <= 100 || slashes.size() <= 6) return path;
    return path.substr(0, slashes[3]) + "/..." + path.substr(slashes[slashes.size() - 2]);
}

}  // namespace

void JsonAt::fail(const std::string& what) const { throw InputError(*file_, readable_path(path_), what); }

JsonAt JsonAt::member(const char* key) const {
    const Json& o = object();
    const auto found = o.find(key);
    if (found == o.end()) fail(std::string("missing key \"") + key + "\"");
    return JsonAt(*file_, *found, path_ + "/" + key);
}

bool JsonAt::has(const char* key) const { return object().contains(key); }

void JsonAt::allow_only(std::initializer_list<const char*> keys) const {
    for (const auto& item : object().items()) {
        bool known = false;
        for (const char* key : keys) known = known || item.key() == key;
        if (!known) JsonAt(*file_, item.value(), path_ + "/" + item.key()).fail("unknown key");
    }
}

std::size_t JsonAt::size() const { return array().size(); }

JsonAt JsonAt::at(std::size_t index) const {
    return JsonAt(*file_, array()[index], path_ + "/" + std::to_string(index));
}

const Json& JsonAt::object() const {
    if (!value_->is_object()) fail(std::string("expected an object, found ") + value_->type_name());
    return *value_;
}

const Json& JsonAt::array() const {
    if (!value_->is_array()) fail(std::string("expected an array, found ") + value_->type_name());
    return *value_;
}

std::string JsonAt::string() const {
    if (!value_->is_string()) fail(std::string("expected a string, found ") + value_->type_name());
    return value_->get<std::string>();
}

bool JsonAt::boolean() const {
    if (!value_->is_boolean()) fail(std::string("expected true or false, found ") + value_->type_name());
    return value_->get<bool>();
}

std::int64_t JsonAt::integer(std::int64_t low, std::int64_t high) const {
    std::int64_t v = 0;
    if (value_->is_number_unsigned()) {
        const auto u = value_->get<std::uint64_t>();
        if (u > static_cast<std::uint64_t>(high)) {
            fail("integer " + std::to_string(u) + " out of range " + std::to_string(low) + " to " +
                 std::to_string(high));
        }
        v = static_cast<std::int64_t>(u);
    } else if (value_->is_number_integer()) {
        v = value_->get<std::int64_t>();
    } else {
        fail(std::string("expected an integer, found ") + value_->type_name());
    }
    if (v < low || v > high) {
        fail("integer " + std::to_string(v) + " out of range " + std::to_string(low) + " to " + std::to_string(high));
    }
    return v;
}

float JsonAt::finite_float() const {
    if (!value_->is_number()) fail(std::string("expected a number, found ") + value_->type_name());
    const double d = value_->get<double>();
    const auto f = static_cast<float>(d);
    if (!std::isfinite(d) || !std::isfinite(f)) fail("number out of the float range");
    return f;
}

float JsonAt::float_or_bits() const {
    if (!value_->is_string()) return finite_float();
    const std::string text = value_->get<std::string>();
    char* end = nullptr;
    const unsigned long bits = text.size() == 10 && text.rfind("0x", 0) == 0 ? std::strtoul(text.c_str(), &end, 16) : 0;
    if (end == nullptr || *end != '\0') fail("expected a number or a bit pattern such as \"0x7FC00000\"");
    float f = 0;
    const auto b = static_cast<std::uint32_t>(bits);
    std::memcpy(&f, &b, sizeof f);
    return f;
}

ftv::Vec3 JsonAt::vec3(float (JsonAt::*element)() const) const {
    if (size() != 3) fail("expected 3 numbers, found " + std::to_string(size()));
    return {(at(0).*element)(), (at(1).*element)(), (at(2).*element)()};
}

ftv::Vec3 JsonAt::vec3() const { return vec3(&JsonAt::finite_float); }

ftv::Vec3 JsonAt::vec3_or_bits() const { return vec3(&JsonAt::float_or_bits); }

ftv::Mat4 JsonAt::mat4() const {
    if (size() != 16) fail("expected 16 numbers (row by row), found " + std::to_string(size()));
    ftv::Mat4 m{};
    for (std::size_t i = 0; i < 16; ++i) m.m[i / 4][i % 4] = at(i).float_or_bits();
    return m;
}

}  // namespace ftv_cli
