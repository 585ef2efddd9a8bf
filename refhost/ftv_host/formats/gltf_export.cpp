#include "formats/gltf_export.h"

#include <tiny_gltf.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <sstream>

#include "formats/gltf_export_trs.h"
#include "formats/json_input.h"
#include "host/contract.h"
#include "scene/camera_basis.h"
#include "scene/imath_values.h"

namespace ftv_cli {

namespace {

using refhost::Node;
using refhost::V3d;

// The serializer refuses bytes that are not UTF-8; a name from a model file
// may hold any. Each such byte becomes U+FFFD, as nlohmann's dump replaces it.
std::string utf8(const std::string& name) {
    return Json::parse(Json(name).dump(-1, ' ', false, Json::error_handler_t::replace)).get<std::string>();
}

std::vector<double> doubles(std::initializer_list<float> values) { return {values.begin(), values.end()}; }

tinygltf::Value floats_value(const float* values, std::size_t count) {
    tinygltf::Value::Array out;
    for (std::size_t i = 0; i < count; ++i) out.emplace_back(static_cast<double>(values[i]));
    return tinygltf::Value(std::move(out));
}

void set_extra(tinygltf::Node& node, const std::string& key, tinygltf::Value value) {
    using Object = tinygltf::Value::Object;
    Object extras = node.extras.IsObject() ? node.extras.Get<Object>() : Object{};
    extras[key] = std::move(value);
    node.extras = tinygltf::Value(std::move(extras));
}

void set_trs(tinygltf::Node& node, const Trs& trs) {
    node.matrix.clear();
    node.translation = doubles({trs.translation.x, trs.translation.y, trs.translation.z});
    node.rotation = doubles({trs.rotation.v.x, trs.rotation.v.y, trs.rotation.v.z, trs.rotation.r});
    node.scale = doubles({trs.scale.x, trs.scale.y, trs.scale.z});
}

// The camera's turn: its -Z toward the target and its +Y up, as glTF's
// cameras look.
Trs camera_trs(const refhost::Camera& camera) {
    const auto [f, right, up] = refhost::camera_basis(camera);
    ftv::Mat4 m = ftv::kIdentityMatrix;
    for (int i = 0; i < 3; ++i) {
        m.m[0][i] = static_cast<float>(right[i]);
        m.m[1][i] = static_cast<float>(up[i]);
        m.m[2][i] = static_cast<float>(-f[i]);
    }
    m.m[3][0] = camera.eye.x, m.m[3][1] = camera.eye.y, m.m[3][2] = camera.eye.z;
    Trs trs = nearest_trs(m);
    trs.scale = {1, 1, 1};
    return trs;
}

class Writer {
public:
    Writer(const refhost::SceneTree& scene, const EyePath& path) : scene_(scene), path_(path) {
        model_.asset.version = "2.0";
        model_.asset.generator = "ftv-host (Z_FaceToViewer)";
        model_.buffers.emplace_back();
    }

    GltfScene write() {
        add_nodes();
        const int camera = add_camera();
        model_.nodes[0].children.push_back(camera);
        model_.scenes.push_back({});
        model_.scenes[0].nodes = {0};
        model_.defaultScene = 0;
        if (!path_.cameras.empty()) add_animation(camera);
        if (model_.buffers[0].data.empty()) model_.buffers.clear();
        std::ostringstream text;
        tinygltf::TinyGLTF().WriteGltfSceneToStream(&model_, text, false, false);
        GltfScene out;
        out.text = text.str();
        out.steps = path_.cameras.size();
        out.animated = animated_;
        out.largest_trs_error = largest_error_;
        return out;
    }

private:
    [[noreturn]] void refuse(const Node& node, const std::string& what) const {
        throw NotExportable(scene_.path_of(node) + ": " + what + " that is not finite, which glTF cannot hold");
    }

    void check_finite(const ftv::Mat4& m, const Node& node, const char* what) const {
        for (const auto& row : m.m)
            for (float v : row)
                if (!std::isfinite(v)) refuse(node, what);
    }

    static std::vector<double> matrix(const ftv::Mat4& m) {
        std::vector<double> out;
        for (const auto& row : m.m)
            for (float v : row) out.push_back(v);
        return out;
    }

    // glTF holds only matrices made of a translation, a rotation and a scale.
    // Another one (sheared, mirrored by a zero, with a column 3 other than
    // (0, 0, 0, 1)) is written as the nearest such matrix for viewers, and as
    // itself in the extras. A part the animation turns takes its TRS instead.
    void add_transformation(tinygltf::Node& node, const Node& part) {
        const ftv::Mat4& m = part.transformation;
        check_finite(m, part, "a transformation");
        const auto keys = path_.parts.find(part.id);
        if (keys != path_.parts.end() && !path_.cameras.empty()) {
            animated_parts_.emplace_back(static_cast<int>(model_.nodes.size() - 1), &keys->second);
            set_trs(node, nearest_trs(m));
            set_extra(node, ftv::kExtrasMatrixKey, floats_value(&m.m[0][0], 16));
            return;
        }
        if (refhost::is_identity(m)) return;
        if (is_trs(m)) {
            node.matrix = matrix(m);
            return;
        }
        node.matrix = matrix(refhost::mat4(trs_matrix(nearest_trs(m))));
        set_extra(node, ftv::kExtrasMatrixKey, floats_value(&m.m[0][0], 16));
    }

    // Depth first with a stack of its own (a hostile file may nest parts
    // deeper than the call stack reaches): a part's node, then each of its
    // markers and parts in order, each part with everything below it.
    void add_nodes() {
        struct Pending {
            const Node* shape;
            int parent;  // its part's node
        };
        std::vector<Pending> stack{{&scene_.root(), -1}};
        while (!stack.empty()) {
            const Pending next = stack.back();
            stack.pop_back();
            const Node& shape = *next.shape;
            const int number = static_cast<int>(model_.nodes.size());
            model_.nodes.emplace_back();
            if (next.parent >= 0) model_.nodes[next.parent].children.push_back(number);
            tinygltf::Node& node = model_.nodes.back();
            node.name = next.parent < 0 ? "root" : utf8(shape.name);
            if (!shape.is_part()) {
                const ftv::Mat4 at = ftv::translation_matrix(shape.center);
                check_finite(at, shape, "a centre");
                node.matrix = matrix(at);
                continue;
            }
            if (next.parent >= 0) add_transformation(node, shape);
            if (const refhost::StreamData* stream = shape.stream(ftv::kMainId))
                set_extra(node, ftv::kExtrasTagKey, tinygltf::Value(stream->empty() ? 0 : stream->front()));
            add_mesh(shape, number);
            const std::size_t first = stack.size();
            for (const Node* child = shape.first(); child != nullptr; child = child->next())
                if (child->kind != refhost::kMesh) stack.push_back({child, number});
            std::reverse(stack.begin() + static_cast<std::ptrdiff_t>(first), stack.end());
        }
    }

    // The part's meshes as one glTF mesh of a primitive each, named as its
    // only mesh or else as the part.
    void add_mesh(const Node& part, int number) {
        tinygltf::Mesh mesh;
        for (const Node* child = part.first(); child != nullptr; child = child->next())
            if (child->kind == refhost::kMesh && add_primitive(*child, mesh) && mesh.name.empty())
                mesh.name = utf8(child->name);
        if (mesh.primitives.empty()) return;
        if (mesh.primitives.size() > 1) mesh.name = model_.nodes[number].name;
        model_.nodes[number].mesh = static_cast<int>(model_.meshes.size());
        model_.meshes.push_back(std::move(mesh));
    }

    int add_view(const void* data, std::size_t bytes, int target) {
        std::vector<unsigned char>& buffer = model_.buffers[0].data;
        tinygltf::BufferView view;
        view.buffer = 0;
        view.byteOffset = buffer.size();
        view.byteLength = bytes;
        view.target = target;
        const auto* begin = static_cast<const unsigned char*>(data);
        buffer.insert(buffer.end(), begin, begin + bytes);
        model_.bufferViews.push_back(view);
        return static_cast<int>(model_.bufferViews.size() - 1);
    }

    int add_accessor(const void* data, std::size_t count, int type, int component_type, int target) {
        const std::size_t size = tinygltf::GetComponentSizeInBytes(component_type) *
                                 static_cast<std::size_t>(tinygltf::GetNumComponentsInType(type));
        tinygltf::Accessor accessor;
        accessor.bufferView = add_view(data, count * size, target);
        accessor.componentType = component_type;
        accessor.count = count;
        accessor.type = type;
        model_.accessors.push_back(accessor);
        return static_cast<int>(model_.accessors.size() - 1);
    }

    bool add_primitive(const Node& shape, tinygltf::Mesh& mesh) {
        const refhost::Mesh& polygons = shape.mesh;
        std::vector<std::uint32_t> triangles;
        for (const auto& polygon : polygons.polygons)
            for (std::size_t k = 2; k < polygon.size(); ++k)
                triangles.insert(triangles.end(), {polygon[0], polygon[k - 1], polygon[k]});
        if (triangles.empty()) return false;
        float low[3] = {HUGE_VALF, HUGE_VALF, HUGE_VALF}, high[3] = {-HUGE_VALF, -HUGE_VALF, -HUGE_VALF};
        for (const ftv::Vec3& v : polygons.vertices) {
            const float p[3] = {v.x, v.y, v.z};
            for (int i = 0; i < 3; ++i) {
                if (!std::isfinite(p[i])) refuse(shape, "a vertex");
                low[i] = std::min(low[i], p[i]), high[i] = std::max(high[i], p[i]);
            }
        }
        static_assert(sizeof(ftv::Vec3) == 12, "vertices are packed as glTF's VEC3 of floats");
        tinygltf::Primitive primitive;
        primitive.mode = TINYGLTF_MODE_TRIANGLES;
        primitive.attributes["POSITION"] =
            add_accessor(polygons.vertices.data(), polygons.vertices.size(), TINYGLTF_TYPE_VEC3,
                         TINYGLTF_COMPONENT_TYPE_FLOAT, TINYGLTF_TARGET_ARRAY_BUFFER);
        model_.accessors.back().minValues = doubles({low[0], low[1], low[2]});
        model_.accessors.back().maxValues = doubles({high[0], high[1], high[2]});
        primitive.indices = add_accessor(triangles.data(), triangles.size(), TINYGLTF_TYPE_SCALAR,
                                         TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT, TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
        mesh.primitives.push_back(std::move(primitive));
        return true;
    }

    // At the eye, looking at the target (camera_trs); a matrix unless animated.
    int add_camera() {
        const refhost::Camera& camera = scene_.camera_data();
        for (const ftv::Vec3& v : {camera.eye, camera.target})
            if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z)) refuse(scene_.root(), "a camera");
        for (const refhost::Camera& step : path_.cameras)
            for (const ftv::Vec3& v : {step.eye, step.target})
                if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z))
                    refuse(scene_.root(), "a camera on the eye's path");
        const double distance = (refhost::imath(camera.target) - refhost::imath(camera.eye)).length();
        tinygltf::Camera lens;
        lens.type = "perspective";
        lens.perspective.yfov = M_PI / 4;
        lens.perspective.aspectRatio = 4.0 / 3.0;
        lens.perspective.znear = std::max(distance / 1000, 1e-6);
        // tinygltf always writes a far plane, and glTF wants it beyond the near one.
        lens.perspective.zfar = lens.perspective.znear * 1e7;
        model_.cameras.push_back(lens);

        tinygltf::Node node;
        // A name no node has, so that a reader finds this node by the camera's name.
        std::set<std::string> names;
        for (const tinygltf::Node& other : model_.nodes) names.insert(other.name);
        node.name = "camera";
        for (int n = 2; names.count(node.name) != 0; ++n) node.name = "camera~" + std::to_string(n);
        node.camera = 0;
        const Trs trs = camera_trs(camera);
        if (path_.cameras.empty())
            node.matrix = matrix(refhost::mat4(trs_matrix(trs)));
        else
            set_trs(node, trs);
        const float target[3] = {camera.target.x, camera.target.y, camera.target.z};
        set_extra(node, ftv::kExtrasTargetKey, floats_value(target, 3));
        model_.nodes.push_back(std::move(node));
        return static_cast<int>(model_.nodes.size() - 1);
    }

    // Keys of one node, and the channels that take them.
    void add_channels(tinygltf::Animation& animation, int node, int times, const std::vector<Trs>& keys, bool scale) {
        std::vector<float> translations, rotations, scales;
        Imath::Quatf previous = keys.front().rotation;
        for (const Trs& key : keys) {
            Imath::Quatf q = key.rotation;
            if ((q ^ previous) < 0) q = -q;
            previous = q;
            translations.insert(translations.end(), {key.translation.x, key.translation.y, key.translation.z});
            rotations.insert(rotations.end(), {q.v.x, q.v.y, q.v.z, q.r});
            scales.insert(scales.end(), {key.scale.x, key.scale.y, key.scale.z});
        }
        const auto channel = [&](const char* what, const std::vector<float>& values, int type) {
            tinygltf::AnimationSampler sampler;
            sampler.input = times;
            sampler.output =
                add_accessor(values.data(), keys.size(), type, TINYGLTF_COMPONENT_TYPE_FLOAT, 0);
            sampler.interpolation = "LINEAR";
            tinygltf::AnimationChannel to;
            to.sampler = static_cast<int>(animation.samplers.size());
            to.target_node = node;
            to.target_path = what;
            animation.samplers.push_back(sampler);
            animation.channels.push_back(to);
        };
        channel("translation", translations, TINYGLTF_TYPE_VEC3);
        channel("rotation", rotations, TINYGLTF_TYPE_VEC4);
        if (scale) channel("scale", scales, TINYGLTF_TYPE_VEC3);
    }

    void add_animation(int camera) {
        const std::size_t steps = path_.cameras.size();
        std::vector<float> seconds;
        for (std::size_t step = 0; step < steps; ++step) seconds.push_back(static_cast<float>(step / kStepsPerSecond));
        const int times = add_accessor(seconds.data(), steps, TINYGLTF_TYPE_SCALAR, TINYGLTF_COMPONENT_TYPE_FLOAT, 0);
        model_.accessors.back().minValues = {seconds.front()};
        model_.accessors.back().maxValues = {seconds.back()};
        tinygltf::Animation animation;
        animation.name = "eye path";
        std::vector<Trs> keys;
        for (const refhost::Camera& step : path_.cameras) keys.push_back(camera_trs(step));
        add_channels(animation, camera, times, keys, false);
        for (const auto& [node, matrices] : animated_parts_) {
            keys.clear();
            for (const ftv::Mat4& m : *matrices) {
                check_finite(m, scene_.root(), "a turn on the eye's path");
                keys.push_back(nearest_trs(m));
                largest_error_ = std::max(largest_error_, trs_error(m, keys.back()));
            }
            add_channels(animation, node, times, keys, true);
        }
        animated_ = animated_parts_.size();
        model_.animations.push_back(std::move(animation));
    }

    const refhost::SceneTree& scene_;
    const EyePath& path_;
    tinygltf::Model model_;
    // Nodes of parts the path turns, with their transformations at each step.
    std::vector<std::pair<int, const std::vector<ftv::Mat4>*>> animated_parts_;
    std::size_t animated_ = 0;
    double largest_error_ = 0;
};

}  // namespace

GltfScene gltf_scene(const refhost::SceneTree& scene, const EyePath& path) { return Writer(scene, path).write(); }

}  // namespace ftv_cli
