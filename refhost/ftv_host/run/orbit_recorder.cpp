#include "run/orbit_recorder.h"

#include <string>

#include "run/plugin_session.h"
#include "pictures/svg.h"

namespace ftv_cli {

namespace {

// Each frame holds two pictures of some 20 kB.
constexpr std::uint32_t kMaxOrbitFrames = 360;

std::string frame_caption(std::uint32_t step, std::uint32_t steps) {
    return step == 0 ? "before the orbit" : "step " + std::to_string(step) + " of " + std::to_string(steps);
}

}  // namespace

Progress orbit_recorder(PluginSession& session, std::uint32_t steps, std::vector<OrbitFrame>& frames, Progress then) {
    const refhost::SceneTree& scene = session.tree();
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

}  // namespace ftv_cli
