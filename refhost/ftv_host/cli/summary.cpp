#include "cli/summary.h"

#include <iomanip>
#include <sstream>

#include "host/plugin_id.h"
#include "judge/explain.h"

namespace ftv_cli {

Summary summarize(PluginSession& session, const std::vector<Event>& events, const std::string& scene,
                  bool working_on, bool explain) {
    Summary summary;
    summary.scene = scene;
    summary.passes = session.passes();
    summary.visited = session.visited();
    summary.turned = session.turned();
    summary.working_on = working_on;
    summary.stored_on = session.stored_switch_on();
    summary.stores_switch = session.tree().root().stream(ftv::kMainId) != nullptr;
    for (const Event& event : events)
        summary.switch_asked |= event.type == Event::Type::menu || event.type == Event::Type::click;
    summary.pane = session.pane();
    summary.explain = explain;
    if (explain)
        for (const refhost::PartExplanation& part : refhost::explain_parts(session.tree(), working_on))
            summary.explanations.push_back(refhost::explanation_line(session.tree(), part));
    return summary;
}

bool write_when_balanced(PluginSession& session, OutputFiles& outputs, std::ostream& errors) {
    session.release_components();
    refhost::ReferenceHost& host = session.host();
    if (!host.ledger().balanced() || !host.misuse().empty()) {
        errors << "ftv-host: the plug-in misused the host:\n" << host.ledger().report() << "\n";
        for (const std::string& line : host.misuse()) errors << "  " << line << "\n";
        return false;
    }
    outputs.commit();
    return true;
}

void print_summary(std::ostream& out, const Summary& summary, const OutputFiles& outputs, const GltfScene& gltf) {
    const auto on_off = [](bool on) { return on ? "on" : "off"; };
    out << "ftv-host: " << printable(summary.scene) << "\n"
        << "  update passes: " << summary.passes << ", parts visited: " << summary.visited
        << ", parts turned: " << summary.turned << "\n"
        << "  switch: " << on_off(summary.working_on)
        << (summary.stored_on != summary.working_on ? std::string(" (stored: ") + on_off(summary.stored_on) + ")" : "")
        << ", pane: " << (summary.pane.present ? "\"" + summary.pane.text + "\"" : "(not registered)") << "\n";
    if (!summary.working_on && !summary.switch_asked)
        out << "  the scene stores " << (summary.stores_switch ? "it off" : "no switch")
            << ", so the plug-in turns nothing; --menu on or --click left switches it on\n";
    for (const auto& file : outputs.files()) out << "  wrote " << printable(file.first) << "\n";
    if (gltf.steps > 0) {
        std::ostringstream error;
        error << std::setprecision(2) << gltf.largest_trs_error;
        // The keys' nearest translation, rotation and scale against the turns themselves.
        out << "  scene.gltf: the eye's path, " << gltf.steps << " steps at " << kStepsPerSecond << " a second; "
            << gltf.animated << " turned parts keyed, largest relative error " << error.str() << "\n";
    }
    if (summary.explain) {
        out << "parts with the plug-in's stream: " << summary.explanations.size() << "\n";
        for (const std::string& line : summary.explanations) out << "  " << printable(line) << "\n";
    }
}

}  // namespace ftv_cli
