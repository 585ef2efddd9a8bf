#include "behaviour/update_pass.h"

#include <cstring>

#include "behaviour/part_tag.h"
#include "behaviour/plugin_stream.h"
#include "behaviour/texts.h"
#include "behaviour/turn_part.h"
#include "host/contract.h"
#include "host/host_camera.h"
#include "host/host_ref.h"
#include "host/host_scene.h"
#include "host/host_shape.h"

namespace ftv {

namespace {

bool is_marker(HostShape& shape) { return std::strcmp(shape.shape_name(), kMarkerName) == 0; }

// A part with a stream is never entered; tagged, it is turned when its first
// child is the marker, as its tag says.
void visit_part_with_stream(HostScene& scene, HostShape& part, HostStream& stream, const Vec3& eye) {
    const std::int32_t tag = read_first_int(stream);
    if (tag == kUntagged) return;
    if (const auto first = adopt(part.first_child()); first && is_marker(*first.get())) {
        turn_part(scene, part, *first.get(), eye, facing_for_tag(tag));
    }
}

void walk(HostScene& scene, HostShape& parent, const Vec3& eye) {
    auto child = adopt(parent.first_child());
    while (!child->is_end()) {
        if (child->kind() == HostShape::kPart) {
            if (const auto stream = find_plugin_stream(*child.get())) {
                visit_part_with_stream(scene, *child.get(), *stream.get(), eye);
            } else {
                walk(scene, *child.get(), eye);
            }
        }
        child.advance(child->next_sibling());
    }
}

}  // namespace

void update_pass(HostScene& scene) {
    const auto camera = adopt(scene.camera());
    const Vec3 eye = eye_position(*camera.get());
    const auto root = adopt(scene.root_part());
    walk(scene, *root.get(), eye);
}

}  // namespace ftv
