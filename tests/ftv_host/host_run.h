// Running ftv-host as a process, in a folder of its own per test.
#pragma once

#include <string>
#include <vector>

#include "host_objects/reference_host.h"
#include "run/plugin_session.h"

namespace ftv_cli_testing {

struct HostRun {
    int exit_code = -1;
    std::string output;  // standard output and error together
};

// Runs ftv-host with these arguments (each quoted for the shell), its
// standard input read from a file when one is named.
HostRun run_host(const std::vector<std::string>& arguments, const std::string& input = "");
// Runs a program found on the PATH the same way; its standard error goes to
// errors when a file is named, else into the output.
HostRun run_program(const std::string& program, const std::vector<std::string>& arguments,
                    const std::string& input = "", const std::string& errors = "");
// A new empty folder for one test's files, inside a scratch folder of this
// process's own (mkdtemp under TMPDIR), removed when every test passed.
std::string fresh_folder(const std::string& name);
std::string data_file(const std::string& name);
std::string read_text(const std::string& path);
void write_text(const std::string& path, const std::string& text);
// A session of the module and the pane library that ftv-host runs.
ftv_cli::PluginSession session_beside_host();
// A scene file read into a new scene of host.
refhost::Scene& load_scene(refhost::ReferenceHost& host, const std::string& path);

}  // namespace ftv_cli_testing
