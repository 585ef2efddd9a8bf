// ftv-host's explanation of each part with the plug-in's stream, after the
// plug-in has run on a scene: one scene for each reason a part does not
// turn, and for each cause that keeps a turned part off the eye.
#include <gtest/gtest.h>

#include <filesystem>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <optional>
#include <map>

#include "host/plugin_id.h"
#include "host_run.h"
#include "judge/explain.h"
#include "run/plugin_session.h"
#include "scene/imath_values.h"
#include "scenes.h"
#include "turns.h"

namespace {

using refhost::Node;
using testing_support::turn;
using refhost::SceneTree;

ftv::Mat4 diagonal(float x, float y, float z) {
    ftv::Mat4 m = ftv::kIdentityMatrix;
    m.m[0][0] = x, m.m[1][1] = y, m.m[2][2] = z;
    return m;
}

// A part /Frame moved by frame, holding the billboard /Frame/Sign.
void sign_in_frame(SceneTree& scene, const ftv::Mat4& frame, std::int32_t tag = 1) {
    const Node& holder = scene.add_part(scene.root(), "Frame");
    scene.set_transformation(holder, refhost::product(frame, ftv::translation_matrix({1, 2, 3})));
    refhost::add_billboard(scene, holder, "Sign", {0.5f, 0, 0}, tag);
}

ftv::Mat4 two_axes() { return refhost::product(turn({1, 0, 0}, 0.8f, 0.6f), turn({0, 1, 0}, 0.6f, 0.8f)); }

// What a case must be told, from the scene's own facts: whether the part
// turns, how far off the eye (NaN: no angle, as before any pass), and the
// paths, names and numbers its reason must give. Each case is a cause of its
// own, so its line must be unlike every other case's.
struct Case {
    const char* what;
    std::function<void(SceneTree&)> build;
    bool switch_on;
    bool notify;
    const char* path;
    bool turned;
    double degrees_off;  // for a turned part; below 0: any
    std::vector<const char*> facts;
    const char* not_told = nullptr;  // a word the reason must not give
    const char* told_as = nullptr;   // an earlier case whose line this one repeats
};

constexpr double kNoAngle = std::numeric_limits<double>::quiet_NaN();
constexpr double kAny = -1;

// Exact rotations (cosine and sine of a 3-4-5 triangle: 36.87° and 53.13°), the same bits on every build.
const Case kCases[] = {
    {"switched off", [](SceneTree& s) { refhost::add_billboard(s, s.root(), "P", {0, 0, 0}); }, false, true, "/P",
     false, kAny, {}},
    {"switched off and holding 0", [](SceneTree& s) { refhost::add_billboard(s, s.root(), "P", {0, 0, 0}, 0); },
     false, true, "/P", false, kAny, {"0"}},
    {"inside a tagged part",
     [](SceneTree& s) { refhost::add_billboard(s, refhost::add_billboard(s, s.root(), "A", {0, 0, 0}), "B", {1, 0, 0}); },
     true, true, "/A/B", false, kAny, {"/A,", "tagged"}},
    {"inside a part holding 0 two levels up",
     [](SceneTree& s) {
         const Node& zero = refhost::add_billboard(s, s.root(), "Z", {0, 0, 0}, 0);
         refhost::add_billboard(s, s.add_part(zero, "G"), "B", {1, 0, 0});
     },
     true, true, "/Z/G/B", false, kAny, {"/Z,"}, "tagged"},
    {"stream empty",
     [](SceneTree& s) {
         const Node& p = refhost::add_billboard(s, s.root(), "P", {0, 0, 0}, std::nullopt);
         s.set_stream(p, ftv::kMainId, {});
     },
     true, true, "/P", false, kAny, {"0"}},
    {"no children", [](SceneTree& s) { s.set_stream(s.add_part(s.root(), "P"), ftv::kMainId, {1}); }, true, true, "/P",
     false, kAny, {"\"#center\""}},
    {"marker in other letter case",
     [](SceneTree& s) {
         const Node& p = s.add_part(s.root(), "P");
         s.set_stream(p, ftv::kMainId, {1});
         s.add_marker(p, {0, 0, 0}, "#Center");
     },
     true, true, "/P", false, kAny, {"\"#Center\"", "\"#center\""}},
    {"marker third",
     [](SceneTree& s) {
         const Node& p = s.add_part(s.root(), "P");
         s.set_stream(p, ftv::kMainId, {1});
         s.add_mesh(p, "face", refhost::square({0, 0, 0}, 1));
         s.add_mesh(p, "back", refhost::square({0, 0, 0}, 1));
         s.add_marker(p, {0, 0, 0});
     },
     true, true, "/P", false, kAny, {" 3"}},
    {"turned", [](SceneTree& s) { sign_in_frame(s, turn({0, 1, 0}, 0.6f, 0.8f)); }, true, true, "/Frame/Sign", true, 0,
     {}},
    {"turned upright",
     [](SceneTree& s) { refhost::add_billboard(s, s.root(), "Tree", {0, 0, 0}, 2); }, true, true, "/Tree", true, 0, {}},
    {"exact under two axes and a mirror",
     [](SceneTree& s) { sign_in_frame(s, refhost::product(diagonal(-1, 2, 1), two_axes()), 3); }, true, true,
     "/Frame/Sign", true, 0, {}},
    {"tagged 7 is a plain tag", [](SceneTree& s) { sign_in_frame(s, turn({0, 1, 0}, 0.6f, 0.8f), 7); }, true, true,
     "/Frame/Sign", true, 0, {}, nullptr, "turned"},
    {"no pass yet", [](SceneTree& s) { refhost::add_billboard(s, s.root(), "P", {0, 0, 0}); }, true, false, "/P", true,
     kNoAngle, {}},
    {"eye at the pivot",
     [](SceneTree& s) {
         refhost::add_billboard(s, s.root(), "P", {0, 0, 0});
         s.set_eye({0, 0, 0});
     },
     true, true, "/P", true, kNoAngle, {}},
    {"upright under the eye",
     [](SceneTree& s) {
         refhost::add_billboard(s, s.root(), "Tree", {0, 0, 0}, 2);
         s.set_eye({0, 9, 0});
     },
     true, true, "/Tree", false, kAny, {}},
    {"parent turned about two axes", [](SceneTree& s) { sign_in_frame(s, two_axes()); }, true, true, "/Frame/Sign",
     true, kAny, {"/Frame", "36.87°", "53.13°", "0.00°", "tag 3"}},
    {"parent near 90 degrees about Y",
     [](SceneTree& s) {
         sign_in_frame(s, refhost::product(refhost::product(turn({1, 0, 0}, 0.8f, 0.6f), turn({0, 1, 0}, 0, 1)),
                                           turn({0, 0, 1}, 0.6f, 0.8f)));
     },
     true, true, "/Frame/Sign", true, kAny, {"/Frame", "90.000°"}},
    {"parent mirrored", [](SceneTree& s) { sign_in_frame(s, diagonal(-1, 1, 1)); }, true, true, "/Frame/Sign", true,
     180, {"/Frame"}},
    {"parent scaled unevenly", [](SceneTree& s) { sign_in_frame(s, diagonal(1, 3, 1)); }, true, true, "/Frame/Sign",
     true, kAny, {"/Frame", "(1, 3, 1)"}},
};

TEST(Explain, SaysWhetherAndWhyEachPartTurns) {
    std::map<std::string, std::string> told_lines;  // a case's line, but for the part's path
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        ftv_cli::PluginSession session = ftv_cli_testing::session_beside_host();
        SceneTree& scene = session.tree();
        refhost::store_switch(scene, c.switch_on ? 1 : 0);
        scene.set_camera({{6, 4, 9}, {0, 0, 0}});
        c.build(scene);
        session.initialize();
        if (c.notify) session.notify();

        std::optional<refhost::PartExplanation> told;
        for (const refhost::PartExplanation& part : refhost::explain_parts(scene, session.working_switch_on()))
            if (scene.path_of(*part.part) == c.path) told = part;
        ASSERT_TRUE(told.has_value());
        const std::string line = refhost::explanation_line(scene, *told);
        EXPECT_EQ(told->turned, c.turned) << line;
        if (std::isnan(c.degrees_off)) {
            EXPECT_TRUE(told->turned && std::isnan(told->degrees_off)) << line;
        } else if (c.degrees_off >= 0) {
            EXPECT_NEAR(told->degrees_off, c.degrees_off, 1e-3) << line;
        }
        // A part kept from its aim is told why; a turned part at its aim needs no reason.
        EXPECT_EQ(told->why.empty(), c.turned && c.degrees_off == 0) << line;
        for (const char* fact : c.facts) EXPECT_NE(told->why.find(fact), std::string::npos) << fact << " in " << line;
        if (c.not_told != nullptr) {
            EXPECT_EQ(told->why.find(c.not_told), std::string::npos) << line;
        }
        ASSERT_EQ(line.rfind(std::string(c.path) + ": ", 0), 0u) << line;
        const std::string text = line.substr(std::strlen(c.path));
        if (c.told_as != nullptr) {
            EXPECT_EQ(text, told_lines.at(c.told_as));
        } else {
            for (const auto& [other, other_text] : told_lines) EXPECT_NE(text, other_text) << "told as " << other;
        }
        told_lines[c.what] = text;

        session.release_components();
        EXPECT_TRUE(session.host().ledger().balanced()) << session.host().ledger().report();
        EXPECT_TRUE(session.host().misuse().empty());
    }
}

// The option prints a line per part with the stream after the summary; the
// pictures give a part that does not turn its reason as its title.
TEST(ExplainOption, TellsOnTheDemoAndInItsPictures) {
    const std::string folder = ftv_cli_testing::fresh_folder("explain");
    const ftv_cli_testing::HostRun run = ftv_cli_testing::run_host({"--explain", "--out", folder});
    ASSERT_EQ(run.exit_code, 0) << run.output;
    const char* const reason = "Inside holder is not turned: inside the tagged part /Holder, which the walk does not enter";
    for (const char* line : {"  /Upright tree: turned upright exactly, 0.000° from the eye's horizontal direction\n",
                             "  /Holder/Inside holder: not turned: inside the tagged part /Holder, which the walk "
                             "does not enter\n"})
        EXPECT_NE(run.output.find(line), std::string::npos) << run.output;
    for (const char* picture : {"/view.svg", "/top.svg"}) {
        const std::string svg = ftv_cli_testing::read_text(folder + picture);
        const std::size_t title = svg.find(reason);
        ASSERT_NE(title, std::string::npos) << picture;
        // Drawn hatched, unlike every turned part.
        const std::size_t shape = svg.rfind("<polygon", title);
        EXPECT_NE(svg.substr(shape, title - shape).find("url(#not-turned)"), std::string::npos) << picture;
        EXPECT_EQ(svg.find("Billboard A sign (front):"), std::string::npos) << picture;
    }
}

}  // namespace
