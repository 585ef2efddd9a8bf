// The scene file format checked directly: floats come back to the bit, and a
// syntax error is placed by line and column.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

#include "json_input.h"
#include "json_output.h"

namespace {

using ftv_host::Json;

std::uint32_t bits_of(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float from_bits(std::uint32_t bits) {
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

TEST(SceneFileFloats, EveryFloatReadsBackToTheSameBits) {
    const float cases[] = {0.1f,
                           -0.0f,
                           1.0f / 3.0f,
                           16777217.0f,  // rounds to 16777216 as a float
                           FLT_MAX,
                           -FLT_MIN,
                           std::numeric_limits<float>::denorm_min(),
                           1.17549421e-38f,  // the largest subnormal
                           0.70710677f,
                           123456.79f,
                           std::numeric_limits<float>::infinity(),
                           -std::numeric_limits<float>::infinity(),
                           from_bits(0x7FC00001u),  // a NaN with a payload
                           from_bits(0xFFA00000u)};
    for (float value : cases) {
        SCOPED_TRACE(bits_of(value));
        const std::string text = ftv_host::json_text(Json::array({ftv_host::float_json(value)}));
        const Json parsed = Json::parse(text);
        const std::string file = "test";
        const float back = ftv_host::JsonAt(file, parsed).at(0).float_or_bits();
        EXPECT_EQ(bits_of(back), bits_of(value)) << text;
    }
}

TEST(SceneFileFloats, WholeNumbersAreWrittenAsIntegersButMinusZeroKeepsItsSign) {
    const struct {
        float value;
        const char* text;
    } cases[] = {{2.0f, "[2]\n"}, {-1.0f, "[-1]\n"}, {0.0f, "[0]\n"}, {-0.0f, "[-0.0]\n"}, {0.5f, "[0.5]\n"}};
    for (const auto& c : cases) {
        EXPECT_EQ(ftv_host::json_text(Json::array({ftv_host::float_json(c.value)})), c.text);
    }
}

TEST(SceneFileErrors, PositionsCountLinesAndColumnsFromOne) {
    const struct {
        const char* text;
        std::size_t byte;
        const char* place;
    } cases[] = {{"abc", 1, "line 1, column 1"},
                 {"abc", 3, "line 1, column 3"},
                 {"ab\ncd", 4, "line 2, column 1"},
                 {"ab\ncd", 5, "line 2, column 2"},
                 {"\n\n", 3, "line 3, column 1"},
                 {"ab", 9, "line 1, column 3"}};  // past the end: just after the last byte
    for (const auto& c : cases) {
        EXPECT_EQ(ftv_host::line_and_column(c.text, c.byte), c.place) << c.text << " @" << c.byte;
    }
}

}  // namespace
