// scene.gltf's animation of the eye's path as glTF consumers that are not
// ftv-host see it: in three.js (tools/validate/facing.mjs) every upright and
// exact part faces the animated camera at every key; the Khronos validator
// finds no error; a repeated run writes the same bytes; the file read back
// with --camera-path follows the same path. And the nearest TRS of a sheared
// turn against Imath's own decomposition.
#include <gtest/gtest.h>

#include <ImathMatrixAlgo.h>
#include <ImathRandom.h>

#include "formats/gltf_export_trs.h"
#include "formats/json_input.h"
#include "host_run.h"
#include "module_fixture.h"

namespace {

using namespace ftv_cli_testing;
using ftv_cli::Json;

const std::string kModels = "/usr/share/assimp/models/";

HostRun node(const char* script, const std::vector<std::string>& files) {
    std::vector<std::string> arguments{script};
    arguments.insert(arguments.end(), files.begin(), files.end());
    return run_program("node", arguments);
}

class EyePath : public testing_support::HostTest {};

TEST_F(EyePath, TurnedPartsFaceTheAnimatedCameraInThreeJsAndTheFileValidatesAndRepeats) {
    const std::string folder = fresh_folder("eye_path");
    write_text(folder + "/moves.json", R"({"events": [{"event": "menu", "confirm": true, "checked": true},
        {"event": "notify", "eye": [300, 200, 400]}, {"event": "notify", "eye": [-300, -100, 200]},
        {"event": "orbit", "steps": 5}]})");
    const std::vector<std::vector<std::string>> runs = {
        {},  // the demo, orbited
        {"--scene", kModels + "Collada/teapots.DAE", "--tag-groups=2", "--menu", "on", "--orbit", "12"},
        {"--scene", kModels + "FBX/spider.fbx", "--tag-groups=3", "--menu", "on", "--orbit", "12"},
        {"--scene", kModels + "Collada/duck.dae", "--tag-groups=3", "--events", folder + "/moves.json"}};
    std::vector<std::string> files;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        for (const char* again : {"/a", "/b"}) {
            std::vector<std::string> arguments = runs[i];
            arguments.insert(arguments.end(), {"--no-pictures", "--out", folder + "/" + std::to_string(i) + again});
            const HostRun run = run_host(arguments);
            ASSERT_EQ(run.exit_code, 0) << run.output;
        }
        files.push_back(folder + "/" + std::to_string(i) + "/a/scene.gltf");
        EXPECT_TRUE(read_text(files.back()) == read_text(folder + "/" + std::to_string(i) + "/b/scene.gltf")) << i;
    }
    // The demo's file read back follows its camera's keys (--camera-path) to where the orbit ended.
    const std::string replay = folder + "/replay";
    const HostRun follow = run_host({"--scene", files[0], "--camera-path", "--no-pictures", "--out", replay});
    ASSERT_EQ(follow.exit_code, 0) << follow.output;
    files.push_back(replay + "/scene.gltf");
    const auto keys = [](const std::string& file) {
        const Json document = Json::parse(read_text(file));
        return document["accessors"][document["animations"][0]["samplers"][0]["input"].get<int>()]["count"];
    };
    EXPECT_EQ(keys(files.back()), keys(files[0]));
    const refhost::Camera orbited = load_scene(host, folder + "/0/a/scene.json").tree().camera_data();
    const refhost::Camera followed = load_scene(host, replay + "/scene.json").tree().camera_data();
    EXPECT_LT((refhost::imath(followed.eye) - refhost::imath(orbited.eye)).length(), 1e-4);
    EXPECT_LT((refhost::imath(followed.target) - refhost::imath(orbited.target)).length(), 1e-4);
    // Nothing to follow: no model, or a model whose camera no animation moves.
    for (const std::string& scene : {data_file("billboards.json"), kModels + "Collada/teapots.DAE"}) {
        const HostRun refused = run_host({"--scene", scene, "--camera-path", "--out", folder + "/none"});
        EXPECT_EQ(refused.exit_code, 1) << refused.output;
        EXPECT_EQ(refused.output.find('\n'), refused.output.size() - 1) << refused.output;
    }

    const HostRun facing = node(FTV_FACING, files);
    EXPECT_EQ(facing.exit_code, 0) << facing.output;
    const HostRun valid = node(FTV_VALIDATE, files);
    EXPECT_EQ(valid.exit_code, 0) << valid.output;

    // The check fails a camera keyed along another node's path.
    Json document = Json::parse(read_text(files[1]));
    Json& channels = document["animations"][0]["channels"];
    channels[0]["sampler"] = channels[2]["sampler"];
    write_text(folder + "/wrong.gltf", document.dump());
    const HostRun wrong = node(FTV_FACING, {folder + "/wrong.gltf"});
    EXPECT_EQ(wrong.exit_code, 1) << wrong.output;
    EXPECT_NE(wrong.output.find("facing off by"), std::string::npos) << wrong.output;
}

// Random turns, scales and shears: a TRS comes back to within float
// rounding; a sheared matrix gets a TRS at least as near as the one Imath's
// decomposition gives when its shear is dropped.
TEST(NearestTrs, RecoversATrsAndBeatsDroppingTheShear) {
    Imath::Rand48 random(30);
    for (int i = 0; i < 2000; ++i) {
        const Imath::V3d scale(random.nextf(0.1, 5), random.nextf(0.1, 5), random.nextf(-5, -0.1) * (i % 2 ? 1 : -1));
        const Imath::V3d shear =
            i % 3 ? Imath::V3d(random.nextf(-1, 1), random.nextf(-1, 1), random.nextf(-1, 1)) : Imath::V3d(0);
        const Imath::V3d angles(random.nextf(-M_PI, M_PI), random.nextf(-M_PI, M_PI), random.nextf(-M_PI, M_PI));
        Imath::M44d s, h, r, t;  // Imath's order: scaled, sheared, turned, moved
        s.setScale(scale);
        h.setShear(shear);
        r.setEulerAngles(angles);
        t.setTranslation(Imath::V3d(random.nextf(-9, 9), random.nextf(-9, 9), random.nextf(-9, 9)));
        const Imath::M44d m = s * h * r * t;
        const ftv::Mat4 given = refhost::mat4(m);
        const ftv_cli::Trs trs = ftv_cli::nearest_trs(given);
        const Imath::M44d back = ftv_cli::trs_matrix(trs);
        for (int j = 0; j < 3; ++j) EXPECT_EQ(back[3][j], given.m[3][j]) << i;
        if (shear == Imath::V3d(0)) {
            EXPECT_LT(ftv_cli::trs_error(given, trs), 1e-6) << i;
            continue;
        }
        Imath::V3d found_scale, found_shear, found_angles, found_move;
        Imath::extractSHRT(refhost::imath(given), found_scale, found_shear, found_angles, found_move);
        s.setScale(found_scale);
        r.setEulerAngles(found_angles);
        const Imath::M44d dropped = s * r;
        double ours = 0, theirs = 0;
        for (int a = 0; a < 3; ++a)
            for (int b = 0; b < 3; ++b) {
                ours += std::pow(back[a][b] - given.m[a][b], 2);
                theirs += std::pow(dropped[a][b] - given.m[a][b], 2);
            }
        EXPECT_LE(ours, theirs * (1 + 1e-6) + 1e-10) << i;
    }
}

}  // namespace
