#include "formats/gltf_export.h"

#include <cmath>
#include <cstring>
#include <set>

#include "host/plugin_id.h"
#include "formats/json_input.h"
#include "judge/plugin_conventions.h"
#include "scene/camera_basis.h"
#include "scene/imath_values.h"
#include "formats/shape_names.h"

namespace ftv_cli {

namespace {

using refhost::Node;
using refhost::V3d;

constexpr int kFloat = 5126;
constexpr int kUnsignedInt = 5125;
constexpr int kArrayBuffer = 34962;
constexpr int kElementArrayBuffer = 34963;

// As a double: its shortest decimal reads back as that double and so as this float.
Json number(float value) { return static_cast<double>(value); }

std::string base64(const std::string& bytes) {
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k)
            group = group << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        for (std::size_t k = 0; k < 4; ++k) out += k <= n ? kDigits[(group >> (18 - 6 * k)) & 63] : '=';
    }
    return out;
}

class Writer {
public:
    explicit Writer(const refhost::SceneTree& scene) : scene_(scene) {}

    std::string text() {
        Json root = node_for(scene_.root(), "root");
        root["children"].push_back(camera_node());
        document_["asset"] = {{"version", "2.0"}, {"generator", "ftv-host (Z_FaceToViewer)"}};
        document_["scene"] = 0;
        document_["scenes"] = Json::array({Json{{"nodes", Json::array({0})}}});
        // Nodes in the order they are numbered: each node's children were given numbers as they were made.
        nodes_.insert(nodes_.begin(), root);
        document_["nodes"] = nodes_;
        if (!meshes_.empty()) document_["meshes"] = meshes_;
        document_["cameras"] = Json::array({camera_});
        if (!accessors_.empty()) {
            document_["accessors"] = accessors_;
            document_["bufferViews"] = views_;
            document_["buffers"] = Json::array(
                {{{"byteLength", buffer_.size()}, {"uri", "data:application/octet-stream;base64," + base64(buffer_)}}});
        }
        return document_.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
    }

private:
    [[noreturn]] void refuse(const Node& node, const std::string& what) const {
        throw NotExportable(scene_.path_of(node) + ": " + what + " that is not finite, which glTF cannot hold");
    }

    Json matrix(const ftv::Mat4& m, const Node& node, const char* what) const {
        Json out = Json::array();
        for (const auto& row : m.m)
            for (float v : row) {
                if (!std::isfinite(v)) refuse(node, what);
                out.push_back(number(v));
            }
        return out;
    }

    // glTF holds only matrices made of a translation, a rotation and a scale.
    // Another one (sheared, mirrored by a zero, with a column 3 other than
    // (0, 0, 0, 1)) is written as the nearest such matrix for viewers, and as
    // itself in the extras, from where the model import reads it back.
    void add_matrix(Json& node, const ftv::Mat4& m, const Node& part) const {
        const Json exact = matrix(m, part, "a transformation");
        const ftv::Mat4 near = nearest_trs(m);
        if (std::memcmp(&near, &m, sizeof m) == 0) {
            node["matrix"] = exact;
            return;
        }
        node["matrix"] = matrix(near, part, "a transformation");
        node["extras"][ftv::kExtrasMatrixKey] = exact;
    }

    // m itself when it is a translation, rotation and scale to within a
    // millionth; else its rows made orthogonal (Gram-Schmidt, keeping their
    // lengths and the sign of the determinant) over column 3 = (0, 0, 0, 1).
    static ftv::Mat4 nearest_trs(const ftv::Mat4& m) {
        V3d r[3];
        double length[3];
        for (int i = 0; i < 3; ++i) {
            r[i] = V3d(m.m[i][0], m.m[i][1], m.m[i][2]);
            length[i] = r[i].length();
        }
        const double det = r[0] ^ (r[1] % r[2]);
        bool trs = m.m[0][3] == 0 && m.m[1][3] == 0 && m.m[2][3] == 0 && m.m[3][3] == 1 && det != 0;
        for (int i = 0; i < 3 && trs; ++i)
            for (int j = i + 1; j < 3; ++j) trs = trs && std::fabs(r[i] ^ r[j]) <= 1e-6 * length[i] * length[j];
        if (trs) return m;
        ftv::Mat4 out = ftv::kIdentityMatrix;
        for (int j = 0; j < 3; ++j) out.m[3][j] = m.m[3][j];
        if (!(length[0] > 0 && length[1] > 0 && length[2] > 0 && std::isfinite(det))) return out;
        V3d u[3];
        for (int i = 0; i < 3; ++i) {
            u[i] = r[i];
            for (int k = 0; k < i; ++k) u[i] -= u[k] * (u[i] ^ u[k]);
            const double n = u[i].length();
            if (!(n > 0)) return out;
            u[i] /= n;
        }
        // The third row from the first two, so that the turn keeps the determinant's sign.
        const V3d z = (u[0] % u[1]) * (det < 0 ? -1.0 : 1.0);
        for (int j = 0; j < 3; ++j) {
            out.m[0][j] = static_cast<float>(u[0][j] * length[0]);
            out.m[1][j] = static_cast<float>(u[1][j] * length[1]);
            out.m[2][j] = static_cast<float>(z[j] * length[2]);
        }
        return out;
    }

    // The node for a part, with its children numbered after it (so a node
    // made later has a higher number); the root's own number is 0.
    Json node_for(const Node& part, const std::string& name) {
        Json node = {{"name", name}};
        if (&part != &scene_.root() && !refhost::is_identity(part.transformation)) add_matrix(node, part.transformation, part);
        if (const refhost::StreamData* stream = part.stream(ftv::kMainId))
            node["extras"][ftv::kExtrasTagKey] = stream->empty() ? 0 : stream->front();
        Json primitives = Json::array();
        std::string mesh_name;
        for (const Node* child : part.children()) {
            if (child->kind == refhost::kMesh) {
                if (add_primitive(*child, primitives) && mesh_name.empty()) mesh_name = child->name;
                continue;
            }
            const std::size_t number = nodes_.size() + 1;
            nodes_.push_back(nullptr);
            if (child->is_part()) {
                nodes_[number - 1] = node_for(*child, child->name);
            } else {
                ftv::Mat4 at = ftv::kIdentityMatrix;
                at.m[3][0] = child->center.x, at.m[3][1] = child->center.y, at.m[3][2] = child->center.z;
                nodes_[number - 1] = {{"name", child->name}, {"matrix", matrix(at, *child, "a centre")}};
            }
            node["children"].push_back(number);
        }
        if (!primitives.empty()) {
            node["mesh"] = meshes_.size();
            meshes_.push_back({{"name", primitives.size() == 1 ? mesh_name : name}, {"primitives", primitives}});
        }
        return node;
    }

    std::size_t add_view(const void* data, std::size_t bytes, int target) {
        views_.push_back({{"buffer", 0}, {"byteOffset", buffer_.size()}, {"byteLength", bytes}, {"target", target}});
        buffer_.append(static_cast<const char*>(data), bytes);
        return views_.size() - 1;
    }

    bool add_primitive(const Node& shape, Json& primitives) {
        const refhost::Mesh& mesh = shape.mesh;
        std::vector<std::uint32_t> triangles;
        for (const auto& polygon : mesh.polygons)
            for (std::size_t k = 2; k < polygon.size(); ++k)
                triangles.insert(triangles.end(), {polygon[0], polygon[k - 1], polygon[k]});
        if (triangles.empty()) return false;
        float low[3] = {HUGE_VALF, HUGE_VALF, HUGE_VALF}, high[3] = {-HUGE_VALF, -HUGE_VALF, -HUGE_VALF};
        for (const ftv::Vec3& v : mesh.vertices) {
            const float p[3] = {v.x, v.y, v.z};
            for (int i = 0; i < 3; ++i) {
                if (!std::isfinite(p[i])) refuse(shape, "a vertex");
                low[i] = std::min(low[i], p[i]), high[i] = std::max(high[i], p[i]);
            }
        }
        static_assert(sizeof(ftv::Vec3) == 12, "vertices are packed as glTF's VEC3 of floats");
        const std::size_t positions = add_view(mesh.vertices.data(), mesh.vertices.size() * 12, kArrayBuffer);
        accessors_.push_back({{"bufferView", positions},
                              {"componentType", kFloat},
                              {"count", mesh.vertices.size()},
                              {"type", "VEC3"},
                              {"min", {number(low[0]), number(low[1]), number(low[2])}},
                              {"max", {number(high[0]), number(high[1]), number(high[2])}}});
        const std::size_t indices = add_view(triangles.data(), triangles.size() * 4, kElementArrayBuffer);
        accessors_.push_back(
            {{"bufferView", indices}, {"componentType", kUnsignedInt}, {"count", triangles.size()}, {"type", "SCALAR"}});
        primitives.push_back({{"attributes", {{"POSITION", accessors_.size() - 2}}}, {"indices", accessors_.size() - 1}});
        return true;
    }

    // At the eye, its -Z axis toward the target and its +Y up, as glTF's cameras look.
    Json camera_node() {
        const refhost::Camera& camera = scene_.camera_data();
        for (const ftv::Vec3& v : {camera.eye, camera.target})
            if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z)) refuse(scene_.root(), "a camera");
        const double distance = (refhost::imath(camera.target) - refhost::imath(camera.eye)).length();
        const auto [f, right, up] = refhost::camera_basis(camera);
        const float at[3] = {camera.eye.x, camera.eye.y, camera.eye.z};
        ftv::Mat4 m{};
        for (int i = 0; i < 3; ++i) {
            m.m[0][i] = static_cast<float>(right[i]);
            m.m[1][i] = static_cast<float>(up[i]);
            m.m[2][i] = static_cast<float>(-f[i]);
            m.m[3][i] = at[i];
        }
        m.m[3][3] = 1;
        camera_ = {{"type", "perspective"},
                   {"perspective",
                    {{"yfov", M_PI / 4}, {"aspectRatio", 4.0 / 3.0}, {"znear", std::max(distance / 1000, 1e-6)}}}};
        // A name no node has, so that a reader finds this node by the camera's name.
        std::set<std::string> names;
        for (std::uint32_t id = 1; id <= scene_.node_count(); ++id) names.insert(scene_.node_by_id(id)->name);
        std::string name = "camera";
        for (int n = 2; names.count(name) != 0; ++n) name = "camera~" + std::to_string(n);
        nodes_.push_back({{"name", name},
                          {"camera", 0},
                          {"matrix", matrix(m, scene_.root(), "a camera")},
                          {"extras",
                           {{ftv::kExtrasTargetKey,
                             {number(camera.target.x), number(camera.target.y), number(camera.target.z)}}}}});
        return nodes_.size();
    }

    const refhost::SceneTree& scene_;
    Json document_ = Json::object();
    Json nodes_ = Json::array();
    Json meshes_ = Json::array();
    Json accessors_ = Json::array();
    Json views_ = Json::array();
    Json camera_;
    std::string buffer_;
};

}  // namespace

std::string gltf_text(const refhost::SceneTree& scene) { return Writer(scene).text(); }

}  // namespace ftv_cli
