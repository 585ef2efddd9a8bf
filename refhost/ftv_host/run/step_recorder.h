// The steps of a run that moves the eye, recorded for scene.gltf's animation:
// after each notification that an eye move caused (an orbit's step, a notify
// event with an eye), the camera and the transformation of every part the
// plug-in has turned.
#pragma once

#include <map>

#include "formats/gltf_export.h"
#include "run/events.h"

namespace ftv_cli {

class StepRecorder {
public:
    explicit StepRecorder(const refhost::SceneTree& scene) : scene_(scene) {}

    // The progress to run event with: it records each step when the event
    // moves the eye, and tells then.
    Progress around(const Event& event, Progress then);

    const EyePath& path() const { return path_; }

private:
    void record();

    const refhost::SceneTree& scene_;
    EyePath path_;
    // Tagged parts' transformations before the first step, for the steps
    // before the plug-in first turns one.
    std::map<std::uint32_t, ftv::Mat4> before_;
    bool started_ = false;
};

}  // namespace ftv_cli
