#include "formats/scene_transfer.h"

#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

#include "formats/nesting_limit.h"

namespace ftv_cli {

namespace {

using refhost::Node;

constexpr char kMagic[] = "ftv-scene-1";

using Streams = std::vector<std::pair<std::uint32_t, refhost::StreamData>>;

// A node as the compact form carries it: read into a record of its own,
// written from a view of the node's mesh (a large one is not copied).
template <class MeshHolder>
struct NodeFields {
    std::uint32_t parent = 0;  // 0: the root; else the record's number, counted from 1
    std::int32_t kind = refhost::kPart;
    std::string name;
    ftv::Mat4 transformation = ftv::kIdentityMatrix;
    ftv::Vec3 center{0, 0, 0};
    MeshHolder mesh;
    Streams streams;
};
using NodeRecord = NodeFields<refhost::Mesh>;
using NodeView = NodeFields<const refhost::Mesh&>;

struct SceneRecord {
    refhost::Camera camera;
    std::vector<refhost::Camera> camera_path;
    Streams root_streams;
    std::uint32_t nodes = 0;
};

class Writer {
public:
    static constexpr bool kReading = false;
    template <class T>
    bool value(const T& v) {
        static_assert(std::is_trivially_copyable_v<T>);
        out.append(reinterpret_cast<const char*>(&v), sizeof v);
        return true;
    }
    // A count of elements of at least each bytes that follow.
    bool count(const std::uint32_t& n, std::size_t /*each*/) { return value(n); }
    bool text(const std::string& s) {
        auto n = static_cast<std::uint32_t>(s.size());
        out.append(reinterpret_cast<const char*>(&n), sizeof n);
        out += s;
        return true;
    }
    std::string out;
};

class Reader {
public:
    static constexpr bool kReading = true;
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    template <class T>
    bool value(T& v) {
        static_assert(std::is_trivially_copyable_v<T>);
        if (bytes_.size() - at_ < sizeof v) return false;
        std::memcpy(&v, bytes_.data() + at_, sizeof v);
        at_ += sizeof v;
        return true;
    }
    bool count(std::uint32_t& n, std::size_t each) { return value(n) && n <= (bytes_.size() - at_) / each; }
    bool text(std::string& s) {
        std::uint32_t n = 0;
        if (!count(n, 1)) return false;
        s.assign(bytes_.data() + at_, n);
        at_ += n;
        return true;
    }
    bool at_end() const { return at_ == bytes_.size(); }

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

template <class Io, class Items>
bool sized(Io& io, Items& items, std::size_t each) {
    auto n = static_cast<std::uint32_t>(items.size());
    if (!io.count(n, each)) return false;
    if constexpr (Io::kReading) items.resize(n);
    return true;
}

template <class Io, class StreamList>
bool streams_fields(Io& io, StreamList& streams) {
    if (!sized(io, streams, 8)) return false;
    for (auto& [id, data] : streams) {
        if (!io.value(id) || !sized(io, data, 4)) return false;
        for (auto& v : data)
            if (!io.value(v)) return false;
    }
    return true;
}

// Every field of the compact form, written or read in this one order: the
// scene's, then each node's.
template <class Io, class Scene>
bool scene_fields(Io& io, Scene& scene) {
    if (!io.value(scene.camera.eye) || !io.value(scene.camera.target) ||
        !sized(io, scene.camera_path, sizeof(refhost::Camera)))
        return false;
    for (auto& key : scene.camera_path)
        if (!io.value(key)) return false;
    return streams_fields(io, scene.root_streams) && io.count(scene.nodes, 16);
}

template <class Io, class NodeRecordOrView>
bool node_fields(Io& io, NodeRecordOrView& node) {
    if (!io.value(node.parent) || !io.value(node.kind) || !io.text(node.name)) return false;
    if (node.kind == refhost::kPart && !io.value(node.transformation)) return false;
    if (node.kind == refhost::kMarker && !io.value(node.center)) return false;
    if (node.kind == refhost::kMesh) {
        if (!sized(io, node.mesh.vertices, sizeof(ftv::Vec3))) return false;
        for (auto& v : node.mesh.vertices)
            if (!io.value(v)) return false;
        if (!sized(io, node.mesh.polygons, 4)) return false;
        for (auto& polygon : node.mesh.polygons) {
            if (!sized(io, polygon, 4) || polygon.size() < 3) return false;
            for (auto& index : polygon)
                if (!io.value(index) || index >= node.mesh.vertices.size()) return false;
        }
    }
    return streams_fields(io, node.streams);
}

Streams streams_of(const Node& node) {
    Streams out;
    for (const auto& [id, data] : node.streams()) out.emplace_back(id, *data);
    return out;
}

void set_streams(refhost::SceneTree& scene, const Node& node, Streams& streams) {
    for (auto& [id, data] : streams) scene.set_stream(node, static_cast<ftv::PluginId>(id), std::move(data));
}

}  // namespace

std::string compact_scene(const refhost::SceneTree& scene, const std::vector<refhost::Camera>& camera_path) {
    // The nodes below the root in the order they were made, numbered as
    // written, and about the bytes they take (a large model's form is written
    // once, not grown and copied).
    std::vector<const Node*> order;
    std::vector<const Node*> pending;
    std::size_t bytes = 256;
    for (const Node* child = scene.root().last(); child != nullptr; child = child->prev()) pending.push_back(child);
    while (!pending.empty()) {
        const Node* node = pending.back();
        pending.pop_back();
        order.push_back(node);
        bytes += 128 + node->name.size() + node->mesh.vertices.size() * sizeof(ftv::Vec3);
        for (const auto& polygon : node->mesh.polygons) bytes += 4 + 4 * polygon.size();
        for (const Node* child = node->last(); child != nullptr; child = child->prev()) pending.push_back(child);
    }
    Writer writer;
    writer.out.reserve(bytes + camera_path.size() * sizeof(refhost::Camera));
    writer.out = kMagic;
    const SceneRecord record{scene.camera_data(), camera_path, streams_of(scene.root()),
                             static_cast<std::uint32_t>(order.size())};
    scene_fields(writer, record);
    std::vector<std::uint32_t> number_of(scene.node_count() + 1, 0);
    for (std::uint32_t i = 0; i < order.size(); ++i) {
        const Node& node = *order[i];
        number_of[node.id] = i + 1;
        const NodeView out{number_of[node.parent()->id], node.kind, node.name, node.transformation, node.center,
                           node.mesh, streams_of(node)};
        node_fields(writer, out);
    }
    return writer.out;
}

bool read_compact_scene(std::string_view bytes, refhost::SceneTree& scene, std::vector<refhost::Camera>* camera_path) {
    const std::string_view magic(kMagic);
    if (bytes.substr(0, magic.size()) != magic) return false;
    Reader reader(bytes.substr(magic.size()));
    SceneRecord record;
    if (!scene_fields(reader, record)) return false;
    scene.set_camera(record.camera);
    if (camera_path != nullptr) *camera_path = std::move(record.camera_path);
    set_streams(scene, scene.root(), record.root_streams);
    // The nodes read so far, from the root, and the parts' depths.
    std::vector<const Node*> nodes{&scene.root()};
    std::vector<int> depths{0};
    for (std::uint32_t i = 0; i < record.nodes; ++i) {
        NodeRecord node;
        if (!node_fields(reader, node) || node.parent >= nodes.size()) return false;
        const Node& parent = *nodes[node.parent];
        const int depth = depths[node.parent] + 1;
        if (!parent.is_part() || (node.kind == refhost::kPart && depth > kMaxNesting)) return false;
        const Node* made = nullptr;
        switch (node.kind) {
            case refhost::kPart:
                made = &scene.add_part(parent, std::move(node.name));
                scene.set_transformation(*made, node.transformation);
                break;
            case refhost::kMarker: made = &scene.add_marker(parent, node.center, std::move(node.name)); break;
            case refhost::kMesh: made = &scene.add_mesh(parent, std::move(node.name), std::move(node.mesh)); break;
            default: return false;
        }
        set_streams(scene, *made, node.streams);
        nodes.push_back(made);
        depths.push_back(depth);
    }
    return reader.at_end();
}

}  // namespace ftv_cli
