// The one kind of failure ftv-host reports to the user: bad input, named by
// file and place, after which nothing has been written.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace ftv_cli {

class InputError : public std::runtime_error {
public:
    // place: "line 3, column 7" or a JSON path such as "/root/children/0/name".
    InputError(const std::string& file, const std::string& place, const std::string& what)
        : std::runtime_error(file + (place.empty() ? "" : ": " + place) + ": " + what) {}
    // A message formed elsewhere (by the importer's own process), as it stands.
    explicit InputError(const std::string& formed) : std::runtime_error(formed) {}
};

// Text as it may reach a terminal: control characters and bytes that are not
// UTF-8 written as escapes ("\n", "\t", "\x1b"), so that a file's name or a
// name from inside a file neither splits a line nor drives the terminal.
// Printable text comes out as it went in, so escaping twice changes nothing.
std::string printable(std::string_view text);

// "ftv-host: <text>\n", printable: every line ftv-host prints about a fault.
std::string error_line(std::string_view text);

}  // namespace ftv_cli
