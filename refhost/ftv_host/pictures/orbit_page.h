// A page that plays an orbit step by step: for each step the camera view and
// the top view, with play/pause and a slider. Everything is inline (no
// network, no files beside it), so the page can be mailed or opened offline.
#pragma once

#include <string>
#include <vector>

namespace ftv_cli {

struct OrbitFrame {
    std::string caption;  // what the step is, e.g. "step 3 of 36"
    std::string camera_svg;
    std::string top_svg;
};

// The page. Its script also answers to the address's fragment, so that a
// browser without a user can be made to act: "#step=N" moves the slider to
// frame N, "#play" presses play. Once set up it marks the document element
// with data-ready="yes"; data-frame is the frame shown; a script error sets
// data-script-errors to how many there were.
std::string orbit_page_html(const std::string& title, const std::vector<OrbitFrame>& frames);

}  // namespace ftv_cli
