#include "run/step_recorder.h"

namespace ftv_cli {

Progress StepRecorder::around(const Event& event, Progress then) {
    const bool moves_eye =
        event.type == Event::Type::orbit || (event.type == Event::Type::notify && event.eye.has_value());
    if (!moves_eye) return then;
    if (!started_) {
        // Only parts with the plug-in's stream can be turned; nodes never move in memory.
        for (std::uint32_t id = 1; id <= scene_.node_count(); ++id) {
            const refhost::Node& node = *scene_.node_by_id(id);
            if (node.is_part() && node.stream(ftv::kMainId) != nullptr) before_[id] = node.transformation;
        }
        started_ = true;
    }
    return [this, then](std::uint32_t step, std::uint32_t steps) {
        record();
        if (then) then(step, steps);
    };
}

void StepRecorder::record() {
    const std::size_t step = path_.cameras.size();
    path_.cameras.push_back(scene_.camera_data());
    for (std::uint32_t id = 1; id <= scene_.node_count(); ++id) {
        const refhost::Node& node = *scene_.node_by_id(id);
        if (!node.is_part() || node.transformations_set == 0) continue;
        std::vector<ftv::Mat4>& keys = path_.parts[id];
        if (keys.size() < step) {
            // First turned now: until this step it stood as it was before (a
            // part made since, as it is now).
            const auto was = before_.find(id);
            keys.assign(step, was != before_.end() ? was->second : node.transformation);
        }
        keys.push_back(node.transformation);
    }
}

}  // namespace ftv_cli
