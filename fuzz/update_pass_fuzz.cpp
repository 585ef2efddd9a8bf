// The update pass on small scene trees built from the fuzz input, through the
// module's exports as a host drives it. Every input ends with a balanced
// reference ledger and no misuse of the host, also when a host call chosen by
// the input throws in the middle of the pass. When no call threw and the
// scene's transformations are ones the plug-in can undo (translations,
// uniform scales, turns about the vertical), every tagged part the walk
// reaches faces the eye afterwards within 1e-5 per component of the unit
// directions (more near 90 degrees about Y: see facing_tolerance); parts
// tagged 2 (upright) and 3 (exact) do so within 1e-5 radians also under
// frames built of turns about any axis, mirrors, uneven scales and shears.
// Whatever the transformations, exactly those parts were turned, once each
// (none with the switch off), but for upright and exact parts that keep their
// transformation where no sound turn exists (see kept_because); under frames
// of arbitrary bits those may be turned once or not at all.
//
// Input: a header byte (bit 0: next_sibling moves in place; bit 1: a host
// call throws, its number in the next byte), three bytes of eye position,
// then operations, a byte each with their operands (see build()).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/interface_ids.h"
#include "host/plugin_interface.h"
#include "host_objects/reference_host.h"
#include "judge/plugin_conventions.h"
#include "module_fuzz.h"
#include "scene/imath_values.h"

namespace {

using fuzz_support::fail;
using fuzz_support::module;

using refhost::Node;
using refhost::Scene;

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    float small() { return static_cast<std::int8_t>(byte()) / 8.0f; }  // -16 to 16 in eighths
    float bits() {
        std::uint32_t u = 0;
        for (int i = 0; i < 4; ++i) u = u << 8 | byte();
        float f;
        std::memcpy(&f, &u, sizeof f);
        return f;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

constexpr std::size_t kMaxNodes = 64;

// Builds the tree below the root; returns false when a transformation the
// plug-in cannot be expected to undo was set, and sets wild when one of
// arbitrary bits was.
bool build(Input& in, refhost::SceneTree& scene, bool& wild) {
    std::vector<const Node*> open{&scene.root()};
    bool tame = true;
    std::uint32_t made = 0;
    while (!in.empty() && scene.node_count() < kMaxNodes) {
        const Node& part = *open.back();
        const std::string name = std::to_string(++made);
        switch (in.byte() % 10) {
            case 0:
                open.push_back(&scene.add_part(part, "P" + name));
                break;
            case 1:
                if (open.size() > 1) open.pop_back();
                break;
            case 2: {
                const ftv::Vec3 center{in.small(), in.small(), in.small()};
                scene.add_marker(part, center);
                break;
            }
            case 3: {
                static const char* const kNames[] = {"#Center", "#center2", "center", ""};
                scene.add_marker(part, {in.small(), in.small(), in.small()}, kNames[in.byte() % 4]);
                break;
            }
            case 4: {
                refhost::Mesh mesh;
                for (int i = in.byte() % 4; i > 0; --i) mesh.vertices.push_back({in.small(), in.small(), in.small()});
                if (mesh.vertices.size() == 3) mesh.polygons = {{0, 1, 2}};
                scene.add_mesh(part, (in.byte() & 1) != 0 ? std::string(ftv::kMarkerName) : "M" + name, mesh);
                break;
            }
            case 5:  // the tag, or on the root the switch
                scene.set_stream(part, ftv::kMainId, {static_cast<std::int8_t>(in.byte())});
                break;
            case 6: {  // an empty stream, a longer one, or another plug-in's
                const std::uint8_t kind = in.byte() % 3;
                if (kind == 0) scene.set_stream(part, ftv::kMainId, {});
                if (kind == 1) scene.set_stream(part, ftv::kMainId, {static_cast<std::int8_t>(in.byte()), 5, 6});
                if (kind == 2) scene.set_stream(part, 0x12345678u, {1});
                break;
            }
            case 7: {  // uniform scale, a turn about the vertical, a move
                const float scale = 0.5f + (in.byte() % 7) * 0.25f;
                const double angle = (static_cast<std::int8_t>(in.byte())) * (3.14159265358979 / 128);
                const ftv::Mat4 turn = refhost::rotation_between(
                    {0, 0, 1}, {static_cast<float>(std::sin(angle)), 0, static_cast<float>(std::cos(angle))});
                const ftv::Mat4 m = {{{scale, 0, 0, 0}, {0, scale, 0, 0}, {0, 0, scale, 0}, {0, 0, 0, 1}}};
                const ftv::Mat4 move = ftv::translation_matrix({in.small(), in.small(), in.small()});
                scene.set_transformation(part, refhost::product(refhost::product(m, turn), move));
                break;
            }
            case 8: {
                ftv::Mat4 m = ftv::kIdentityMatrix;
                if (in.byte() & 1) {  // any bits at all
                    for (auto& row : m.m)
                        for (float& e : row) e = in.bits();
                    wild = true;
                } else {  // any linear frame of small values: turned, mirrored, scaled or sheared
                    for (int i = 0; i < 3; ++i)
                        for (int j = 0; j < 3; ++j) m.m[i][j] = in.small() / 4;
                }
                scene.set_transformation(part, m);
                tame = false;
                break;
            }
            case 9:
                if (part.first() != nullptr) scene.detach(*part.last());
                break;
        }
    }
    return tame;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const std::uint8_t header = in.byte();
    const std::uint8_t fail_at = in.byte();
    refhost::ReferenceHost host;
    Scene& host_scene = host.new_scene();
    host_scene.sibling_mode = (header & 1) != 0 ? refhost::SiblingMode::in_place : refhost::SiblingMode::fresh;
    refhost::SceneTree& scene = host_scene.tree();
    scene.set_eye({in.small() * 4, in.small() * 4, in.small() * 4});
    refhost::store_switch(scene, 1);
    bool wild = false;
    const bool tame = build(in, scene, wild);

    ftv::plugin_interface* main = nullptr;
    const ftv::GUID kind = ftv::kPluginInterfaceId;
    module().create_interface(&kind, 0, &main, &host.app(), nullptr);
    if (main == nullptr) fail("no main component");
    bool threw = false;
    if ((header & 2) != 0) host.faults().fail_at(1 + fail_at);
    try {
        bool flag = true;
        main->initialization(flag, &host_scene);
        main->update_notification(flag, &host_scene);
    } catch (const refhost::InjectedFault&) {
        threw = true;
    }
    host.faults().disarm();
    main->Release();

    if (!host.ledger().balanced()) fail("ledger: " + host.ledger().report());
    const auto misuse = host.misuse();
    if (!misuse.empty()) fail("misuse: " + misuse.front());
    const bool on = refhost::stored_switch_on(scene);
    if (!threw) {
        // Exactly the tagged parts the walk reaches are turned, once; with the
        // switch off, none.
        const std::vector<const Node*> reached = refhost::reached_tagged(scene);
        for (std::uint32_t id = 1; id <= scene.node_count(); ++id) {
            const Node& node = *scene.node_by_id(id);
            const bool reached_part = std::find(reached.begin(), reached.end(), &node) != reached.end();
            const bool exact = reached_part && refhost::facing_mode(node) != refhost::FacingMode::plain;
            if (exact && wild && node.transformations_set <= 1) continue;
            const bool expected = on && reached_part && (!exact || refhost::kept_because(scene, node).empty());
            if (node.transformations_set != (expected ? 1u : 0u))
                fail(scene.path_of(node) + " turned " + std::to_string(node.transformations_set) + " times");
        }
    }
    if (!wild && !threw && on) {
        for (const Node* part : refhost::reached_tagged(scene)) {
            if (part->first()->kind != refhost::kMarker) continue;  // a mesh's centre is not the pivot it is built about
            const bool exact = refhost::facing_mode(*part) != refhost::FacingMode::plain;
            if (exact ? !refhost::kept_because(scene, *part).empty() : !tame) continue;
            const std::string wrong = refhost::faces_eye(scene, *part, refhost::facing_tolerance(scene, *part), 1e-2);
            if (!wrong.empty()) fail(wrong);
        }
    }
    return 0;
}
