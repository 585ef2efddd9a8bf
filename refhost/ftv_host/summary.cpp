#include "summary.h"

#include "judge/explain.h"

namespace ftv_cli {

Summary summarize(PluginSession& session, const std::string& scene, bool working_on, bool explain) {
    Summary summary{scene,      session.passes(), session.visited(), session.turned(), working_on,
                    session.stored_switch_on(), session.pane(), explain, {}};
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

void print_summary(std::ostream& out, const Summary& summary, const OutputFiles& outputs) {
    const auto on_off = [](bool on) { return on ? "on" : "off"; };
    out << "ftv-host: " << summary.scene << "\n"
        << "  update passes: " << summary.passes << ", parts visited: " << summary.visited
        << ", parts turned: " << summary.turned << "\n"
        << "  switch: " << on_off(summary.working_on)
        << (summary.stored_on != summary.working_on ? std::string(" (stored: ") + on_off(summary.stored_on) + ")" : "")
        << ", pane: " << (summary.pane.present ? "\"" + summary.pane.text + "\"" : "(not registered)") << "\n";
    for (const auto& file : outputs.files()) out << "  wrote " << file.first << "\n";
    if (summary.explain) {
        out << "parts with the plug-in's stream: " << summary.explanations.size() << "\n";
        for (const std::string& line : summary.explanations) out << "  " << line << "\n";
    }
}

}  // namespace ftv_cli
