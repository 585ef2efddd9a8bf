// ftv-host's explanation of each part with the plug-in's stream, after the
// plug-in has run on a scene: one scene for each reason a part does not
// turn, and for each cause that keeps a turned part off the eye.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "case_names.h"
#include "host/plugin_id.h"
#include "host_run.h"
#include "judge/explain.h"
#include "plugin_session.h"
#include "scene/imath_values.h"
#include "scenes.h"

namespace {

using refhost::Node;
using refhost::SceneTree;

ftv::Mat4 turn(ftv::Vec3 axis, float c, float s) {
    ftv::Mat4 m;
    ftv::axis_rotation(axis, c, s, m);
    return m;
}

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

struct Case {
    const char* what;
    std::function<void(SceneTree&)> build;
    bool switch_on;
    bool notify;
    const char* path;
    const char* line;  // the whole line, or with a trailing '*' its beginning
};

// Exact rotations (cosine and sine of a 3-4-5 triangle), the same bits on every build.
const Case kCases[] = {
    {"switched off", [](SceneTree& s) { refhost::add_billboard(s, s.root(), "P", {0, 0, 0}); }, false, true, "/P",
     "/P: not turned: switched off"},
    // A part that would not turn anyway is told why, not that the switch is off.
    {"switched off and holding 0", [](SceneTree& s) { refhost::add_billboard(s, s.root(), "P", {0, 0, 0}, 0); },
     false, true, "/P", "/P: not turned: the stream holds 0"},
    {"inside a tagged part",
     [](SceneTree& s) { refhost::add_billboard(s, refhost::add_billboard(s, s.root(), "A", {0, 0, 0}), "B", {1, 0, 0}); },
     true, true, "/A/B", "/A/B: not turned: inside the tagged part /A, which the walk does not enter"},
    {"inside a part holding 0 two levels up",
     [](SceneTree& s) {
         const Node& zero = refhost::add_billboard(s, s.root(), "Z", {0, 0, 0}, 0);
         refhost::add_billboard(s, s.add_part(zero, "G"), "B", {1, 0, 0});
     },
     true, true, "/Z/G/B", "/Z/G/B: not turned: inside the part /Z, which the walk does not enter"},
    {"stream holds 0", [](SceneTree& s) { refhost::add_billboard(s, s.root(), "P", {0, 0, 0}, 0); }, true, true, "/P",
     "/P: not turned: the stream holds 0"},
    {"stream empty",
     [](SceneTree& s) {
         const Node& p = refhost::add_billboard(s, s.root(), "P", {0, 0, 0}, std::nullopt);
         s.set_stream(p, ftv::kMainId, {});
     },
     true, true, "/P", "/P: not turned: the stream holds no value, which reads as 0"},
    {"no children", [](SceneTree& s) { s.set_stream(s.add_part(s.root(), "P"), ftv::kMainId, {1}); }, true, true, "/P",
     "/P: not turned: it has no children; its first child must be \"#center\""},
    {"marker in other letter case",
     [](SceneTree& s) {
         const Node& p = s.add_part(s.root(), "P");
         s.set_stream(p, ftv::kMainId, {1});
         s.add_marker(p, {0, 0, 0}, "#Center");
     },
     true, true, "/P", "/P: not turned: first child is named \"#Center\", not \"#center\""},
    {"marker third",
     [](SceneTree& s) {
         const Node& p = s.add_part(s.root(), "P");
         s.set_stream(p, ftv::kMainId, {1});
         s.add_mesh(p, "face", refhost::square({0, 0, 0}, 1));
         s.add_mesh(p, "back", refhost::square({0, 0, 0}, 1));
         s.add_marker(p, {0, 0, 0});
     },
     true, true, "/P", "/P: not turned: \"#center\" is child 3, not the first"},
    {"turned", [](SceneTree& s) { sign_in_frame(s, turn({0, 1, 0}, 0.6f, 0.8f)); }, true, true, "/Frame/Sign",
     "/Frame/Sign: turned, 0.000° from the eye"},
    {"turned upright",
     [](SceneTree& s) { refhost::add_billboard(s, s.root(), "Tree", {0, 0, 0}, 2); }, true, true, "/Tree",
     "/Tree: turned upright exactly, 0.000° from the eye's horizontal direction"},
    {"exact under two axes and a mirror",
     [](SceneTree& s) { sign_in_frame(s, refhost::product(diagonal(-1, 2, 1), two_axes()), 3); }, true, true,
     "/Frame/Sign", "/Frame/Sign: turned exactly, 0.000° from the eye"},
    {"tagged 7 is a plain tag",
     [](SceneTree& s) { refhost::add_billboard(s, s.root(), "P", {0, 0, 0}, 7); }, true, true, "/P",
     "/P: turned, 0.000° from the eye"},
    {"no pass yet", [](SceneTree& s) { refhost::add_billboard(s, s.root(), "P", {0, 0, 0}); }, true, false, "/P",
     "/P: turned, but no update pass has turned it yet"},
    {"eye at the pivot",
     [](SceneTree& s) {
         refhost::add_billboard(s, s.root(), "P", {0, 0, 0});
         s.set_eye({0, 0, 0});
     },
     true, true, "/P", "/P: turned, but the eye is at its pivot"},
    {"upright under the eye",
     [](SceneTree& s) {
         refhost::add_billboard(s, s.root(), "Tree", {0, 0, 0}, 2);
         s.set_eye({0, 9, 0});
     },
     true, true, "/Tree", "/Tree: not turned: the eye is straight above or below its pivot*"},
    {"parent turned about two axes",
     [](SceneTree& s) { sign_in_frame(s, two_axes()); }, true, true, "/Frame/Sign",
     "/Frame/Sign: turned, *° from the eye: its parent /Frame is turned about more than one axis (X 36.87°, Y 53.13°, Z 0.00°), "
     "which the plug-in undoes in the order X, Y, Z rather than Z, Y, X; tag 3 (face exactly) turns it exactly"},
    {"parent near 90 degrees about Y",
     [](SceneTree& s) {
         sign_in_frame(s, refhost::product(refhost::product(turn({1, 0, 0}, 0.8f, 0.6f), turn({0, 1, 0}, 0, 1)),
                                           turn({0, 0, 1}, 0.6f, 0.8f)));
     },
     true, true, "/Frame/Sign", "/Frame/Sign: turned, *° from the eye: its parent /Frame is turned 90.000° about Y, near ±90°, where its X and Z turns are told imprecisely, and is turned about more than one axis*"},
    {"parent mirrored", [](SceneTree& s) { sign_in_frame(s, diagonal(-1, 1, 1)); }, true, true, "/Frame/Sign",
     "/Frame/Sign: turned, 180.000° from the eye: its parent /Frame is mirrored, which the plug-in's compensation "
     "does not undo*"},
    {"parent scaled unevenly", [](SceneTree& s) { sign_in_frame(s, diagonal(1, 3, 1)); }, true, true, "/Frame/Sign",
     "/Frame/Sign: turned, *° from the eye: its parent /Frame is scaled unevenly (1, 3, 1) or sheared, which the plug-in does not "
     "undo*"},
};

// The pattern's '*' stands for any text.
bool matches(const std::string& text, const std::string& pattern) {
    const std::size_t star = pattern.find('*');
    if (star == std::string::npos) return text == pattern;
    if (text.compare(0, star, pattern, 0, star) != 0) return false;
    const std::string rest = pattern.substr(star + 1);
    for (std::size_t at = star; at <= text.size(); ++at)
        if (matches(text.substr(at), rest)) return true;
    return false;
}

class Explain : public testing::TestWithParam<Case> {};

TEST_P(Explain, SaysWhetherAndWhyEachPartTurns) {
    const Case& c = GetParam();
    ftv_cli::PluginSession session = ftv_cli_testing::session_beside_host();
    SceneTree& scene = session.tree();
    refhost::store_switch(scene, c.switch_on ? 1 : 0);
    scene.set_camera({{6, 4, 9}, {0, 0, 0}});
    c.build(scene);
    session.initialize();
    if (c.notify) session.notify();

    std::string line = "(no line)";
    for (const refhost::PartExplanation& part : refhost::explain_parts(scene, session.working_switch_on()))
        if (scene.path_of(*part.part) == c.path) line = refhost::explanation_line(scene, part);
    EXPECT_TRUE(matches(line, c.line)) << line;

    session.release_components();
    EXPECT_TRUE(session.host().ledger().balanced()) << session.host().ledger().report();
    EXPECT_TRUE(session.host().misuse().empty());
}

INSTANTIATE_TEST_SUITE_P(Scenes, Explain, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) {
                             return testing_support::case_name(info.param.what);
                         });

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
