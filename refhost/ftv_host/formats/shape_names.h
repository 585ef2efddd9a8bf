// Names for the shapes of one part, each of which a path can name: a name an
// earlier shape there already has gets "~2", "~3", ... (the first that is
// free), an empty one the given fallback, and a "/" (which paths put between
// names) reads "_".
#pragma once

#include <set>
#include <string>

namespace ftv_cli {

class ShapeNames {
public:
    // The name the next shape goes by, from the name it was given.
    std::string take(const std::string& given, const std::string& fallback);

private:
    std::set<std::string> taken_;
};

}  // namespace ftv_cli
