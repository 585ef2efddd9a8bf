// Crafted models and names that once leaked files, hung, crashed or drove the
// terminal: each is refused in one line naming it (or, for what a model may
// refer to without being read, runs), writes nothing when refused, and opens
// nothing outside the model's folder, as inotify sees it.
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>

#include "case_names.h"
#include "host_run.h"

namespace {

using namespace ftv_cli_testing;
namespace fs = std::filesystem;

// A triangle in a glTF file: its buffer at buffer_uri, a texture image at image_uri when given,
// under a chain of nesting nodes.
std::string gltf(const std::string& buffer_uri, const std::string& image_uri = "", int nesting = 1) {
    std::string nodes;
    for (int i = 0; i + 1 < nesting; ++i) nodes += "{\"children\": [" + std::to_string(i + 1) + "]}, ";
    const std::string image = image_uri.empty() ? "" : R"(, "material": 0}]}], "materials": [{"pbrMetallicRoughness":
        {"baseColorTexture": {"index": 0}}}], "textures": [{"source": 0}], "images": [{"uri": ")" + image_uri + "\"";
    return R"({"asset": {"version": "2.0"}, "scene": 0, "scenes": [{"nodes": [0]}], "nodes": [)" + nodes +
           R"({"mesh": 0}], "meshes": [{"primitives": [{"attributes": {"POSITION": 0})" + image +
           (image.empty() ? "}]}]" : "}]") +
           R"(, "accessors": [{"bufferView": 0, "componentType": 5126, "count": 3, "type": "VEC3",
               "min": [0, 0, 0], "max": [1, 1, 0]}],
           "bufferViews": [{"buffer": 0, "byteLength": 36}], "buffers": [{"uri": ")" +
           buffer_uri + R"(", "byteLength": 36}]})";
}

std::string triangle_bytes() {
    const float xyz[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    return std::string(reinterpret_cast<const char*>(xyz), sizeof xyz);
}

struct Crafted {
    const char* what;
    // Makes the files in folder/model (folder/outside holds a secret.bin and
    // a secret.mtl) and returns the model's name there and the extra options.
    std::function<std::string(const std::string& model, std::vector<std::string>& options)> make;
    int exit_code;
    std::string name_shown;  // the name as the line shows it, when not as given
    std::string environment = "";
};

const Crafted kCrafted[] = {
    {"a glTF buffer up out of the folder", [](const std::string& model, auto&) {
         write_text(model + "/a.gltf", gltf("../outside/secret.bin"));
         return "a.gltf";
     }, 1, ""},
    {"a glTF buffer at an absolute path", [](const std::string& model, auto&) {
         write_text(model + "/a.gltf", gltf(fs::absolute(model + "/../outside/secret.bin").string()));
         return "a.gltf";
     }, 1, ""},
    {"a glTF buffer through a link that leads out", [](const std::string& model, auto&) {
         fs::create_symlink("../outside/secret.bin", model + "/link.bin");
         write_text(model + "/a.gltf", gltf("link.bin"));
         return "a.gltf";
     }, 1, ""},
    {"a glTF image outside, which is never opened", [](const std::string& model, auto&) {
         write_text(model + "/mesh.bin", triangle_bytes());
         write_text(model + "/a.gltf", gltf("mesh.bin", "../outside/secret.bin"));
         return "a.gltf";
     }, 0, ""},
    {"an OBJ's mtllib up out of the folder", [](const std::string& model, auto&) {
         write_text(model + "/a.obj", "mtllib ../outside/secret.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl m\nf 1 2 3\n");
         return "a.obj";
     }, 1, ""},
    {"a glTF buffer that is a FIFO", [](const std::string& model, auto&) {
         mkfifo((model + "/fifo.bin").c_str(), 0600);
         write_text(model + "/a.gltf", gltf("fifo.bin"));
         return "a.gltf";
     }, 1, ""},
    {"100000 levels of nodes in a glTF file", [](const std::string& model, auto&) {
         write_text(model + "/mesh.bin", triangle_bytes());
         write_text(model + "/a.gltf", gltf("mesh.bin", "", 100000));
         return "a.gltf";
     }, 1, ""},
    {"a FIFO as the scene", [](const std::string& model, auto&) {
         mkfifo((model + "/a.gltf").c_str(), 0600);
         return "a.gltf";
     }, 1, ""},
    {"a folder named as a model, with an option that needs a model", [](const std::string& model, auto& options) {
         fs::create_directory(model + "/x.obj");
         options = {"--tag-groups"};
         return "x.obj";
     }, 1, ""},
    {"a name with a newline and an escape sequence", [](const std::string& model, auto&) {
         write_text(model + "/a\nb\x1b[2Jc.obj", "not a model\n");
         return "a\nb\x1b[2Jc.obj";
     }, 1, "a\\nb\\x1b[2Jc.obj"},
    {"an importer that crashes", [](const std::string& model, auto&) {
         write_text(model + "/mesh.bin", triangle_bytes());
         write_text(model + "/a.gltf", gltf("mesh.bin"));
         return "a.gltf";
     }, 1, "", "FTV_TEST_IMPORTER_RAISES=11"},
    {"an importer that never answers", [](const std::string& model, auto& options) {
         write_text(model + "/mesh.bin", triangle_bytes());
         write_text(model + "/a.gltf", gltf("mesh.bin"));
         options = {"--import-seconds", "0.5"};
         return "a.gltf";
     }, 1, "", "FTV_TEST_IMPORTER_RAISES=19"},
};

void PrintTo(const Crafted& c, std::ostream* out) { *out << c.what; }

class CraftedModel : public ::testing::TestWithParam<Crafted> {};

TEST_P(CraftedModel, IsRefusedInOneLineOrRunsAndNeverOpensAFileOutside) {
    const Crafted& c = GetParam();
    const std::string folder = fresh_folder("crafted_" + std::to_string(&c - kCrafted));
    const std::string model = folder + "/model", outside = folder + "/outside", out = folder + "/out";
    fs::create_directories(model);
    fs::create_directories(outside);
    // What a model would read there: a triangle, and materials.
    write_text(outside + "/secret.bin", triangle_bytes());
    write_text(outside + "/secret.mtl", "newmtl m\nKd 1 0 0\n");
    std::vector<std::string> options;
    const std::string name = c.make(model, options);

    const int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, outside.c_str(), IN_OPEN | IN_ACCESS), 0);
    // Run in the model's folder, so that the name is passed as the test wrote it.
    const std::string command = "cd \"$1\" || exit 9; host=$2 out=$3; shift 3; " + c.environment +
                                " \"$host\" --scene \"$0\" --out \"$out\" --no-pictures \"$@\"";
    std::vector<std::string> shell{"-c", command, name, model, FTV_HOST_PATH, out};
    shell.insert(shell.end(), options.begin(), options.end());
    const HostRun run = run_program("sh", shell);

    char events[4096];
    EXPECT_LE(read(watch, events, sizeof events), 0) << "a file outside the folder was opened";
    close(watch);
    EXPECT_EQ(run.exit_code, c.exit_code) << run.output;
    if (c.exit_code == 0) return;
    const std::string shown = c.name_shown.empty() ? name : c.name_shown;
    EXPECT_EQ(run.output.rfind("ftv-host: " + shown + ": ", 0), 0u) << run.output;
    EXPECT_EQ(run.output.find('\n'), run.output.size() - 1) << run.output;
    EXPECT_EQ(run.output.find('\x1b'), std::string::npos);
    EXPECT_GT(run.output.size(), shown.size() + 14) << "says why";
    EXPECT_FALSE(fs::exists(out));
}

INSTANTIATE_TEST_SUITE_P(Table, CraftedModel, ::testing::ValuesIn(kCrafted),
                         [](const auto& info) { return testing_support::case_name(info.param.what); });

}  // namespace
