#include "run/demo_scene.h"

#include <string>

#include "judge/plugin_conventions.h"
#include "scene/imath_values.h"

namespace ftv_cli {

namespace {

// A flat sign: a quad in the part's XY plane, facing +Z, with a pointer
// triangle on top so that a turned sign is told from an unturned one.
refhost::Mesh sign(const ftv::Vec3& c, float w, float h) {
    refhost::Mesh mesh;
    mesh.vertices = {{c.x - w, c.y - h, c.z}, {c.x + w, c.y - h, c.z}, {c.x + w, c.y + h, c.z},
                     {c.x - w, c.y + h, c.z}, {c.x, c.y + h * 1.6f, c.z}};
    mesh.polygons = {{0, 1, 2, 3}, {3, 2, 4}};
    return mesh;
}

// A flat tree: a trunk and a crown in the part's XY plane, facing +Z.
refhost::Mesh tree(const ftv::Vec3& c) {
    refhost::Mesh mesh;
    mesh.vertices = {{c.x - 0.2f, c.y - 1.5f, c.z}, {c.x + 0.2f, c.y - 1.5f, c.z}, {c.x + 0.2f, c.y - 0.6f, c.z},
                     {c.x - 0.2f, c.y - 0.6f, c.z}, {c.x - 1.1f, c.y - 0.6f, c.z}, {c.x + 1.1f, c.y - 0.6f, c.z},
                     {c.x, c.y + 1.8f, c.z}};
    mesh.polygons = {{0, 1, 2, 3}, {4, 5, 6}};
    return mesh;
}

const refhost::Node& billboard(refhost::SceneTree& scene, const refhost::Node& parent, const std::string& name,
                               ftv::Vec3 center, std::int32_t tag = 1) {
    const refhost::Node& part = refhost::add_billboard(scene, parent, name, center, tag, 0);
    scene.add_mesh(part, name + " sign", sign(center, 1.0f, 0.7f));
    return part;
}

}  // namespace

void build_demo_scene(refhost::SceneTree& scene) {
    const refhost::Node& root = scene.root();
    refhost::store_switch(scene, 1);  // on

    billboard(scene, root, "Billboard A", {-5, 0, 0});
    billboard(scene, root, "Billboard B", {0, 0, -5});
    billboard(scene, root, "Billboard C", {5, 0, 0});

    // Tagged upright: turns about the vertical only, so it never leans back
    // toward the raised camera as the signs beside it do.
    const refhost::Node& upright = refhost::add_billboard(scene, root, "Upright tree", {5, 0, -5}, 2, 0);
    scene.add_mesh(upright, "Upright tree crown", tree({5, 0, -5}));

    // Untagged groups are searched: the billboard two levels down is turned.
    const refhost::Node& outer = scene.add_part(root, "Nested group");
    scene.set_transformation(outer, ftv::translation_matrix({0, 2, 4}));
    const refhost::Node& inner = scene.add_part(outer, "Inner group");
    billboard(scene, inner, "Billboard D", {0, 0, 0});

    // A group turned about two axes, as real files often are (a root that
    // swaps Y up for Z up, say): tag 1 undoes its turns only approximately and
    // misses the eye; tag 3 faces it exactly.
    ftv::Mat4 about_x, about_y;
    ftv::axis_rotation({1, 0, 0}, 0.8f, 0.6f, about_x);
    ftv::axis_rotation({0, 1, 0}, 0.6f, 0.8f, about_y);
    const refhost::Node& tilted = scene.add_part(root, "Tilted group");
    scene.set_transformation(tilted, refhost::product(refhost::product(about_x, about_y),
                                                      ftv::translation_matrix({2.5f, 4.5f, 3})));
    billboard(scene, tilted, "Tilted sign, tag 1", {-1.7f, 0, 0});
    billboard(scene, tilted, "Tilted sign, tag 3", {1.7f, 0, 0}, 3);

    // No tag: stays as it was built.
    const refhost::Node& plain = scene.add_part(root, "Untagged group");
    scene.add_marker(plain, {0, -1.5f, 8});
    scene.add_mesh(plain, "Untagged sign", sign({0, -1.5f, 8}, 1.0f, 0.7f));

    // A tagged part is turned as a whole: the tagged part inside it is not
    // reached, and turns only with its holder. (The plug-in replaces a tagged
    // part's own transformation, so its place is in its contents.)
    const refhost::Node& holder = billboard(scene, root, "Holder", {-5, -2.5f, -5});
    billboard(scene, holder, "Inside holder", {-3, -2.5f, -5});

    // Off to one side, so that signs built facing +Z must turn to face it.
    scene.set_camera({{14, 7, 12}, {0, 0, 0}});
}

}  // namespace ftv_cli
