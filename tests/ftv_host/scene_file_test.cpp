// The scene file format checked directly: floats come back to the bit, and a
// syntax error is placed by line and column.
#include <gtest/gtest.h>

#include "case_names.h"
#include "host/plugin_id.h"
#include "scene/imath_values.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

#include "host_objects/reference_host.h"
#include "formats/json_input.h"
#include "formats/json_output.h"
#include "formats/scene_file.h"

namespace {

using ftv_cli::Json;

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
        const std::string text = ftv_cli::json_text(Json::array({ftv_cli::float_json(value)}));
        const Json parsed = Json::parse(text);
        const std::string file = "test";
        const float back = ftv_cli::JsonAt(file, parsed).at(0).float_or_bits();
        EXPECT_EQ(bits_of(back), bits_of(value)) << text;
    }
}

TEST(SceneFileFloats, WholeNumbersAreWrittenAsIntegersButMinusZeroKeepsItsSign) {
    const struct {
        float value;
        const char* text;
    } cases[] = {{2.0f, "[2]\n"}, {-1.0f, "[-1]\n"}, {0.0f, "[0]\n"}, {-0.0f, "[-0.0]\n"}, {0.5f, "[0.5]\n"}};
    for (const auto& c : cases) {
        EXPECT_EQ(ftv_cli::json_text(Json::array({ftv_cli::float_json(c.value)})), c.text);
    }
}

// Wherever the plug-in or the host may leave a float, a non-finite one is
// written so that the scene reads back to the same bits.
struct NonFinitePlace {
    const char* what;
    void (*put)(refhost::SceneTree& scene, float value);
    float (*get)(const refhost::SceneTree& scene);
};

const refhost::Node& only_child(const refhost::SceneTree& scene) { return *scene.root().children().front(); }

const NonFinitePlace kPlaces[] = {
    {"eye", [](refhost::SceneTree& s, float v) { s.set_eye({1, v, 2}); },
     [](const refhost::SceneTree& s) { return s.camera_data().eye.y; }},
    {"target", [](refhost::SceneTree& s, float v) { s.set_camera({{0, 0, 9}, {v, 0, 0}}); },
     [](const refhost::SceneTree& s) { return s.camera_data().target.x; }},
    {"marker centre", [](refhost::SceneTree& s, float v) { s.add_marker(s.root(), {0, 0, v}); },
     [](const refhost::SceneTree& s) { return only_child(s).center.z; }},
    {"mesh vertex",
     [](refhost::SceneTree& s, float v) {
         refhost::Mesh mesh;
         mesh.vertices = {{0, 0, 0}, {v, 1, 0}, {0, 1, 1}};
         mesh.polygons = {{0, 1, 2}};
         s.add_mesh(s.root(), "M", mesh);
     },
     [](const refhost::SceneTree& s) { return only_child(s).mesh.vertices[1].x; }},
    {"transformation",
     [](refhost::SceneTree& s, float v) {
         ftv::Mat4 m = ftv::kIdentityMatrix;
         m.m[3][1] = v;
         s.set_transformation(s.add_part(s.root(), "P"), m);
     },
     [](const refhost::SceneTree& s) { return only_child(s).transformation.m[3][1]; }},
};

void PrintTo(const NonFinitePlace& c, std::ostream* out) { *out << c.what; }

class NonFiniteFloat : public ::testing::TestWithParam<NonFinitePlace> {};

TEST_P(NonFiniteFloat, ReadsBackToTheSameBits) {
    for (std::uint32_t bits : {0x7FC00000u, 0xFFC00001u, 0x7F800000u, 0xFF800000u}) {
        SCOPED_TRACE(bits);
        refhost::ReferenceHost host;
        refhost::Scene& scene = host.new_scene();
        GetParam().put(scene.tree(), from_bits(bits));
        const std::string written = ftv_cli::json_text(ftv_cli::scene_to_json(scene.tree()));
        refhost::Scene& again = host.new_scene();
        ftv_cli::read_scene("written", ftv_cli::parse_json("written", written), again.tree());
        EXPECT_EQ(bits_of(GetParam().get(again.tree())), bits) << written;
    }
}

INSTANTIATE_TEST_SUITE_P(Places, NonFiniteFloat, ::testing::ValuesIn(kPlaces),
                         [](const auto& info) { return testing_support::case_name(info.param.what); });

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
        EXPECT_EQ(ftv_cli::line_and_column(c.text, c.byte), c.place) << c.text << " @" << c.byte;
    }
}

}  // namespace
