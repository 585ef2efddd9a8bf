#include "formats/scene_file.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/plugin_id.h"
#include "formats/json_output.h"
#include "formats/nesting_limit.h"
#include "scene/imath_values.h"

namespace ftv_cli {

namespace {

std::string hex_id(ftv::PluginId id) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(id));
    return text;
}

Json vec_json(const ftv::Vec3& v) { return Json::array({float_json(v.x), float_json(v.y), float_json(v.z)}); }

Json mat_json(const ftv::Mat4& m) {
    Json a = Json::array();
    for (const auto& row : m.m)
        for (float v : row) a.push_back(float_json(v));
    return a;
}

void add_streams(Json& out, const refhost::Node& node) {
    const auto streams = node.streams();
    if (streams.empty()) return;
    Json by_id = Json::object();
    for (const auto& [id, data] : streams) by_id[hex_id(id)] = *data;
    out["streams"] = by_id;
}

Json node_json(const refhost::Node& node) {
    Json out = Json::object();
    out["name"] = node.name;
    switch (node.kind) {
        case refhost::kPart:
            out["kind"] = "part";
            if (!refhost::is_identity(node.transformation)) out["transformation"] = mat_json(node.transformation);
            if (!refhost::is_identity(node.part_matrix)) out["part_matrix"] = mat_json(node.part_matrix);
            break;
        case refhost::kMarker:
            out["kind"] = "marker";
            out["center"] = vec_json(node.center);
            if (node.input_values[0] != 0 || node.input_values[1] != 0)
                out["input"] = {node.input_values[0], node.input_values[1]};
            break;
        default:
            out["kind"] = "mesh";
            out["vertices"] = Json::array();
            for (const auto& v : node.mesh.vertices) out["vertices"].push_back(vec_json(v));
            out["polygons"] = node.mesh.polygons;
            break;
    }
    add_streams(out, node);
    if (node.is_part()) out["children"] = Json::array();  // filled by children_json
    return out;
}

// The children of part, and theirs, as nested arrays. A list of arrays still
// to fill, not the stack: a scene may be as deep as the group creator made it.
// An array is filled whole before the arrays inside its elements are taken
// up, so that the addresses held in the list stay where they are.
Json children_json(const refhost::Node& part) {
    Json top = Json::array();
    std::vector<std::pair<const refhost::Node*, Json*>> pending{{&part, &top}};
    while (!pending.empty()) {
        const auto [parent, into] = pending.back();
        pending.pop_back();
        for (const refhost::Node* child = parent->first(); child != nullptr; child = child->next())
            into->push_back(node_json(*child));
        std::size_t i = 0;
        for (const refhost::Node* child = parent->first(); child != nullptr; child = child->next(), ++i)
            if (child->is_part()) pending.emplace_back(child, &(*into)[i]["children"]);
    }
    return top;
}

// Reading.

struct Reader {
    const std::string& file;
    refhost::SceneTree& scene;

    void streams(const JsonAt& at, const refhost::Node& node) {
        for (const auto& item : at.object().items()) {
            const JsonAt values(file, item.value(), at.path() + "/" + item.key());
            const std::string& key = item.key();
            char* end = nullptr;
            const unsigned long id = key.size() == 8 ? std::strtoul(key.c_str(), &end, 16) : 0;
            if (end == nullptr || *end != '\0') values.fail("a stream id is 8 hex digits, such as \"40A000C0\"");
            if (node.stream(static_cast<ftv::PluginId>(id)) != nullptr) values.fail("stream id given twice");
            refhost::StreamData data;
            for (std::size_t i = 0; i < values.size(); ++i)
                data.push_back(static_cast<std::int32_t>(values.at(i).integer(INT32_MIN, INT32_MAX)));
            scene.set_stream(node, static_cast<ftv::PluginId>(id), std::move(data));
        }
    }

    void children(const JsonAt& at, const refhost::Node& part, int depth) {
        if (depth > kMaxNesting) at.fail(nested_too_deep());
        for (std::size_t i = 0; i < at.size(); ++i) node(at.at(i), part, depth);
    }

    void node(const JsonAt& at, const refhost::Node& parent, int depth) {
        const std::string kind = at.member("kind").string();
        const std::string name = at.member("name").string();
        if (kind == "part") {
            at.allow_only({"name", "kind", "transformation", "part_matrix", "streams", "children"});
            const refhost::Node& part = scene.add_part(parent, name);
            if (at.has("transformation")) scene.set_transformation(part, at.member("transformation").mat4());
            if (at.has("part_matrix")) scene.set_part_matrix(part, at.member("part_matrix").mat4());
            if (at.has("streams")) streams(at.member("streams"), part);
            if (at.has("children")) children(at.member("children"), part, depth + 1);
        } else if (kind == "marker") {
            at.allow_only({"name", "kind", "center", "input", "streams"});
            const refhost::Node& marker = scene.add_marker(parent, at.member("center").vec3_or_bits(), name);
            if (at.has("input")) {
                const JsonAt input = at.member("input");
                if (input.size() != 2) input.fail("expected 2 integers");
                scene.set_input_values(marker, static_cast<std::uint32_t>(input.at(0).integer(0, UINT32_MAX)),
                                       static_cast<std::uint32_t>(input.at(1).integer(0, UINT32_MAX)));
            }
            if (at.has("streams")) streams(at.member("streams"), marker);
        } else if (kind == "mesh") {
            at.allow_only({"name", "kind", "vertices", "polygons", "streams"});
            refhost::Mesh mesh;
            const JsonAt vertices = at.member("vertices");
            for (std::size_t i = 0; i < vertices.size(); ++i) mesh.vertices.push_back(vertices.at(i).vec3_or_bits());
            const JsonAt polygons = at.member("polygons");
            for (std::size_t i = 0; i < polygons.size(); ++i) {
                const JsonAt polygon = polygons.at(i);
                std::vector<std::uint32_t> indices;
                for (std::size_t j = 0; j < polygon.size(); ++j) {
                    const auto n = static_cast<std::int64_t>(mesh.vertices.size());
                    const JsonAt index = polygon.at(j);
                    if (n == 0) index.fail("a polygon refers to a vertex but the mesh has none");
                    indices.push_back(static_cast<std::uint32_t>(index.integer(0, n - 1)));
                }
                mesh.polygons.push_back(std::move(indices));
            }
            const refhost::Node& node = scene.add_mesh(parent, name, std::move(mesh));
            if (at.has("streams")) streams(at.member("streams"), node);
        } else {
            at.member("kind").fail("kind \"" + kind + "\" is not one of part, marker, mesh");
        }
    }

    const refhost::Node& shape_at(const JsonAt& at) {
        const std::string path = at.string();
        const refhost::Node* node = scene.find(path);
        if (node == nullptr) at.fail("no shape at path \"" + path + "\"");
        return *node;
    }
};

}  // namespace

Json scene_to_json(const refhost::SceneTree& scene, const Json* pane) {
    Json out = Json::object();
    const refhost::Camera& camera = scene.camera_data();
    out["camera"] = {{"eye", vec_json(camera.eye)}, {"target", vec_json(camera.target)}};
    if (!refhost::is_identity(scene.input_matrix())) out["input_to_world"] = mat_json(scene.input_matrix());
    Json root = Json::object();
    add_streams(root, scene.root());
    root["children"] = children_json(scene.root());
    out["root"] = root;
    if (!scene.selection().empty()) {
        out["selection"] = Json::array();
        for (const refhost::Node* node : scene.selection()) out["selection"].push_back(scene.path_of(*node));
    }
    const refhost::Node& current = scene.current_part();
    if (&current != &scene.root()) out["current_part"] = scene.path_of(current);
    if (pane != nullptr) out["pane"] = *pane;
    return out;
}

void read_scene(const std::string& file, const Json& document, refhost::SceneTree& scene) {
    Reader reader{file, scene};
    const JsonAt top(file, document);
    top.allow_only({"camera", "input_to_world", "root", "selection", "current_part", "pane"});
    if (top.has("camera")) {
        const JsonAt at = top.member("camera");
        at.allow_only({"eye", "target"});
        refhost::Camera camera = scene.camera_data();
        if (at.has("eye")) camera.eye = at.member("eye").vec3_or_bits();
        if (at.has("target")) camera.target = at.member("target").vec3_or_bits();
        scene.set_camera(camera);
    }
    if (top.has("input_to_world")) scene.set_input_matrix(top.member("input_to_world").mat4());
    const JsonAt root = top.member("root");
    root.allow_only({"streams", "children"});
    if (root.has("streams")) reader.streams(root.member("streams"), scene.root());
    if (root.has("children")) reader.children(root.member("children"), scene.root(), 1);
    if (top.has("selection")) {
        const JsonAt at = top.member("selection");
        std::vector<const refhost::Node*> selection;
        for (std::size_t i = 0; i < at.size(); ++i) selection.push_back(&reader.shape_at(at.at(i)));
        scene.set_selection(std::move(selection));
    }
    if (top.has("current_part")) {
        const JsonAt at = top.member("current_part");
        const refhost::Node& part = reader.shape_at(at);
        if (!part.is_part()) at.fail("the current part must be a part");
        scene.make_current(part);
    }
}

void read_scene(const std::string& path, refhost::SceneTree& scene) { read_scene(path, read_json_file(path), scene); }

}  // namespace ftv_cli
