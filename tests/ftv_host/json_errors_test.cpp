// Malformed JSON is told at its place, in the JSON library's words with no
// byte of the input quoted, and with a hint where those words do not say
// what a JSON reader stops at.
#include <gtest/gtest.h>

#include "case_names.h"
#include "formats/json_input.h"

namespace {

struct Malformed {
    const char* what;
    std::string text;
    int line, column;   // where the fault lies
    const char* named;  // a word the message must say, where the library's words lack it
};

const Malformed kMalformed[] = {
    {"NaN", "[1,\n NaN]", 2, 2, "NaN"},
    {"minus infinity", "[-Infinity]", 1, 3, "infinity"},
    {"single quotes", "{\"a\":\n  'b'}", 2, 3, "double quotes"},
    {"a comment", "[1] // no", 1, 5, "comments"},
    {"a number beyond the double range", "{\"a\": [1, -2e400]}", 1, 11, "float range"},
    {"a tab in a string", "[\"a\tb\"]", 1, 4, nullptr},
    {"a byte that is not UTF-8", "[\"\xE6\x9C\x89\xFF\"]", 1, 6, nullptr},
    {"a string not closed", "[\"abc", 1, 6, nullptr},
};

void PrintTo(const Malformed& c, std::ostream* out) { *out << c.what; }

class MalformedJson : public ::testing::TestWithParam<Malformed> {};

TEST_P(MalformedJson, IsToldAtItsPlaceInWords) {
    const Malformed& c = GetParam();
    std::string message;
    try {
        ftv_cli::parse_json("f", c.text);
    } catch (const ftv_cli::InputError& error) {
        message = error.what();
    }
    const std::string place = "f: line " + std::to_string(c.line) + ", column " + std::to_string(c.column) + ": ";
    ASSERT_EQ(message.substr(0, place.size()), place) << message;
    EXPECT_GT(message.size(), place.size() + 10) << "says what is wrong";
    if (c.named != nullptr) {
        EXPECT_NE(message.find(c.named), std::string::npos) << message;
    }
    for (char ch : message) EXPECT_TRUE(ch >= 0x20 && ch < 0x7F) << "a byte of the input quoted: " << message;
    EXPECT_EQ(message.find("last read"), std::string::npos) << message;
}

INSTANTIATE_TEST_SUITE_P(Table, MalformedJson, ::testing::ValuesIn(kMalformed),
                         [](const auto& info) { return testing_support::case_name(info.param.what); });

TEST(WellFormedJson, IsRead) {
    const ftv_cli::Json document =
        ftv_cli::parse_json("f", "\xEF\xBB\xBF{\"\xE6\x9C\x89\": [-0.5e-3, 1E+2, \"\\uD83D\\uDE00\\n\", true, null]}");
    EXPECT_EQ(document["\xE6\x9C\x89"].size(), 5u);
}

}  // namespace
