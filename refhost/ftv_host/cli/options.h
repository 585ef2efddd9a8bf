// ftv-host's command line: what it reads, what it runs and where it writes,
// and the events the options ask for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/event_script.h"
#include "formats/model_import.h"

namespace ftv_cli {

// Exit statuses, as --help gives them.
constexpr int kInputFailed = 1;  // the command line, a scene file or an event file is wrong
constexpr int kHostFailed = 3;   // a library did not load, the plug-in misused the host, or an output failed

struct Options {
    std::string scene_file;
    std::string events_file;
    std::string out_dir = "out";
    std::string module_path;
    std::string pane_path;
    std::uint32_t orbit_steps = 0;
    bool orbit_given = false;
    bool pictures = true;
    bool japanese = false;
    std::vector<std::string> clicks;
    std::string menu;
    std::vector<std::string> eye;
    std::string attribute_path;
    std::string attribute_answer = "on";
    std::vector<std::string> create_at;
    std::vector<std::string> selection;
    bool notify = false;
    bool camera_path = false;
    bool explain = false;
    std::vector<std::string> tags;
    std::string tag_groups;  // the mode; empty without --tag-groups
    double import_seconds = 0;  // 0: as the model's size asks
};

// The options of a command line, the module and the pane library looked for
// in folder unless it says otherwise; or, when the command line asks for
// help or is wrong, the exit code after the help or the error is printed.
std::optional<int> read_options(int argc, char** argv, const std::string& folder, Options& options);

// The tags the options ask the model import for.
ModelTags model_tags(const Options& options);

// Without a scene file the demo scene is orbited unless --orbit says otherwise.
std::uint32_t orbit_steps(const Options& options);

// The eye --eye asks for.
std::optional<ftv::Vec3> eye_option(const Options& options);

// The events the options ask for, in a fixed order around the script's:
// initialisation (the host initialises the plug-in on every scene it opens),
// --menu, --click, --attribute, --create, the script, --notify, --orbit.
std::vector<Event> events_of(const Options& options, std::vector<Event> script);

}  // namespace ftv_cli
