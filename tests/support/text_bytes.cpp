#include "text_bytes.h"

#include <gtest/gtest.h>

#include "judge/code_page_932.h"

namespace testing_support {

std::string text_bytes(const std::string& utf8) {
    const std::optional<std::string> bytes = refhost::cp932_from_utf8(utf8);
    if (!bytes) ADD_FAILURE() << "not representable in code page 932: " << utf8;
    return bytes.value_or("");
}

}  // namespace testing_support
