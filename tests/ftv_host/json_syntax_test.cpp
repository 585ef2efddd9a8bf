// Faults inside JSON tokens are told in words at the token's place; faults in
// how tokens are arranged keep their place; well-formed tokens raise nothing.
#include <gtest/gtest.h>

#include "case_names.h"
#include "json_input.h"
#include "json_syntax.h"

namespace {

struct Syntax {
    const char* what;
    std::string text;
    const char* message;  // after "file: "; empty: the text is valid JSON
};

const Syntax kSyntax[] = {
    {"NaN", "[1,\n NaN]", "line 2, column 2: an invalid number: JSON has no NaN or infinity"},
    {"minus Infinity", "[-Infinity]", "line 1, column 2: an invalid number: JSON has no NaN or infinity"},
    {"lower-case inf", "[inf]", "line 1, column 2: an invalid number: JSON has no NaN or infinity"},
    {"leading zero", "[012]", "line 1, column 2: an invalid number: a leading zero"},
    {"bare decimal point", "[1.]", "line 1, column 2: an invalid number: no digit after the decimal point"},
    {"empty exponent", "[1e+]", "line 1, column 2: an invalid number: no digit in the exponent"},
    {"lone minus", "[-]", "line 1, column 2: an invalid number: no digit after the minus sign"},
    {"plus sign", "[+1]", "line 1, column 2: an invalid number: a number starts with a digit or a minus sign"},
    {"beyond the double range", "{\"a\": [1, -2e400]}", "line 1, column 11: number out of the float range"},
    {"misspelt literal", "[True]", "line 1, column 2: a word that is not true, false or null (a text is written in double quotes)"},
    {"single quotes", "['a']", "line 1, column 2: a text in single quotes (JSON writes texts in double quotes)"},
    {"comment", "[1] // no", "line 1, column 5: a comment (JSON has none)"},
    {"open string", "[\"abc", "line 1, column 2: a string that is not closed before the end of the file"},
    {"tab in a string", "[\"a\tb\"]", "line 1, column 4: a control character (0x09) in a string must be escaped"},
    {"unknown escape", "[\"a\\qb\"]", "line 1, column 4: an escape that is not one of \\\" \\\\ \\/ \\b \\f \\n \\r \\t \\u"},
    {"short unicode escape", "[\"\\u12\"]", "line 1, column 3: a \\u escape without four hex digits"},
    {"lone high surrogate", "[\"\\uD800x\"]", "line 1, column 3: a \\u escape of a high surrogate without a low one after it"},
    {"lone low surrogate", "[\"\\uDC00\"]", "line 1, column 3: a \\u escape of a low surrogate without a high one before it"},
    {"byte FF in a string", "[\"a\xFF\"]", "line 1, column 4: a byte that is not UTF-8 (0xFF) in a string"},
    {"overlong slash", "[\"\xC0\xAF\"]", "line 1, column 3: a byte that is not UTF-8 (0xC0) in a string"},
    {"encoded surrogate", "[\"\xED\xA0\x80\"]", "line 1, column 3: a byte that is not UTF-8 (0xED) in a string"},
    {"beyond U+10FFFF", "[\"\xF4\x90\x80\x80\"]", "line 1, column 3: a byte that is not UTF-8 (0xF4) in a string"},
    {"cut short before the end", "[\"\xE6\x9C\"]", "line 1, column 3: a byte that is not UTF-8 (0xE6) in a string"},
    {"stray byte", "[1, \x80]", "line 1, column 5: a byte that is not UTF-8 (0x80)"},
    {"character outside a string", "[\xE6\x9C\x89]", "line 1, column 2: a character outside a string (a text is written in double quotes)"},
    {"stray punctuation", "[1 # 2]", "line 1, column 4: a character that cannot begin a JSON value (0x23)"},
    // A fault in the arrangement before a fault in a token: the first one is told.
    {"arrangement fault first", "[1 2, NaN]", "line 1, column 4: "},
    {"valid Japanese, escapes and numbers", "\xEF\xBB\xBF{\"\xE6\x9C\x89\xE5\x8A\xB9\": [-0.5e-3, 0, 1E+2, \"\\uD83D\\uDE00\\n\"]}", ""},
    {"valid literals", "[true, false, null, -0]", ""},
};

void PrintTo(const Syntax& c, std::ostream* out) { *out << c.what; }

class JsonSyntax : public ::testing::TestWithParam<Syntax> {};

TEST_P(JsonSyntax, FaultsInTokensAreToldInWordsAtTheirPlace) {
    const Syntax& c = GetParam();
    const std::string expected = c.message;
    std::string got;
    try {
        ftv_cli::parse_json("f", c.text);
    } catch (const ftv_cli::InputError& error) {
        got = error.what();
    }
    if (expected.empty()) {
        EXPECT_EQ(got, "");
        EXPECT_FALSE(ftv_cli::first_token_fault(c.text).has_value());
        return;
    }
    ASSERT_FALSE(got.empty()) << "the text is not valid JSON";
    if (expected.back() == ' ') {
        // Where the library's own words follow: the place, then words without quoted input.
        EXPECT_EQ(got.substr(0, expected.size() + 3), "f: " + expected);
        EXPECT_EQ(got.find("last read"), std::string::npos) << got;
    } else {
        EXPECT_EQ(got, "f: " + expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, JsonSyntax, ::testing::ValuesIn(kSyntax),
                         [](const auto& info) { return testing_support::case_name(info.param.what); });

}  // namespace
