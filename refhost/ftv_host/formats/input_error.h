// The one kind of failure ftv-host reports to the user: bad input, named by
// file and place, after which nothing has been written.
#pragma once

#include <stdexcept>
#include <string>

namespace ftv_cli {

class InputError : public std::runtime_error {
public:
    // place: "line 3, column 7" or a JSON path such as "/root/children/0/name".
    InputError(const std::string& file, const std::string& place, const std::string& what)
        : std::runtime_error(file + (place.empty() ? "" : ": " + place) + ": " + what) {}
};

}  // namespace ftv_cli
