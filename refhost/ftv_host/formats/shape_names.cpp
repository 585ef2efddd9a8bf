#include "formats/shape_names.h"

#include <algorithm>

namespace ftv_cli {

std::string ShapeNames::take(const std::string& given, const std::string& fallback) {
    std::string name = given.empty() ? fallback : given;
    std::replace(name.begin(), name.end(), '/', '_');
    std::string free = name;
    for (int n = 2; taken_.count(free) != 0; ++n) free = name + "~" + std::to_string(n);
    taken_.insert(free);
    return free;
}

}  // namespace ftv_cli
