// Bad scene and event files: ftv-host names the file, the place and the fault,
// exits with failure, and leaves the outputs of an earlier run as they were.
#include <gtest/gtest.h>

#include <filesystem>

#include "case_names.h"
#include "formats/nesting_limit.h"
#include "host_run.h"

namespace {

using namespace ftv_cli_testing;

struct BadInput {
    const char* what;
    bool is_events;    // the text is an event script run on billboards.json; else a scene
    std::string text;
    const char* message;  // expected after "<file>: "
    // The message's place only: the JSON library's own words follow it.
    bool then_library_words = false;
};

std::string nested_parts(int depth) {
    std::string text = R"({"root": {"children": [)";
    for (int i = 0; i < depth; ++i) text += R"({"name": "P", "kind": "part", "children": [)";
    for (int i = 0; i < depth; ++i) text += "]}";
    return text + "]}}";
}

// The group creator run again and again on the group it made last.
std::string nested_groups(int groups) {
    std::string text = R"({"events": [{"event": "create", "position": [0, 0, 0], "selection": ["/Front"]})";
    for (int i = 1; i < groups; ++i)
        text += R"(, {"event": "create", "position": [0, 0, 0], "selection": ["/Z_FaceToViewer"]})";
    return text + "]}";
}

std::string part_with(const std::string& members) {
    return R"({"root": {"children": [{"name": "P", "kind": "part", )" + members + "}]}}";
}

std::string marker_with(const std::string& center) {
    return R"({"root": {"children": [{"name": "#center", "kind": "marker", "center": )" + center + "}]}}";
}

const BadInput kBadInputs[] = {
    {"empty file", false, "", "line 1, column 1: ", true},
    {"stray comma", false, "{\n  \"root\": {,\n}", "line 2, column 12: ", true},
    {"not an object", false, "[1]", "/: expected an object, found array"},
    {"no root", false, "{}", "/: missing key \"root\""},
    {"misspelt key", false, R"({"root": {}, "camra": {}})", "/camra: unknown key"},
    {"misspelt node key", false, part_with(R"("childs": [])"), "/root/children/0/childs: unknown key"},
    {"name of the wrong type", false, R"({"root": {"children": [{"name": 5, "kind": "part"}]}})",
     "/root/children/0/name: expected a string, found number"},
    {"unknown kind", false, R"({"root": {"children": [{"name": "C", "kind": "cube"}]}})",
     "/root/children/0/kind: kind \"cube\" is not one of part, marker, mesh"},
    {"number beyond the double range", false, marker_with("[1e999, 0, 0]"),
     "line 1, column 73: number out of the float range"},
    {"centre beyond the float range", false, marker_with("[0, 1e39, 0]"),
     "/root/children/0/center/1: number out of the float range"},
    {"text that is no bit pattern in a centre", false, marker_with(R"(["0x7FC0", 0, 0])"),
     "/root/children/0/center/0: expected a number or a bit pattern such as \"0x7FC00000\""},
    {"short centre", false, marker_with("[0, 0]"), "/root/children/0/center: expected 3 numbers, found 2"},
    {"short matrix", false, part_with(R"("transformation": [1, 0, 0])"),
     "/root/children/0/transformation: expected 16 numbers (row by row), found 3"},
    {"malformed bit pattern", false, part_with(R"("transformation": ["0x7FC0", 0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1])"),
     "/root/children/0/transformation/0: expected a number or a bit pattern such as \"0x7FC00000\""},
    {"bad stream id", false, part_with(R"("streams": {"xyz": [1]})"),
     "/root/children/0/streams/xyz: a stream id is 8 hex digits, such as \"40A000C0\""},
    {"stream value beyond 32 bits", false, part_with(R"("streams": {"40A000C0": [4294967296]})"),
     "/root/children/0/streams/40A000C0/0: integer 4294967296 out of range -2147483648 to 2147483647"},
    {"polygon index past the vertices", false,
     R"({"root": {"children": [{"name": "M", "kind": "mesh", "vertices": [[0,0,0],[1,0,0]], "polygons": [[0, 1, 2]]}]}})",
     "/root/children/0/polygons/0/2: integer 2 out of range 0 to 1"},
    {"selection of no shape", false, R"({"root": {}, "selection": ["/Nope"]})", "/selection/0: no shape at path \"/Nope\""},
    {"current part not a part", false,
     R"({"root": {"children": [{"name": "#center", "kind": "marker", "center": [0,0,0]}]}, "current_part": "/#center"})",
     "/current_part: the current part must be a part"},
    {"nesting beyond the limit", false, nested_parts(ftv_cli::kMaxNesting + 1),
     "/root/children/0/.../0/children: parts nested deeper than 1000"},
    // Each group holds /Front a level deeper: at depth 1001 after 1000 groups.
    {"groups nested beyond the limit", true, nested_groups(ftv_cli::kMaxNesting + 5),
     "/events/999: parts nested deeper than 1000 by the group creator"},
    {"unknown event", true, R"({"events": [{"event": "explode"}]})",
     "/events/0/event: unknown event \"explode\" (initialize, notify, orbit, menu, click, attribute, create)"},
    {"unknown button", true, R"({"events": [{"event": "click", "button": "middle"}]})",
     "/events/0/button: button \"middle\" is not left or right"},
    {"answer without confirm", true, R"({"events": [{"event": "menu", "checked": true}]})",
     "/events/0: missing key \"confirm\""},
    {"zero orbit steps", true, R"({"events": [{"event": "orbit", "steps": 0}]})",
     "/events/0/steps: integer 0 out of range 1 to 100000"},
    // Found only while running, after earlier events changed the scene: still nothing written.
    {"attribute on no shape", true,
     R"({"events": [{"event": "notify"}, {"event": "attribute", "shape": "/Nope", "confirm": true}]})",
     "/events/1: shape: no shape at path \"/Nope\""},
};

void PrintTo(const BadInput& c, std::ostream* out) { *out << c.what; }

class BadInputRun : public ::testing::TestWithParam<BadInput> {};

TEST_P(BadInputRun, IsReportedWithItsPlaceAndLeavesEarlierOutputsAlone) {
    const BadInput& c = GetParam();
    const std::string folder = fresh_folder(std::string("bad_") + std::to_string(&c - kBadInputs));
    const std::string input = folder + "/input.json";
    write_text(input, c.text);
    const std::string out = folder + "/out";
    std::filesystem::create_directories(out);
    write_text(out + "/scene.json", "earlier result\n");

    const std::vector<std::string> arguments =
        c.is_events ? std::vector<std::string>{"--scene", data_file("billboards.json"), "--events", input, "--out", out}
                    : std::vector<std::string>{"--scene", input, "--out", out};
    const HostRun run = run_host(arguments);

    EXPECT_EQ(run.exit_code, 1) << run.output;
    const std::string expected = "ftv-host: " + input + ": " + c.message;
    if (c.then_library_words) {
        EXPECT_EQ(run.output.substr(0, expected.size()), expected);
        EXPECT_GT(run.output.size(), expected.size() + 1) << "says what is wrong";
        EXPECT_EQ(run.output.find('\n'), run.output.size() - 1) << run.output;
    } else {
        EXPECT_EQ(run.output, expected + "\n");
    }
    EXPECT_EQ(read_text(out + "/scene.json"), "earlier result\n");
    // Nothing else was written, not even a temporary file.
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(out)) files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1u);
}

INSTANTIATE_TEST_SUITE_P(Table, BadInputRun, ::testing::ValuesIn(kBadInputs),
                         [](const auto& info) { return testing_support::case_name(info.param.what); });

TEST(BadInputFiles, AMissingOrOversizedFileIsNamed) {
    const std::string folder = fresh_folder("bad_files");
    const std::string huge = folder + "/huge.json";
    write_text(huge, "");
    std::filesystem::resize_file(huge, (64u << 20) + 1);
    const struct {
        std::string file;
        std::string message;
    } cases[] = {{folder + "/missing.json", "cannot open: No such file or directory"},
                 {huge, "file of 67108865 bytes is larger than the limit of 67108864"}};
    for (const auto& c : cases) {
        const HostRun run = run_host({"--scene", c.file, "--out", folder + "/out"});
        EXPECT_EQ(run.exit_code, 1);
        EXPECT_EQ(run.output, "ftv-host: " + c.file + ": " + c.message + "\n");
        EXPECT_FALSE(std::filesystem::exists(folder + "/out"));
    }
}

}  // namespace
