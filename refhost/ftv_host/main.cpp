// ftv-host: runs the plug-in module on a scene as the host would, and shows
// what it did: the resulting scene file, pictures and a short summary.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>

#include "demo_scene.h"
#include "arguments.h"
#include "events.h"
#include "explain.h"
#include "gltf_export.h"
#include "host/plugin_id.h"
#include "json_output.h"
#include "model_import.h"
#include "orbit_page.h"
#include "output_files.h"
#include "plugin_session.h"
#include "scene_file.h"
#include "svg.h"

namespace {

using namespace ftv_host;

// Exit statuses, as --help gives them.
constexpr int kInputFailed = 1;  // the command line, a scene file or an event file is wrong
constexpr int kHostFailed = 3;   // a library did not load, the plug-in misused the host, or an output failed
constexpr const char* kExitStatuses =
    "Exit status:\n"
    "  0  the run is done and its outputs are written (and after --help)\n"
    "  1  the command line, the scene file or the event file is wrong\n"
    "  3  the module or the pane library does not load, the plug-in misuses the host (a reference\n"
    "     not given back, a host object misused), an output cannot be written, or anything else fails\n"
    "After 1 or 3 no output is written, and every earlier one is as it was.";

// The folder of this program, where the build puts the module and the pane library beside it.
std::string own_folder() {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : exe.parent_path().string();
}

void show_progress(std::uint32_t step, std::uint32_t steps) {
    std::fprintf(stderr, "\rorbit %u/%u", step, steps);
    if (step == steps) std::fprintf(stderr, "\r%*s\r", 24, "");
}

Json pane_json(const PaneState& pane) {
    return {{"text", pane.text}, {"icon", pane.icon}, {"texts_set", pane.texts_set}};
}

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
    bool explain = false;
    std::vector<std::string> tags;
    std::string tag_groups;  // the mode; empty without --tag-groups
};

// The tags the options ask the model import for.
ModelTags model_tags(const Options& options) {
    ModelTags tags;
    for (const std::string& text : options.tags) tags.paths.push_back(tag_argument(text));
    if (!options.tag_groups.empty()) tags.groups = mode_argument("--tag-groups", options.tag_groups);
    return tags;
}

bool switch_events(const std::vector<Event>& events) {
    for (const Event& event : events)
        if (event.type == Event::Type::menu || event.type == Event::Type::click) return true;
    return false;
}

refhost::DialogAnswer answer_named(const std::string& name) {
    if (name == "on") return {true, true};
    if (name == "plain") return {true, true, false, false};
    if (name == "upright") return {true, true, true, false};
    if (name == "exact") return {true, true, false, true};
    if (name == "off") return {true, false};
    if (name == "ok") return {true, std::nullopt};
    return {false, std::nullopt};
}

// Without a scene file the demo scene is orbited unless --orbit says otherwise.
std::uint32_t orbit_steps(const Options& options) {
    return options.orbit_given ? options.orbit_steps : options.scene_file.empty() ? 36 : 0;
}

// Three numbers of an option.
ftv::Vec3 vec3_argument(const char* option, const std::vector<std::string>& values) {
    return {float_argument(option, 0, values[0]), float_argument(option, 1, values[1]),
            float_argument(option, 2, values[2])};
}

Event event_of(Event::Type type, const std::string& option) {
    Event event;
    event.type = type;
    event.where = event.paths_where = option;
    return event;
}

// The events the options ask for, in a fixed order around the script's:
// initialisation (the host initialises the plug-in on every scene it opens),
// --menu, --click, --attribute, --create, the script, --notify, --orbit.
std::vector<Event> events_of(const Options& options, std::vector<Event> script) {
    std::vector<Event> events{event_of(Event::Type::initialize, "")};
    if (!options.menu.empty()) {
        events.push_back(event_of(Event::Type::menu, "--menu"));
        events.back().answer = answer_named(options.menu);
    }
    for (const std::string& button : options.clicks) {
        events.push_back(event_of(Event::Type::click, "--click"));
        events.back().left = button == "left";
    }
    if (!options.attribute_path.empty()) {
        events.push_back(event_of(Event::Type::attribute, "--attribute"));
        events.back().shape = options.attribute_path;
        events.back().answer = answer_named(options.attribute_answer);
    }
    if (!options.create_at.empty()) {
        // Only its --select paths can be wrong: an error names that option.
        events.push_back(event_of(Event::Type::create, "--select"));
        events.back().position = vec3_argument("--create", options.create_at);
        if (!options.selection.empty()) events.back().selection = options.selection;
    }
    for (Event& event : script) events.push_back(std::move(event));
    if (options.notify) events.push_back(event_of(Event::Type::notify, "--notify"));
    if (orbit_steps(options) > 0) {
        events.push_back(event_of(Event::Type::orbit, "--orbit"));
        events.back().steps = orbit_steps(options);
    }
    return events;
}

// A long orbit keeps every so many steps, so that the page stays small
// enough to load (each frame holds two pictures of some 20 kB).
constexpr std::uint32_t kMaxOrbitFrames = 360;

std::string frame_caption(std::uint32_t step, std::uint32_t steps) {
    return step == 0 ? "before the orbit" : "step " + std::to_string(step) + " of " + std::to_string(steps);
}

// Adds the scene as it is now to frames, then at each kept step of the
// orbit, and passes each step on to then.
Progress orbit_recorder(PluginSession& session, std::uint32_t steps, std::vector<OrbitFrame>& frames, Progress then) {
    refhost::Scene& scene = session.scene();
    const std::vector<ftv::Vec3> path = orbit_path(scene.camera_data(), 72);
    const bool on = session.working_switch_on();
    const std::uint32_t stride = (steps + kMaxOrbitFrames - 1) / kMaxOrbitFrames;
    const auto keep = [&session, &scene, &frames, path, on](std::uint32_t step, std::uint32_t steps) {
        frames.push_back(
            {frame_caption(step, steps), camera_view_svg(scene, session.pane(), on), top_view_svg(scene, path, on)});
    };
    keep(0, steps);
    return [keep, stride, then](std::uint32_t step, std::uint32_t steps) {
        if (step % stride == 0 || step == steps) keep(step, steps);
        if (then) then(step, steps);
    };
}

int run(const Options& options) {
    // Everything that can be wrong with the input is found before the plug-in runs.
    const ModelTags tags = model_tags(options);
    const bool model = !options.scene_file.empty() && is_model_file(options.scene_file);
    if (!model && (!tags.paths.empty() || tags.groups))
        throw InputError(tags.paths.empty() ? "--tag-groups" : "--tag", "",
                         "tags parts of a model that Assimp reads; a JSON scene keeps its tags in its streams");
    if (!options.selection.empty() && options.create_at.empty())
        throw InputError("--select", "", "selects shapes for the group creator, but --create is not given");
    Json scene_document;
    if (!options.scene_file.empty() && !model) scene_document = read_json_file(options.scene_file);
    std::vector<Event> script;
    if (!options.events_file.empty()) script = read_events(options.events_file);
    const std::vector<Event> events = events_of(options, std::move(script));
    std::optional<ftv::Vec3> eye;
    if (!options.eye.empty()) eye = vec3_argument("--eye", options.eye);

    PluginSession session(options.module_path, options.pane_path);
    session.host().app().japanese = options.japanese;
    refhost::Scene& scene = session.scene();
    if (options.scene_file.empty()) {
        build_demo_scene(scene);
    } else if (model) {
        import_model(options.scene_file, tags, scene);
    } else {
        read_scene(options.scene_file, scene_document, scene);
    }
    if (eye) scene.set_eye(*eye);

    const bool interactive = isatty(STDERR_FILENO) != 0;
    std::vector<OrbitFrame> frames;
    for (const Event& event : events) {
        const Progress shown = interactive && event.steps >= 8 ? Progress(show_progress) : nullptr;
        // The orbit the options ask for is also kept as pictures, step by step.
        const bool recorded = options.pictures && event.type == Event::Type::orbit && event.where == "--orbit";
        run_event(session, event, recorded ? orbit_recorder(session, event.steps, frames, shown) : shown);
    }
    // The path the eye took, for the top view.
    std::vector<ftv::Vec3> eye_path;
    if (orbit_steps(options) > 0) eye_path = orbit_path(scene.camera_data(), 72);
    const bool working_on = session.working_switch_on();

    const PaneState pane = session.pane();
    const Json pane_record = pane_json(pane);
    OutputFiles outputs;
    const std::string out = options.out_dir + "/";
    outputs.add(out + "scene.json", json_text(scene_to_json(scene, pane.present ? &pane_record : nullptr)));
    std::string not_exported;
    try {
        outputs.add(out + "scene.gltf", gltf_text(scene));
    } catch (const NotExportable& error) {
        not_exported = error.what();
    }
    if (options.pictures) {
        outputs.add(out + "view.svg", camera_view_svg(scene, pane, working_on));
        outputs.add(out + "top.svg", top_view_svg(scene, eye_path, working_on));
        if (!frames.empty()) outputs.add(out + "orbit.html", orbit_page_html("Z_FaceToViewer: the orbit", frames));
    }
    const bool stored_on = session.switch_on();
    std::vector<std::string> explanations;
    if (options.explain)
        for (const PartExplanation& part : explain_parts(scene, working_on))
            explanations.push_back(explanation_line(scene, part));
    const auto passes = session.passes();
    const auto visited = session.visited();
    const auto turned = session.turned();

    // Every reference the host handed out must have come back.
    session.release_components();
    if (!session.host().ledger().balanced() || !session.host().misuse().empty()) {
        std::cerr << "ftv-host: the plug-in misused the host:\n" << session.host().ledger().report() << "\n";
        for (const std::string& line : session.host().misuse()) std::cerr << "  " << line << "\n";
        return kHostFailed;
    }
    outputs.commit();

    std::cout << "ftv-host: " << (options.scene_file.empty() ? "built-in demo scene" : options.scene_file) << "\n"
              << "  update passes: " << passes << ", parts visited: " << visited << ", parts turned: " << turned
              << "\n"
              << "  switch: " << (working_on ? "on" : "off")
              << (stored_on != working_on ? std::string(" (stored: ") + (stored_on ? "on" : "off") + ")" : "")
              << ", pane: "
              << (pane.present ? "\"" + pane.text + "\"" : "(not registered)") << "\n";
    if (!working_on && !switch_events(events))
        std::cout << "  the scene stores " << (scene.root().stream(ftv::kMainId) == nullptr ? "no switch" : "it off")
                  << ", so the plug-in turns nothing; --menu on or --click left switches it on\n";
    for (const auto& file : outputs.files()) std::cout << "  wrote " << file.first << "\n";
    if (!not_exported.empty()) std::cerr << "ftv-host: warning: scene.gltf not written: " << not_exported << "\n";
    if (options.explain) {
        std::cout << "parts with the plug-in's stream: " << explanations.size() << "\n";
        for (const std::string& line : explanations) std::cout << "  " << line << "\n";
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    const std::string folder = own_folder();
    options.module_path = folder + "/Z_FaceToViewer.so";
    options.pane_path = folder + "/pane/Z_PnlHub.so";

    CLI::App app{"Runs the Z_FaceToViewer plug-in on a scene as its host would. Without a scene: a built-in demo "
                 "scene and an orbit of the camera around it. Order: initialisation, --menu, --click, --attribute, "
                 "--create, the --events script, --notify, --orbit."};
    app.add_option("-s,--scene", options.scene_file,
                   "Scene to load instead of the demo scene: ftv-host's JSON, or a model in any format Assimp reads "
                   "(glTF, FBX, Collada, OBJ, 3DS, X, ...)");
    app.add_option("--tag", options.tags,
                   "Tag the model's part at PATH (repeatable): MODE 1 turns it toward the eye, 2 upright, 3 facing "
                   "exactly; it gives its transformation to its contents and gets a #center marker if it has none")
        ->type_name("PATH[=MODE]");
    app.add_option("--tag-groups", options.tag_groups,
                   "Tag every part of the model that holds a mesh and that the update pass reaches, as --tag does")
        ->expected(0, 1)
        ->default_str("1")
        ->type_name("[MODE]");
    app.add_option("-e,--events", options.events_file, "Event script (JSON) to run after initialisation");
    auto* orbit_option =
        app.add_option("--orbit", options.orbit_steps,
                       "Move the eye around the target in N steps, notifying at each; also writes orbit.html")
            ->check(CLI::Range(1u, 100000u));
    app.add_option("--menu", options.menu, "Run the settings dialog, answered on, off, ok (as shown) or cancel")
        ->check(CLI::IsMember({"on", "off", "ok", "cancel"}));
    app.add_option("--click", options.clicks, "Click the pane: left or right (repeatable)")
        ->check(CLI::IsMember({"left", "right"}));
    app.add_option("--eye", options.eye, "Camera eye position X Y Z, set before anything runs")
        ->expected(3)
        ->type_name("NUMBER");
    app.add_option("--attribute", options.attribute_path, "Run the attribute dialog on the shape at this path");
    app.add_option("--attribute-answer", options.attribute_answer,
                   "Its answer: on (the other boxes as shown), plain (tag 1), upright (2), exact (3), off, ok (as "
                   "shown) or cancel")
        ->check(CLI::IsMember({"on", "plain", "upright", "exact", "off", "ok", "cancel"}))
        ->capture_default_str();
    app.add_option("--create", options.create_at, "Run the group creator with input at X Y Z")
        ->expected(3)
        ->type_name("NUMBER");
    app.add_option("--select", options.selection, "Select the shape at this path for --create (repeatable)");
    app.add_flag("--notify", options.notify, "Send one update notification after the other events");
    app.add_option("-o,--out", options.out_dir,
                   "Folder for scene.json, scene.gltf, view.svg, top.svg and (with an orbit) orbit.html")
        ->capture_default_str();
    app.add_option("--module", options.module_path, "Plug-in module to load")->capture_default_str();
    app.add_option("--pane", options.pane_path, "Stand-in pane library to load")->capture_default_str();
    app.add_flag("!--no-pictures", options.pictures, "Write the scene files only");
    app.add_flag("--japanese", options.japanese, "Report a Japanese user interface to the plug-in");
    app.add_flag("--explain", options.explain,
                 "After the events, say for every part with the plug-in's stream whether it turns, and why not");
    app.footer(kExitStatuses);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == 0) return app.exit(error);  // --help
        // In the form of every input error: where, then what.
        std::string what = error.what();
        if (!what.empty() && what[0] != '-') what = "command line: " + what;
        std::cerr << "ftv-host: " << what << "\n";
        return kInputFailed;
    }
    options.orbit_given = orbit_option->count() > 0;

    try {
        return run(options);
    } catch (const InputError& error) {
        std::cerr << "ftv-host: " << error.what() << "\n";
        return kInputFailed;
    } catch (const refhost::LoadError& error) {
        std::cerr << "ftv-host: " << error.what() << "\n";
        return kHostFailed;
    } catch (const std::exception& error) {
        std::cerr << "ftv-host: " << error.what() << "\n";
        return kHostFailed;
    }
}
