// The end of a run: the outputs, written only once the plug-in has left the
// host balanced, and what ftv-host says about the run.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "formats/event_script.h"
#include "formats/gltf_export.h"
#include "run/output_files.h"
#include "run/plugin_session.h"

namespace ftv_cli {

struct Summary {
    std::string scene;  // the scene file, or the demo's name
    std::uint32_t passes = 0;
    std::uint64_t visited = 0, turned = 0;
    bool working_on = false;  // the switch the plug-in works with
    bool stored_on = false;   // the switch the scene stores
    bool stores_switch = false;  // the scene stores one at all
    bool switch_asked = false;   // the events switch it: the settings dialog or a click
    PaneState pane;
    bool explain = false;
    std::vector<std::string> explanations;  // a line per part with the plug-in's stream
};

// What the session did so far, running these events; with explain, a line
// for every part that carries the plug-in's stream. working_on is the
// plug-in's working switch.
Summary summarize(PluginSession& session, const std::vector<Event>& events, const std::string& scene,
                  bool working_on, bool explain);

// Releases the components. When the plug-in then holds no host object, gave
// none back twice and misused none, writes the outputs and answers true;
// otherwise says so on errors, writes nothing and answers false.
bool write_when_balanced(PluginSession& session, OutputFiles& outputs, std::ostream& errors);

// With the animation scene.gltf got, when the eye moved: its steps, the parts
// it turns and how far their keys are from the turns the plug-in made.
void print_summary(std::ostream& out, const Summary& summary, const OutputFiles& outputs, const GltfScene& gltf);

}  // namespace ftv_cli
