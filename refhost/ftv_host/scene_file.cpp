#include "scene_file.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/plugin_id.h"
#include "host_math.h"

namespace ftv_host {

namespace {

// Deeper trees than this are taken for a mistake (and would exhaust the stack).
constexpr int kMaxDepth = 200;

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

bool is_identity(const ftv::Mat4& m) {
    const ftv::Mat4 i = refhost::identity();
    return std::memcmp(&m, &i, sizeof m) == 0;
}

Json node_json(const refhost::Scene& scene, const refhost::Node& node);

Json children_json(const refhost::Scene& scene, const refhost::Node& part) {
    Json children = Json::array();
    for (const refhost::Node* child = part.first; child != nullptr; child = child->next)
        children.push_back(node_json(scene, *child));
    return children;
}

void add_streams(Json& out, const refhost::Node& node) {
    if (node.streams.empty()) return;
    Json streams = Json::object();
    for (const auto& [id, data] : node.streams) streams[hex_id(id)] = *data;
    out["streams"] = streams;
}

Json node_json(const refhost::Scene& scene, const refhost::Node& node) {
    Json out = Json::object();
    out["name"] = node.name;
    switch (node.kind) {
        case refhost::kPart:
            out["kind"] = "part";
            if (!is_identity(node.transformation)) out["transformation"] = mat_json(node.transformation);
            if (!is_identity(node.part_matrix)) out["part_matrix"] = mat_json(node.part_matrix);
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
    if (node.is_part()) out["children"] = children_json(scene, node);
    return out;
}

// Reading.

struct Reader {
    const std::string& file;
    refhost::Scene& scene;

    void streams(const JsonAt& at, refhost::Node& node) {
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

    void children(const JsonAt& at, refhost::Node& part, int depth) {
        if (depth > kMaxDepth) at.fail("parts nested deeper than " + std::to_string(kMaxDepth));
        for (std::size_t i = 0; i < at.size(); ++i) node(at.at(i), part, depth);
    }

    void node(const JsonAt& at, refhost::Node& parent, int depth) {
        const std::string kind = at.member("kind").string();
        const std::string name = at.member("name").string();
        if (kind == "part") {
            at.allow_only({"name", "kind", "transformation", "part_matrix", "streams", "children"});
            refhost::Node& part = scene.add_part(parent, name);
            if (at.has("transformation")) part.transformation = at.member("transformation").mat4();
            if (at.has("part_matrix")) part.part_matrix = at.member("part_matrix").mat4();
            if (at.has("streams")) streams(at.member("streams"), part);
            if (at.has("children")) children(at.member("children"), part, depth + 1);
        } else if (kind == "marker") {
            at.allow_only({"name", "kind", "center", "input", "streams"});
            refhost::Node& marker = scene.add_marker(parent, at.member("center").vec3(), name);
            if (at.has("input")) {
                const JsonAt input = at.member("input");
                if (input.size() != 2) input.fail("expected 2 integers");
                for (std::size_t i = 0; i < 2; ++i)
                    marker.input_values[i] = static_cast<std::uint32_t>(input.at(i).integer(0, UINT32_MAX));
            }
            if (at.has("streams")) streams(at.member("streams"), marker);
        } else if (kind == "mesh") {
            at.allow_only({"name", "kind", "vertices", "polygons", "streams"});
            refhost::Mesh mesh;
            const JsonAt vertices = at.member("vertices");
            for (std::size_t i = 0; i < vertices.size(); ++i) mesh.vertices.push_back(vertices.at(i).vec3());
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
            refhost::Node& node = scene.add_mesh(parent, name, std::move(mesh));
            if (at.has("streams")) streams(at.member("streams"), node);
        } else {
            at.member("kind").fail("kind \"" + kind + "\" is not one of part, marker, mesh");
        }
    }

    refhost::Node& shape_at(const JsonAt& at) {
        const std::string path = at.string();
        refhost::Node* node = scene.find(path);
        if (node == nullptr) at.fail("no shape at path \"" + path + "\"");
        return *node;
    }
};

}  // namespace

Json float_json(float value) {
    if (!std::isfinite(value)) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        char text[16];
        std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(bits));
        return text;
    }
    // The shortest decimal that reads back as this float; stored as the double
    // nearest to it, which the writer prints as that same short decimal.
    char text[32];
    for (int digits = 6; digits <= 9; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
        const float back = std::strtof(text, nullptr);
        if (std::memcmp(&back, &value, sizeof back) == 0) break;
    }
    const double shown = std::strtod(text, nullptr);
    // Whole numbers as integers ("2", not "2.0"); -0 keeps its sign as a double.
    if (shown == std::floor(shown) && std::fabs(shown) < 1e15 && !(shown == 0 && std::signbit(shown)))
        return static_cast<std::int64_t>(shown);
    return shown;
}

namespace {

std::string scalar_text(const Json& value) {
    // Names the plug-in made may not be UTF-8; such bytes are shown replaced.
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// Objects one member a line; arrays of plain values (coordinates, matrices,
// streams) on one line, so that a scene file stays readable.
void write_json(const Json& value, int depth, std::string& out) {
    const std::string pad(static_cast<std::size_t>(depth + 1) * 2, ' ');
    const std::string end_pad(static_cast<std::size_t>(depth) * 2, ' ');
    if (value.is_object() && !value.empty()) {
        out += "{\n";
        std::size_t i = 0;
        for (const auto& item : value.items()) {
            out += pad + scalar_text(item.key()) + ": ";
            write_json(item.value(), depth + 1, out);
            out += ++i < value.size() ? ",\n" : "\n";
        }
        out += end_pad + "}";
    } else if (value.is_array() && !value.empty()) {
        bool flat = true;
        for (const Json& element : value) flat = flat && !element.is_structured();
        if (flat) {
            out += "[";
            for (std::size_t i = 0; i < value.size(); ++i) out += (i ? ", " : "") + scalar_text(value[i]);
            out += "]";
            return;
        }
        out += "[\n";
        for (std::size_t i = 0; i < value.size(); ++i) {
            out += pad;
            write_json(value[i], depth + 1, out);
            out += i + 1 < value.size() ? ",\n" : "\n";
        }
        out += end_pad + "]";
    } else {
        out += scalar_text(value);
    }
}

}  // namespace

std::string json_text(const Json& document) {
    std::string out;
    write_json(document, 0, out);
    return out + "\n";
}

Json scene_to_json(const refhost::Scene& scene, const Json* pane) {
    Json out = Json::object();
    const refhost::Camera& camera = scene.camera_data();
    out["camera"] = {{"eye", vec_json(camera.eye)}, {"target", vec_json(camera.target)}};
    auto& mutable_scene = const_cast<refhost::Scene&>(scene);  // accessors below do not change it
    if (!is_identity(mutable_scene.input_matrix())) out["input_to_world"] = mat_json(mutable_scene.input_matrix());
    Json root = Json::object();
    add_streams(root, scene.root());
    root["children"] = children_json(scene, scene.root());
    out["root"] = root;
    if (!mutable_scene.selection().empty()) {
        out["selection"] = Json::array();
        for (const refhost::Node* node : mutable_scene.selection()) out["selection"].push_back(scene.path_of(*node));
    }
    const refhost::Node* current = mutable_scene.current_part();
    if (current != nullptr && current != &scene.root()) out["current_part"] = scene.path_of(*current);
    if (pane != nullptr) out["pane"] = *pane;
    return out;
}

void read_scene(const std::string& file, const Json& document, refhost::Scene& scene) {
    Reader reader{file, scene};
    const JsonAt top(file, document);
    top.allow_only({"camera", "input_to_world", "root", "selection", "current_part", "pane"});
    if (top.has("camera")) {
        const JsonAt camera = top.member("camera");
        camera.allow_only({"eye", "target"});
        if (camera.has("eye")) scene.camera_data().eye = camera.member("eye").vec3();
        if (camera.has("target")) scene.camera_data().target = camera.member("target").vec3();
    }
    if (top.has("input_to_world")) scene.input_matrix() = top.member("input_to_world").mat4();
    const JsonAt root = top.member("root");
    root.allow_only({"streams", "children"});
    if (root.has("streams")) reader.streams(root.member("streams"), scene.root());
    if (root.has("children")) reader.children(root.member("children"), scene.root(), 1);
    if (top.has("selection")) {
        const JsonAt selection = top.member("selection");
        for (std::size_t i = 0; i < selection.size(); ++i) scene.selection().push_back(&reader.shape_at(selection.at(i)));
    }
    if (top.has("current_part")) {
        const JsonAt at = top.member("current_part");
        refhost::Node& part = reader.shape_at(at);
        if (!part.is_part()) at.fail("the current part must be a part");
        scene.current_part() = &part;
    }
}

void read_scene(const std::string& path, refhost::Scene& scene) { read_scene(path, read_json_file(path), scene); }

}  // namespace ftv_host
