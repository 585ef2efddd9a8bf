// ftv-host run on the scene and event files in tests/data: what the plug-in
// did to the scene, as the resulting scene file shows it.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "host/plugin_id.h"
#include "host_run.h"
#include "formats/json_output.h"
#include "module_fixture.h"
#include "formats/scene_file.h"
#include "scenes.h"

namespace {

using namespace ftv_cli_testing;
using testing_support::expect_faces_eye;
using testing_support::stored_value;

bool same_bits(const ftv::Mat4& a, const ftv::Mat4& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

class HostRunTest : public testing_support::HostTest {};

TEST_F(HostRunTest, AnOrbitLeavesEveryReachableTaggedPartFacingTheEyeAndTheRestAsTheyWere) {
    const std::string folder = fresh_folder("orbit");
    const HostRun run = run_host({"--scene", data_file("billboards.json"), "--orbit", "6", "--out", folder});
    ASSERT_EQ(run.exit_code, 0) << run.output;
    EXPECT_NE(run.output.find("update passes: 6, "), std::string::npos) << run.output;
    // Per pass: Front, Group, Nested, Untagged and Outer visited (not Inner,
    // inside the tagged Outer); Front, Nested and Outer turned.
    EXPECT_NE(run.output.find("parts visited: 30, parts turned: 18"), std::string::npos) << run.output;

    refhost::Scene& before = load_scene(host, data_file("billboards.json"));
    refhost::Scene& after = load_scene(host, folder + "/scene.json");
    for (const char* path : {"/Front", "/Group/Nested", "/Outer"}) {
        SCOPED_TRACE(path);
        const refhost::Node& part = *after.tree().find(path);
        expect_faces_eye(after.tree(), part);
        // Turned about its marker, which stays where it was.
        const ftv::Vec3 was = before.tree().world_center(*before.tree().find(path)->first());
        const ftv::Vec3 is = after.tree().world_center(*part.first());
        EXPECT_NEAR(is.x, was.x, 1e-5);
        EXPECT_NEAR(is.y, was.y, 1e-5);
        EXPECT_NEAR(is.z, was.z, 1e-5);
    }
    // Untagged, and tagged but inside a tagged part: as they were, to the bit.
    for (const char* path : {"/Group", "/Untagged", "/Outer/Inner"}) {
        EXPECT_TRUE(same_bits(after.tree().find(path)->transformation, before.tree().find(path)->transformation)) << path;
    }
    for (const char* picture : {"/view.svg", "/top.svg"}) {
        EXPECT_NE(read_text(folder + picture).find("</svg>"), std::string::npos) << picture;
    }
}

TEST_F(HostRunTest, AnEventScriptDrivesTheSwitchTheDialogsAndTheCreator) {
    const std::string folder = fresh_folder("events");
    const HostRun run = run_host(
        {"--scene", data_file("billboards.json"), "--events", data_file("events.json"), "--out", folder});
    ASSERT_EQ(run.exit_code, 0) << run.output;
    refhost::Scene& scene = load_scene(host, folder + "/scene.json");

    // Unticked in the menu, then a left click (the right click does nothing): on.
    EXPECT_EQ(stored_value(scene.tree().root()), 1);
    EXPECT_NE(run.output.find("switch: on"), std::string::npos) << run.output;
    // The attribute dialog tagged Untagged; the cancelled one left Front as it was.
    EXPECT_EQ(stored_value(*scene.tree().find("/Untagged")), 1);
    EXPECT_EQ(stored_value(*scene.tree().find("/Front")), 1);
    // The creator grouped the selected Group beside where it was, about a marker
    // at the input position, carrying the input values.
    const refhost::Node* group = scene.tree().find("/Z_FaceToViewer");
    ASSERT_NE(group, nullptr);
    EXPECT_NE(stored_value(*group), 0);
    ASSERT_NE(group->first(), nullptr);
    EXPECT_EQ(group->first()->name, "#center");
    EXPECT_EQ(group->first()->input_values[0], 3u);
    EXPECT_EQ(group->first()->input_values[1], 9u);
    ASSERT_NE(scene.tree().find("/Z_FaceToViewer/Group/Nested"), nullptr);
    // The last notification turned the tagged parts toward its eye; the first,
    // while switched off, turned nothing, and the nested part now lies inside
    // the new tagged group, which the walk does not enter.
    for (const char* path : {"/Front", "/Untagged", "/Outer", "/Z_FaceToViewer"}) {
        SCOPED_TRACE(path);
        expect_faces_eye(scene.tree(), *scene.tree().find(path));
    }
    EXPECT_TRUE(same_bits(scene.tree().find("/Z_FaceToViewer/Group/Nested")->transformation, ftv::kIdentityMatrix));

    // The pane as the stand-in library last received it.
    const ftv_cli::Json written = ftv_cli::Json::parse(read_text(folder + "/scene.json"));
    EXPECT_EQ(written["pane"]["text"], "Z_FaceToViewer 有効");
    EXPECT_EQ(written["pane"]["icon"], true);
}

TEST_F(HostRunTest, EventOptionsRunTheirEvents) {
    const std::string folder = fresh_folder("by_options");
    const HostRun run = run_host({"--scene", data_file("billboards.json"), "--eye", "3", "4", "5", "--menu", "off",
                                  "--click", "left", "--attribute", "/Untagged", "--create", "1", "1", "1", "--select",
                                  "/Group", "--notify", "--no-pictures", "--out", folder});
    ASSERT_EQ(run.exit_code, 0) << run.output;
    refhost::Scene& scene = load_scene(host, folder + "/scene.json");
    // Unticked in the menu, then flipped back on by the click.
    EXPECT_EQ(stored_value(scene.tree().root()), 1);
    EXPECT_EQ(stored_value(*scene.tree().find("/Untagged")), 1);
    ASSERT_NE(scene.tree().find("/Z_FaceToViewer/Group"), nullptr);
    for (const char* path : {"/Untagged", "/Z_FaceToViewer"}) {
        SCOPED_TRACE(path);
        expect_faces_eye(scene.tree(), *scene.tree().find(path));
    }
}

// Each answer the attribute dialog can be given leaves its boxes as the name
// says; what a part without a tag then stores.
TEST_F(HostRunTest, EachAttributeAnswerStoresItsTag) {
    const std::pair<const char*, std::int32_t> kAnswers[] = {
        {"plain", 1}, {"upright", 2}, {"exact", 3}, {"on", 1}, {"off", 0}, {"ok", 0}, {"cancel", -999}};
    for (const auto& [answer, stored] : kAnswers) {
        SCOPED_TRACE(answer);
        const std::string folder = fresh_folder(std::string("answer_") + answer);
        const HostRun run = run_host({"--scene", data_file("billboards.json"), "--attribute", "/Untagged",
                                      "--attribute-answer", answer, "--no-pictures", "--out", folder});
        ASSERT_EQ(run.exit_code, 0) << run.output;
        EXPECT_EQ(stored_value(*load_scene(host, folder + "/scene.json").tree().find("/Untagged")), stored);
    }
}

TEST_F(HostRunTest, WithoutArgumentsTheDemoSceneIsOrbitedAndItsBillboardsFaceTheCamera) {
    const std::string folder = fresh_folder("demo");
    const HostRun run = run_host({"--out", folder});
    ASSERT_EQ(run.exit_code, 0) << run.output;
    EXPECT_NE(run.output.find("built-in demo scene"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("switch: on"), std::string::npos) << run.output;
    refhost::Scene& scene = load_scene(host, folder + "/scene.json");
    int turned = 0;
    for (std::uint32_t id = 1; id <= scene.tree().node_count(); ++id) {
        const refhost::Node& node = *scene.tree().node_by_id(id);
        if (!node.is_part() || same_bits(node.transformation, ftv::kIdentityMatrix)) continue;
        if (node.name == "Nested group" || node.name == "Tilted group") continue;  // placed by their builder
        SCOPED_TRACE(node.name);
        if (node.name == "Tilted sign, tag 1") {
            EXPECT_NE(refhost::faces_eye(scene.tree(), node, 1e-3), "");  // what tag 3 beside it mends
        } else {
            expect_faces_eye(scene.tree(), node);
        }
        ++turned;
    }
    // A, B, C, D, both tilted signs, the upright tree and the holder; not the
    // untagged group nor the part inside the holder.
    EXPECT_EQ(turned, 8);
    EXPECT_TRUE(std::filesystem::exists(folder + "/view.svg"));
    EXPECT_TRUE(std::filesystem::exists(folder + "/top.svg"));
}

TEST_F(HostRunTest, ASceneFileReadsAndWritesBackUnchanged) {
    const std::string folder = fresh_folder("round_trip");
    const std::string input = data_file("round_trip.json");
    HostRun run = run_host({"--scene", input, "--no-pictures", "--out", folder});
    ASSERT_EQ(run.exit_code, 0) << run.output;
    // Same document apart from the pane record the run adds, to the bit of every float.
    ftv_cli::Json got = ftv_cli::Json::parse(read_text(folder + "/scene.json"));
    got.erase("pane");
    EXPECT_EQ(ftv_cli::json_text(got), read_text(input));

    // And the written file reads back to the same text.
    const std::string again = fresh_folder("round_trip_again");
    run = run_host({"--scene", folder + "/scene.json", "--no-pictures", "--out", again});
    ASSERT_EQ(run.exit_code, 0) << run.output;
    EXPECT_EQ(read_text(again + "/scene.json"), read_text(folder + "/scene.json"));
}

}  // namespace
