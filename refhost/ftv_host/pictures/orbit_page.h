// A page that plays an orbit in 3D: scene.gltf, whose one animation holds the
// eye's path and the turned parts' poses with a key per step, shown with
// three.js. Everything is inline (three.js and the page's script bundled at
// build time, the glTF text once), so the page opens from file:// with no
// network and can be mailed.
#pragma once

#include <string>
#include <vector>

namespace ftv_cli {

// The pictures run/orbit_recorder keeps per step, for the SVG page this page
// replaced; ftv-host no longer records them, and this goes with that recorder.
struct OrbitFrame {
    std::string caption;  // what the step is, e.g. "step 3 of 36"
    std::string camera_svg;
    std::string top_svg;
};

// The page. Its script also answers to the address's fragment, so that a
// browser without a user can be made to act: "#step=N" shows step N, "#play"
// presses play. Once the first step is drawn it marks the document element
// with data-ready="yes"; data-frame is the step shown and data-world what
// three.js computed for it (see page/orbit_page.js); a script error sets
// data-script-errors to how many there were.
std::string orbit_page_html(const std::string& title, const std::string& gltf);

}  // namespace ftv_cli
