#include "host_run.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "scene_file.h"

namespace ftv_cli_testing {

namespace {

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
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
    const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / ("ftv_host_" + name);
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
