#include "host_objects/reference_host.h"

#include <string>

namespace refhost {

bool App::ui_is_japanese(void*) {
    operation();
    return japanese;
}

ftv::HostScene* App::active_scene(void*) {
    operation();
    ++active_scene_requests;
    return active ? active->hand_out() : nullptr;
}

Scene& ReferenceHost::new_scene() {
    Scene& scene = *scenes_.emplace_back(std::make_unique<Scene>(accounts_));
    app_.active = &scene;
    return scene;
}

std::vector<std::string> ReferenceHost::misuse() const {
    std::vector<std::string> all;
    for (std::size_t i = 0; i < scenes_.size(); ++i) {
        for (const std::string& line : scenes_[i]->misuse()) all.push_back("scene " + std::to_string(i) + ": " + line);
    }
    return all;
}

}  // namespace refhost
