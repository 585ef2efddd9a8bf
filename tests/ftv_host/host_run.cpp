#include "host_run.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "formats/scene_file.h"

namespace ftv_cli_testing {

namespace {

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Removes the scratch folder when the test program ends with every test
// passed; after a failure it stays, to be looked at.
struct RemovedAfterSuccess {
    std::filesystem::path folder;
    ~RemovedAfterSuccess() {
        std::error_code ignored;
        if (::testing::UnitTest::GetInstance()->Passed()) std::filesystem::remove_all(folder, ignored);
    }
};

// This process's scratch folder, under TMPDIR with a name no other run holds,
// so that two runs of the suite on one machine never share a file.
const std::filesystem::path& scratch_root() {
    static const RemovedAfterSuccess scratch{[] {
        const char* temporary = std::getenv("TMPDIR");
        std::string pattern = std::string(temporary != nullptr && *temporary != '\0' ? temporary : "/tmp") +
                              "/ftv_host_XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a scratch folder " + pattern);
        return std::filesystem::path(pattern);
    }()};
    return scratch.folder;
}

}  // namespace

HostRun run_host(const std::vector<std::string>& arguments, const std::string& input) {
    return run_program(FTV_HOST_PATH, arguments, input);
}

HostRun run_program(const std::string& program, const std::vector<std::string>& arguments, const std::string& input,
                    const std::string& errors) {
    std::string command = quoted(program);
    for (const std::string& argument : arguments) command += " " + quoted(argument);
    if (!input.empty()) command += " < " + quoted(input);
    command += errors.empty() ? " 2>&1" : " 2> " + quoted(errors);
    HostRun run;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
    const int status = pclose(pipe);
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string fresh_folder(const std::string& name) {
    const std::filesystem::path folder = scratch_root() / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder.string();
}

std::string data_file(const std::string& name) { return std::string(FTV_TEST_DATA) + "/" + name; }

std::string read_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void write_text(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

ftv_cli::PluginSession session_beside_host() {
    const std::filesystem::path folder = std::filesystem::path(FTV_HOST_PATH).parent_path();
    return ftv_cli::PluginSession((folder / "Z_FaceToViewer.so").string(), (folder / "pane/Z_PnlHub.so").string());
}

refhost::Scene& load_scene(refhost::ReferenceHost& host, const std::string& path) {
    refhost::Scene& scene = host.new_scene();
    ftv_cli::read_scene(path, scene.tree());
    return scene;
}

}  // namespace ftv_cli_testing
