// ftv-host: runs the plug-in module on a scene as the host would, and shows
// what it did: the resulting scene file, pictures and a short summary.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "demo_scene.h"
#include "events.h"
#include "output_files.h"
#include "plugin_session.h"
#include "scene_file.h"
#include "svg.h"

namespace {

using namespace ftv_host;

constexpr int kInputFailed = 1;
constexpr int kHostFailed = 3;

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
    std::vector<float> eye;
    std::string attribute_path;
    std::string attribute_answer = "on";
    std::vector<float> create_at;
    std::vector<std::string> selection;
    bool notify = false;
};

refhost::DialogAnswer answer_named(const std::string& name) {
    if (name == "on") return {true, true};
    if (name == "off") return {true, false};
    if (name == "ok") return {true, std::nullopt};
    return {false, std::nullopt};
}

int run(const Options& options) {
    // Everything that can be wrong with the input is found before the plug-in runs.
    Json scene_document;
    if (!options.scene_file.empty()) scene_document = read_json_file(options.scene_file);
    std::vector<Event> events;
    if (!options.events_file.empty()) events = read_events(options.events_file);

    PluginSession session(options.module_path, options.pane_path);
    session.host().app().japanese = options.japanese;
    refhost::Scene& scene = session.scene();
    if (options.scene_file.empty()) {
        build_demo_scene(scene);
    } else {
        read_scene(options.scene_file, scene_document, scene);
    }

    if (!options.eye.empty()) scene.camera_data().eye = {options.eye[0], options.eye[1], options.eye[2]};

    // The host initialises the plug-in on every scene it opens. The events
    // given as options come first, in a fixed order, then the script's.
    session.initialize();
    if (!options.menu.empty()) session.menu(answer_named(options.menu));
    for (const std::string& button : options.clicks)
        session.click(button == "left" ? refhost::kLeftButtonDown : refhost::kRightButtonDown);
    if (!options.attribute_path.empty()) {
        refhost::Node* shape = scene.find(options.attribute_path);
        if (shape == nullptr) throw InputError("--attribute", "", "no shape at path \"" + options.attribute_path + "\"");
        session.attribute(*shape, answer_named(options.attribute_answer));
    }
    if (!options.create_at.empty()) {
        std::vector<refhost::Node*> selection;
        for (const std::string& path : options.selection) {
            refhost::Node* shape = scene.find(path);
            if (shape == nullptr) throw InputError("--select", "", "no shape at path \"" + path + "\"");
            selection.push_back(shape);
        }
        if (!options.selection.empty()) scene.selection() = selection;
        session.create({options.create_at[0], options.create_at[1], options.create_at[2]}, 0, 0);
    }
    for (const Event& event : events) run_event(session, event);
    if (options.notify) session.notify();
    const std::uint32_t steps = options.orbit_given ? options.orbit_steps : options.scene_file.empty() ? 36 : 0;
    std::vector<ftv::Vec3> eye_path;
    if (steps > 0) {
        const bool interactive = isatty(STDERR_FILENO) != 0 && steps >= 8;
        orbit(session, steps, interactive ? show_progress : nullptr);
        // The path the eye took, for the top view.
        const refhost::Camera camera = scene.camera_data();
        for (std::uint32_t i = 0; i < 72; ++i) {
            const double a = 2 * M_PI * i / 72;
            const double dx = camera.eye.x - camera.target.x, dz = camera.eye.z - camera.target.z;
            eye_path.push_back({static_cast<float>(camera.target.x + dx * std::cos(a) + dz * std::sin(a)), camera.eye.y,
                                static_cast<float>(camera.target.z - dx * std::sin(a) + dz * std::cos(a))});
        }
    }

    const PaneState pane = session.pane();
    const Json pane_record = pane_json(pane);
    OutputFiles outputs;
    const std::string out = options.out_dir + "/";
    outputs.add(out + "scene.json", json_text(scene_to_json(scene, pane.present ? &pane_record : nullptr)));
    if (options.pictures) {
        outputs.add(out + "view.svg", camera_view_svg(scene, pane));
        outputs.add(out + "top.svg", top_view_svg(scene, eye_path));
    }
    const bool switch_on = session.switch_on();
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
              << "  switch: " << (switch_on ? "on" : "off") << ", pane: "
              << (pane.present ? "\"" + pane.text + "\"" : "(not registered)") << "\n";
    for (const auto& file : outputs.files()) std::cout << "  wrote " << file.first << "\n";
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
    app.add_option("-s,--scene", options.scene_file, "Scene file (JSON) to load instead of the demo scene");
    app.add_option("-e,--events", options.events_file, "Event script (JSON) to run after initialisation");
    auto* orbit_option =
        app.add_option("--orbit", options.orbit_steps, "Move the eye around the target in N steps, notifying at each")
            ->check(CLI::Range(1u, 100000u));
    app.add_option("--menu", options.menu, "Run the settings dialog, answered on, off, ok (as shown) or cancel")
        ->check(CLI::IsMember({"on", "off", "ok", "cancel"}));
    app.add_option("--click", options.clicks, "Click the pane: left or right (repeatable)")
        ->check(CLI::IsMember({"left", "right"}));
    app.add_option("--eye", options.eye, "Camera eye position X Y Z, set before anything runs")->expected(3);
    app.add_option("--attribute", options.attribute_path, "Run the attribute dialog on the shape at this path");
    app.add_option("--attribute-answer", options.attribute_answer, "Its answer: on, off, ok (as shown) or cancel")
        ->check(CLI::IsMember({"on", "off", "ok", "cancel"}))
        ->capture_default_str();
    app.add_option("--create", options.create_at, "Run the group creator with input at X Y Z")->expected(3);
    app.add_option("--select", options.selection, "Select the shape at this path for --create (repeatable)");
    app.add_flag("--notify", options.notify, "Send one update notification after the other events");
    app.add_option("-o,--out", options.out_dir, "Folder for scene.json, view.svg and top.svg")->capture_default_str();
    app.add_option("--module", options.module_path, "Plug-in module to load")->capture_default_str();
    app.add_option("--pane", options.pane_path, "Stand-in pane library to load")->capture_default_str();
    app.add_flag("!--no-pictures", options.pictures, "Write the scene file only");
    app.add_flag("--japanese", options.japanese, "Report a Japanese user interface to the plug-in");
    CLI11_PARSE(app, argc, argv);
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
