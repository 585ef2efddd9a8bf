// ftv-host: runs the plug-in module on a scene as the host would, and shows
// what it did: the resulting scene file, pictures and a short summary.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>

#include "run/demo_scene.h"
#include "run/events.h"
#include "formats/gltf_export.h"
#include "formats/json_output.h"
#include "formats/model_import.h"
#include "formats/named_file.h"
#include "cli/options.h"
#include "pictures/orbit_page.h"
#include "run/output_files.h"
#include "run/plugin_session.h"
#include "run/step_recorder.h"
#include "formats/scene_file.h"
#include "cli/summary.h"
#include "pictures/svg.h"

namespace {

using namespace ftv_cli;

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

int run(const Options& options) {
    // Everything that can be wrong with the input is found before the plug-in
    // runs; first what the scene file's name stands for, whatever the options.
    if (!options.scene_file.empty()) close(open_named_file(options.scene_file, Pipes::refused));
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
    if (options.camera_path && !model)
        throw InputError("--camera-path", "", "follows the animated camera of a model that Assimp reads");
    std::vector<Event> events = events_of(options, std::move(script));
    const std::optional<ftv::Vec3> eye = eye_option(options);

    PluginSession session(options.module_path, options.pane_path);
    session.host().app().japanese = options.japanese;
    refhost::SceneTree& scene = session.tree();
    if (options.scene_file.empty()) {
        build_demo_scene(scene);
    } else if (model) {
        std::vector<refhost::Camera> keys;
        import_model(options.scene_file, tags, scene, options.import_seconds, &keys);
        if (options.camera_path) {
            const std::vector<Event> path = camera_path_events(options.scene_file, keys);
            events.insert(events.end(), path.begin(), path.end());
        }
    } else {
        read_scene(options.scene_file, scene_document, scene);
    }
    if (eye) scene.set_eye(*eye);

    const bool interactive = isatty(STDERR_FILENO) != 0;
    bool orbited = false;  // as the options ask: the orbit page plays it
    StepRecorder steps(scene);
    for (const Event& event : events) {
        const Progress shown = interactive && event.steps >= 8 ? Progress(show_progress) : nullptr;
        orbited = orbited || (event.type == Event::Type::orbit && event.where == "--orbit");
        run_event(session, event, steps.around(event, shown));
    }
    // The path the eye took, for the top view.
    std::vector<ftv::Vec3> eye_path;
    if (orbit_steps(options) > 0) eye_path = orbit_path(scene.camera_data(), 72);
    const bool working_on = session.working_switch_on();

    const Summary summary =
        summarize(session, events, options.scene_file.empty() ? "built-in demo scene" : options.scene_file, working_on,
                  options.explain);
    const Json pane_record = pane_json(summary.pane);
    OutputFiles outputs;
    const std::string out = options.out_dir + "/";
    outputs.add(out + "scene.json", json_text(scene_to_json(scene, summary.pane.present ? &pane_record : nullptr)));
    std::string not_exported, page;
    GltfScene gltf;
    try {
        gltf = gltf_scene(scene, steps.path());
        // The page plays the file's animation, which it embeds: without the file, no page.
        if (options.pictures && orbited && gltf.steps > 0)
            page = orbit_page_html("Z_FaceToViewer: the orbit", gltf.text);
        outputs.add(out + "scene.gltf", std::move(gltf.text));
    } catch (const NotExportable& error) {
        not_exported = error.what();
    }
    if (options.pictures) {
        outputs.add(out + "view.svg", camera_view_svg(scene, summary.pane, working_on));
        outputs.add(out + "top.svg", top_view_svg(scene, eye_path, working_on));
        if (!page.empty()) outputs.add(out + "orbit.html", std::move(page));
    }
    if (!write_when_balanced(session, outputs, std::cerr)) return kHostFailed;
    print_summary(std::cout, summary, outputs, gltf);
    if (!not_exported.empty()) std::cerr << error_line("warning: scene.gltf not written: " + not_exported);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (const std::optional<int> exit_code = read_options(argc, argv, own_folder(), options)) return *exit_code;
    try {
        return run(options);
    } catch (const InputError& error) {
        std::cerr << error_line(error.what());
        return kInputFailed;
    } catch (const std::exception& error) {
        std::cerr << error_line(error.what());
        return kHostFailed;
    }
}
