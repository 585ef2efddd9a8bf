// Names for parameterised cases: a case described in words is named by them,
// so that a failure, or a leak found at the end of the case, names it.
#pragma once

#include <cctype>
#include <string>

namespace testing_support {

// The words with every character but letters and digits made '_'.
inline std::string case_name(const std::string& what) {
    std::string name;
    for (char ch : what) name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    return name;
}

}  // namespace testing_support
