// The fuzz input as a file: the readers of ftv-host take a path, and reading
// the file is part of what they do (size check, error positions in its text).
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace ftv_fuzz {

// A file of this process's own, rewritten with each input.
inline const std::string& input_path() {
    static const std::string path = [] {
        const char* dir = std::getenv("TMPDIR");
        return std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") + "/ftv-fuzz-" + std::to_string(getpid()) +
               ".json";
    }();
    return path;
}

inline void write_input(const unsigned char* data, std::size_t size) {
    std::FILE* file = std::fopen(input_path().c_str(), "wb");
    if (file == nullptr) std::abort();
    if (size != 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    if (std::fclose(file) != 0) std::abort();
}

inline void remove_input() { std::remove(input_path().c_str()); }

// Stops the program with a message: libFuzzer reports the input as a crash.
[[noreturn]] inline void fail(const std::string& what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
    std::abort();
}

// An InputError's message is "<file>: <place>: <what>" with the place a line
// and column or a JSON path: the user is told where the fault is.
inline void check_input_error(const std::string& message) {
    const std::string prefix = input_path() + ": ";
    if (message.compare(0, prefix.size(), prefix) != 0) fail("error does not start with the file: " + message);
    const std::string rest = message.substr(prefix.size());
    const bool at_line = rest.compare(0, 5, "line ") == 0;
    const bool at_path = !rest.empty() && rest[0] == '/';
    if (!at_line && !at_path) fail("error names no place: " + message);
    if (rest.find(": ") == std::string::npos) fail("error names no fault: " + message);
}

}  // namespace ftv_fuzz
