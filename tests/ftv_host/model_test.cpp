// Models of other tools read through Assimp and scenes written as glTF: what
// the import makes of a file's nodes, that tagging leaves the model where it
// was and turns it, the round trip through glTF to the bit, and that what
// ftv-host writes passes the glTF validator and the scene schema.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "host_run.h"
#include "judge/plugin_conventions.h"
#include "formats/model_import.h"
#include "module_fixture.h"
#include "scene/imath_values.h"
#include "formats/scene_file.h"
#include "scenes.h"

namespace {

using namespace ftv_cli_testing;
namespace fs = std::filesystem;

const std::string kModels = "/usr/share/assimp/models/";
const std::string kTeapots = kModels + "Collada/teapots.DAE";  // a turned and scaled root, three moved parts

// glTF's matrices are column-major for column vectors, so the 16 numbers of
// "Tree" are, in this order, its row-vector matrix row by row.
const char kModel[] = R"({"asset": {"version": "2.0"}, "scene": 0, "scenes": [{"nodes": [0, 4, 5]}],
 "nodes": [{"name": "Tree", "matrix": [0,0,-1,0, 0,1,0,0, 1,0,0,0, 5,0,2,1], "children": [1, 2, 3],
            "extras": {"Z_FaceToViewer": 2}},
           {"name": "#center", "translation": [0, 1, 0]}, {"name": "Leafy", "mesh": 0}, {"name": "a/b"},
           {"name": "Tree", "mesh": 0, "translation": [0, 0, -3]},
           {"name": "view", "camera": 0, "translation": [0, 2, 9]}],
 "cameras": [{"type": "perspective", "perspective": {"yfov": 0.7, "znear": 0.1}}],
 "meshes": [{"name": "Leaf", "primitives": [{"attributes": {"POSITION": 0}}]}],
 "accessors": [{"bufferView": 0, "componentType": 5126, "count": 3, "type": "VEC3", "min": [0,0,0], "max": [1,1,0]}],
 "bufferViews": [{"buffer": 0, "byteLength": 36}],
 "buffers": [{"byteLength": 36, "uri": "data:application/octet-stream;base64,AAAAAAAAAAAAAAAAAACAPwAAAAAAAAAAAAAAAAAAgD8AAAAA"}]})";

class ModelTest : public testing_support::HostTest {};

TEST_F(ModelTest, NodesBecomePartsWithTheirMatricesTagsMarkersAndNamesAndTheCameraGivesTheEye) {
    const std::string file = fresh_folder("model_nodes") + "/model.gltf";
    write_text(file, kModel);
    refhost::Scene& scene = host.new_scene();
    ftv_cli::import_model(file, {}, scene.tree());

    const refhost::Node* tree = scene.tree().find("/Tree");
    ASSERT_NE(tree, nullptr);
    const float rows[16] = {0, 0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 5, 0, 2, 1};
    EXPECT_EQ(std::memcmp(&tree->transformation, rows, sizeof rows), 0);
    EXPECT_EQ(testing_support::stored_value(*tree), 2);
    ASSERT_EQ(tree->first()->kind, refhost::kMarker);
    EXPECT_EQ(tree->first()->center.y, 1.0f);
    // A "/" and a name a sibling has, each told apart.
    const refhost::Node* leaf = scene.tree().find("/Tree/Leafy/Leaf");
    ASSERT_NE(leaf, nullptr);
    EXPECT_EQ(leaf->mesh.vertices.at(1).x, 1.0f);
    EXPECT_NE(scene.tree().find("/Tree/a_b"), nullptr);
    ASSERT_NE(scene.tree().find("/Tree~2"), nullptr);
    EXPECT_EQ(scene.tree().find("/Tree~2")->transformation.m[3][2], -3.0f);
    // The camera's node is no part; the eye is where it stands (once, not twice), looking along its -Z.
    EXPECT_EQ(scene.tree().find("/view"), nullptr);
    const refhost::Camera& camera = scene.tree().camera_data();
    EXPECT_EQ(std::vector<float>({camera.eye.x, camera.eye.y, camera.eye.z}), std::vector<float>({0, 2, 9}));
    EXPECT_TRUE(camera.target.x == 0 && camera.target.y == 2 && camera.target.z < 9);
}

// World positions of every vertex of the scene a run wrote, in node order.
std::vector<ftv::Vec3> world_vertices(refhost::Scene& scene) {
    std::vector<ftv::Vec3> out;
    for (std::uint32_t id = 1; id <= scene.tree().node_count(); ++id) {
        const refhost::Node& node = *scene.tree().node_by_id(id);
        if (node.kind == refhost::kMesh)
            for (const ftv::Vec3& v : node.mesh.vertices) out.push_back(refhost::transform_point(v, scene.tree().local_to_world(node)));
    }
    return out;
}

TEST_F(ModelTest, TaggedGroupsStayWhereTheModelPutsThemAndTurnTowardTheEye) {
    const std::string folder = fresh_folder("model_tag_groups");
    ASSERT_EQ(run_host({"--scene", kTeapots, "--no-pictures", "--out", folder + "/plain"}).exit_code, 0);
    ASSERT_EQ(run_host({"--scene", kTeapots, "--tag-groups", "--no-pictures", "--out", folder + "/tagged"}).exit_code, 0);
    const HostRun run = run_host({"--scene", kTeapots, "--tag-groups=2", "--menu", "on", "--eye", "300", "200", "400",
                                  "--notify", "--no-pictures", "--out", folder + "/turned"});
    ASSERT_EQ(run.exit_code, 0) << run.output;
    EXPECT_NE(run.output.find("parts turned: 3"), std::string::npos) << run.output;

    const std::vector<ftv::Vec3> plain = world_vertices(load_scene(host, folder + "/plain/scene.json"));
    const std::vector<ftv::Vec3> tagged = world_vertices(load_scene(host, folder + "/tagged/scene.json"));
    ASSERT_EQ(tagged.size(), plain.size());
    for (std::size_t i = 0; i < plain.size(); ++i) {
        EXPECT_NEAR(tagged[i].x, plain[i].x, 1e-4) << i;
        EXPECT_NEAR(tagged[i].y, plain[i].y, 1e-4) << i;
        EXPECT_NEAR(tagged[i].z, plain[i].z, 1e-4) << i;
    }
    refhost::Scene& turned = load_scene(host, folder + "/turned/scene.json");
    for (const refhost::Node* part : refhost::reached_tagged(turned.tree())) {
        SCOPED_TRACE(turned.tree().path_of(*part));
        EXPECT_EQ(refhost::faces_eye(turned.tree(), *part, 1e-5), "");
    }
}

TEST_F(ModelTest, AWrittenGltfFileReadsBackToTheSameTransformationsCentresTagsAndCamera) {
    const std::string folder = fresh_folder("model_round_trip");
    const std::vector<std::vector<std::string>> firsts = {
        {"--out", folder + "/demo"},
        {"--scene", kTeapots, "--tag-groups", "--menu", "on", "--notify", "--no-pictures", "--out", folder + "/teapots"}};
    for (std::vector<std::string> first : firsts) {
        const std::string out = first.back();
        ASSERT_EQ(run_host(first).exit_code, 0);
        ASSERT_EQ(run_host({"--scene", out + "/scene.gltf", "--no-pictures", "--out", out + "/again"}).exit_code, 0);
        refhost::Scene& before = load_scene(host, out + "/scene.json");
        refhost::Scene& after = load_scene(host, out + "/again/scene.json");
        ASSERT_EQ(after.tree().node_count(), before.tree().node_count());
        for (std::uint32_t id = 2; id <= before.tree().node_count(); ++id) {
            const refhost::Node& was = *before.tree().node_by_id(id);
            if (was.kind == refhost::kMesh) continue;  // meshes of one part come back as one mesh's primitives
            const refhost::Node* is = after.tree().find(before.tree().path_of(was));
            ASSERT_NE(is, nullptr) << before.tree().path_of(was);
            EXPECT_EQ(std::memcmp(&is->transformation, &was.transformation, sizeof was.transformation), 0);
            EXPECT_EQ(std::memcmp(&is->center, &was.center, sizeof was.center), 0);
            EXPECT_EQ(testing_support::stored_value(*is), testing_support::stored_value(was));
        }
        EXPECT_EQ(std::memcmp(&after.tree().camera_data(), &before.tree().camera_data(), sizeof(refhost::Camera)), 0);
        EXPECT_EQ(testing_support::stored_value(after.tree().root()), testing_support::stored_value(before.tree().root()));
    }
}

HostRun validate(const std::vector<std::string>& files) {
    std::vector<std::string> arguments{FTV_VALIDATE};
    arguments.insert(arguments.end(), files.begin(), files.end());
    return run_program("node", arguments);
}

TEST(WrittenFiles, PassTheGltfValidatorAndTheSceneSchemaAsDoTheSampleScenes) {
    const std::string folder = fresh_folder("model_valid");
    std::vector<std::string> files = {data_file("billboards.json"), data_file("round_trip.json")};
    const std::vector<std::vector<std::string>> runs = {
        {"--orbit", "3"},
        {"--scene", data_file("billboards.json"), "--events", data_file("events.json")},
        {"--scene", kTeapots, "--tag-groups=3", "--menu", "on", "--notify"},
        {"--scene", kModels + "FBX/spider.fbx", "--tag", "/Kopf2=2", "--click", "left", "--notify"}};
    for (std::size_t i = 0; i < runs.size(); ++i) {
        std::vector<std::string> arguments = runs[i];
        arguments.insert(arguments.end(), {"--no-pictures", "--out", folder + "/" + std::to_string(i)});
        ASSERT_EQ(run_host(arguments).exit_code, 0);
        files.insert(files.end(), {folder + "/" + std::to_string(i) + "/scene.gltf", folder + "/" + std::to_string(i) + "/scene.json"});
    }
    const HostRun run = validate(files);
    EXPECT_EQ(run.exit_code, 0) << run.output;

    // Both checks can fail: a misspelt key, an accessor past its buffer.
    std::string scene = read_text(files[0]), gltf = read_text(files[2]);
    write_text(folder + "/bad.json", scene.replace(scene.find("\"camera\""), 8, "\"camra\""));
    write_text(folder + "/bad.gltf", gltf.replace(gltf.find("\"count\":"), 8, "\"count\":9"));
    const HostRun bad = validate({folder + "/bad.json", folder + "/bad.gltf"});
    EXPECT_EQ(bad.exit_code, 1) << bad.output;
    EXPECT_EQ(bad.output.find(": ok"), std::string::npos) << bad.output;
}

// Files Assimp cannot read, or reads as nothing: one line naming the file, status 1, nothing written.
TEST(BadModelFiles, AreNamedWithTheReasonAndLeaveNothingBehind) {
    const std::string folder = fresh_folder("model_bad");
    std::string model = kModel;
    write_text(folder + "/float_tag.gltf", model.replace(model.find("\"Z_FaceToViewer\": 2"), 19, "\"Z_FaceToViewer\": 1.5"));
    write_text(folder + "/nothing.dat", "\x01\x02 nothing any reader knows\n");
    write_text(folder + "/text.fbx", "a text that is no FBX file\n");
    write_text(folder + "/no_nodes.gltf", R"({"asset": {"version": "2.0"}, "scenes": [{"nodes": []}], "scene": 0})");
    for (const std::string& file :
         {folder + "/float_tag.gltf", folder + "/nothing.dat", folder + "/text.fbx", folder + "/no_nodes.gltf",
          kModels + "invalid/empty.obj", kModels + "invalid/malformed.obj", kModels + "PLY/points.ply"}) {
        const HostRun run = run_host({"--scene", file, "--out", folder + "/out"});
        EXPECT_EQ(run.exit_code, 1) << file;
        EXPECT_EQ(run.output.rfind("ftv-host: " + file + ": ", 0), 0u) << run.output;
        EXPECT_GT(run.output.size(), file.size() + 14) << "says why";
        EXPECT_EQ(run.output.find('\n'), run.output.size() - 1) << run.output;
        EXPECT_FALSE(fs::exists(folder + "/out")) << file;
    }
}

}  // namespace
