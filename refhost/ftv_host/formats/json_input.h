// Reading a JSON document from a file with errors that name the place: the
// line and column of a syntax error, the JSON path of a wrong value.
#pragma once

#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "geometry/primitives.h"
#include "formats/input_error.h"
#include "formats/named_file.h"

namespace ftv_cli {

using Json = nlohmann::ordered_json;

// The parsed file; syntax errors, unreadable and oversized files, folders,
// devices, sockets raise InputError, and pipes too unless they are read
// (named_file.h).
Json read_json_file(const std::string& path, Pipes pipes = Pipes::refused);
// Text parsed as JSON; a syntax error raises InputError naming file and place.
Json parse_json(const std::string& file, const std::string& text);
// The 1-based line and column of the byte at a 1-based position in text.
std::string line_and_column(const std::string& text, std::size_t byte);

// A value being read, with its path for error messages.
class JsonAt {
public:
    JsonAt(const std::string& file, const Json& value, std::string path = "")
        : file_(&file), value_(&value), path_(std::move(path)) {}

    const Json& json() const { return *value_; }
    const std::string& path() const { return path_; }
    [[noreturn]] void fail(const std::string& what) const;

    // Members; unknown keys are rejected so that a misspelt key is not ignored.
    JsonAt member(const char* key) const;
    bool has(const char* key) const;
    void allow_only(std::initializer_list<const char*> keys) const;
    // Array elements.
    std::size_t size() const;
    JsonAt at(std::size_t index) const;

    const Json& object() const;
    const Json& array() const;
    std::string string() const;
    bool boolean() const;
    std::int64_t integer(std::int64_t low, std::int64_t high) const;
    // A finite number that fits a float.
    float finite_float() const;
    // A float, or a non-finite one as its bit pattern written "0x7FC00000".
    float float_or_bits() const;
    ftv::Vec3 vec3() const;
    // 3 values, each a float or a bit pattern: what a scene file holds, since
    // the plug-in and the host may have produced any float there.
    ftv::Vec3 vec3_or_bits() const;
    ftv::Mat4 mat4() const;  // 16 values, row by row; non-finite values as bit patterns

private:
    ftv::Vec3 vec3(float (JsonAt::*element)() const) const;

    const std::string* file_;
    const Json* value_;
    std::string path_;
};

}  // namespace ftv_cli
