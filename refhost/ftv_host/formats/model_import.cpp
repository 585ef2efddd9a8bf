#include "formats/model_import.h"

#include <assimp/DefaultLogger.hpp>
#include <assimp/Importer.hpp>
#include <assimp/LogStream.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <map>
#include <set>

#include "host/plugin_id.h"
#include "formats/camera_path.h"
#include "formats/importer_process.h"
#include "formats/input_error.h"
#include "formats/model_folder.h"
#include "formats/nesting_limit.h"
#include "formats/scene_transfer.h"
#include "judge/plugin_conventions.h"
#include "scene/imath_values.h"
#include "formats/shape_names.h"

namespace ftv_cli {

namespace {

using refhost::Mesh;
using refhost::Node;

// The importer's answer begins with one of these.
constexpr char kScene = 'S';    // then the scene's compact form
constexpr char kRefused = 'R';  // then the line that refuses the file
constexpr std::size_t kMaxRefusal = 4096;

std::string lower_extension(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    std::string extension = path.substr(dot);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

// Assimp's reason, as one line that does not repeat the file's name.
std::string reason_in_words(std::string what, const std::string& path, const ImporterLimits& limits) {
    if (what.rfind("No suitable reader found", 0) == 0)
        return "not a format Assimp reads (neither by its extension nor by its content)";
    if (what.find("bad_alloc") != std::string::npos) return importer_stopped(needed_more_memory(limits));
    for (const std::string& name : {"\"" + path + "\"", path}) {
        for (auto at = what.find(name); at != std::string::npos; at = what.find(name)) what.erase(at, name.size());
    }
    std::string line;
    for (char c : what) {
        const bool space = std::isspace(static_cast<unsigned char>(c)) != 0;
        if (space && (line.empty() || line.back() == ' ')) continue;
        line += space ? ' ' : std::isprint(static_cast<unsigned char>(c)) ? c : '?';
    }
    while (!line.empty() && (line.back() == ' ' || line.back() == '.')) line.pop_back();
    return line.empty() ? "Assimp cannot read it, and says not why" : "Assimp cannot read it: " + line;
}

// Assimp's matrices act on column vectors; the scene's on row vectors.
ftv::Mat4 row_matrix(const aiMatrix4x4& m) {
    ftv::Mat4 out{};
    for (unsigned i = 0; i < 4; ++i)
        for (unsigned j = 0; j < 4; ++j) out.m[i][j] = m[j][i];
    return out;
}

// The matrix that carries a node's coordinates into the file's world.
ftv::Mat4 world_of(const aiNode& node) {
    ftv::Mat4 world = row_matrix(node.mTransformation);
    for (const aiNode* up = node.mParent; up != nullptr; up = up->mParent)
        world = refhost::product(world, row_matrix(up->mTransformation));
    return world;
}

// A number of the metadata as a double, when it is one.
std::optional<double> metadata_number(const aiMetadataEntry& entry) {
    switch (entry.mType) {
        case AI_BOOL: return *static_cast<const bool*>(entry.mData) ? 1.0 : 0.0;
        case AI_INT32: return *static_cast<const std::int32_t*>(entry.mData);
        case AI_UINT64: return static_cast<double>(*static_cast<const std::uint64_t*>(entry.mData));
        case AI_FLOAT: return *static_cast<const float*>(entry.mData);
        case AI_DOUBLE: return *static_cast<const double*>(entry.mData);
        default: return std::nullopt;
    }
}

const aiMetadataEntry* metadata_entry(const aiNode& node, const char* key) {
    const aiMetadata* data = node.mMetaData;
    if (data == nullptr) return nullptr;
    for (unsigned i = 0; i < data->mNumProperties; ++i)
        if (std::strcmp(data->mKeys[i].C_Str(), key) == 0) return &data->mValues[i];
    return nullptr;
}

struct Bounds {
    double low[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL};
    double high[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    void add(const ftv::Vec3& v) {
        const double p[3] = {v.x, v.y, v.z};
        if (!std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2])) return;
        for (int i = 0; i < 3; ++i) low[i] = std::min(low[i], p[i]), high[i] = std::max(high[i], p[i]);
    }
    bool empty() const { return low[0] > high[0]; }
    ftv::Vec3 middle() const {
        return {static_cast<float>((low[0] + high[0]) / 2), static_cast<float>((low[1] + high[1]) / 2),
                static_cast<float>((low[2] + high[2]) / 2)};
    }
    double radius() const {
        double sum = 0;
        for (int i = 0; i < 3; ++i) sum += (high[i] - low[i]) * (high[i] - low[i]);
        return std::sqrt(sum) / 2;
    }
};

class Reader {
public:
    Reader(const std::string& file, const aiScene& model, const ModelTags& tags, refhost::SceneTree& scene)
        : file_(file), model_(model), scene_(scene), groups_(tags.groups) {
        for (const ModelTags::Path& tag : tags.paths) tag_paths_[normal_path(tag.path)] = tag.mode;
        if (model.mNumCameras > 0) camera_node_ = model.mRootNode->FindNode(model.mCameras[0]->mName);
    }

    void read() {
        const aiNode& root = *model_.mRootNode;
        if (const auto tag = tag_of(root, "/")) scene_.set_stream(scene_.root(), ftv::kMainId, {*tag});
        const ftv::Mat4 own = row_matrix(root.mTransformation);
        fill(root, scene_.root(), "", refhost::is_identity(own) ? std::nullopt : std::optional<ftv::Mat4>(own), true, false);
        for (const auto& [path, mode] : tag_paths_) {
            const Node* node = scene_.find(path);
            if (node == nullptr) throw InputError("--tag", "", "no part at path \"" + path + "\"");
            if (!node->is_part()) throw InputError("--tag", "", path + " is not a part: only parts turn");
        }
        if (scene_.root().first() == nullptr && model_.mNumCameras == 0)
            throw InputError(file_, "", "holds nothing to show: no node, no polygon and no camera");
        place_camera();
    }

private:
    // "/A/B" however the option wrote it ("A/B", "/A//B/").
    static std::string normal_path(const std::string& path) {
        std::string out;
        std::size_t start = 0;
        while (start <= path.size()) {
            std::size_t end = path.find('/', start);
            if (end == std::string::npos) end = path.size();
            if (end > start) out += "/" + path.substr(start, end - start);
            start = end + 1;
        }
        return out;
    }

    std::optional<std::int32_t> tag_of(const aiNode& node, const std::string& path) const {
        const aiMetadataEntry* entry = metadata_entry(node, ftv::kExtrasTagKey);
        if (entry == nullptr) return std::nullopt;
        const std::optional<double> value = metadata_number(*entry);
        if (!value || *value != std::floor(*value) || *value < INT32_MIN || *value > INT32_MAX)
            throw InputError(file_, path, std::string(ftv::kExtrasTagKey) + " in the node's metadata is not a 32-bit integer");
        return static_cast<std::int32_t>(*value);
    }

    static bool is_marker(const aiNode& node) {
        return std::strcmp(node.mName.C_Str(), ftv::kMarkerName) == 0 && node.mNumMeshes == 0 &&
               node.mNumChildren == 0;
    }

    bool is_camera_only(const aiNode& node) const {
        return &node == camera_node_ && node.mNumMeshes == 0 && node.mNumChildren == 0;
    }

    Mesh mesh_of(const aiMesh& from, const std::optional<ftv::Mat4>& carried, const std::string& path) const {
        Mesh mesh;
        mesh.vertices.reserve(from.mNumVertices);
        for (unsigned i = 0; i < from.mNumVertices; ++i) {
            const aiVector3D& v = from.mVertices[i];
            const ftv::Vec3 p{v.x, v.y, v.z};
            mesh.vertices.push_back(carried ? refhost::transform_point(p, *carried) : p);
        }
        mesh.polygons.reserve(from.mNumFaces);
        for (unsigned f = 0; f < from.mNumFaces; ++f) {
            const aiFace& face = from.mFaces[f];
            if (face.mNumIndices < 3) continue;
            for (unsigned k = 0; k < face.mNumIndices; ++k)
                if (face.mIndices[k] >= from.mNumVertices)
                    throw InputError(file_, path, "a polygon refers to a vertex the mesh does not have");
            mesh.polygons.emplace_back(face.mIndices, face.mIndices + face.mNumIndices);
        }
        return mesh;
    }

    // Adds what node holds to part: its marker, meshes and child nodes, each
    // carried through carried when set. reached: the update pass reaches the
    // parts added here; tagging: part was tagged by an option.
    void fill(const aiNode& node, const Node& part, const std::string& path, const std::optional<ftv::Mat4>& carried,
              bool reached, bool tagging) {
        const aiNode* marker = node.mNumChildren > 0 && is_marker(*node.mChildren[0]) ? node.mChildren[0] : nullptr;
        std::vector<const aiNode*> children;
        for (unsigned i = marker != nullptr ? 1 : 0; i < node.mNumChildren; ++i)
            if (!is_camera_only(*node.mChildren[i])) children.push_back(node.mChildren[i]);

        ShapeNames names;
        if (marker != nullptr || tagging) names.take(ftv::kMarkerName, "");
        std::vector<std::pair<std::string, Mesh>> meshes;
        Bounds bounds;
        for (unsigned i = 0; i < node.mNumMeshes; ++i) {
            const aiMesh& mesh = *model_.mMeshes[node.mMeshes[i]];
            const std::string name = names.take(mesh.mName.C_Str(), "mesh");
            meshes.emplace_back(name, mesh_of(mesh, carried, path + "/" + name));
            for (const ftv::Vec3& v : meshes.back().second.vertices) bounds.add(v);
        }
        if (marker != nullptr) {
            const ftv::Vec3 at = refhost::transform_point({0, 0, 0}, row_matrix(marker->mTransformation));
            scene_.add_marker(part, carried ? refhost::transform_point(at, *carried) : at);
        } else if (tagging) {
            const ftv::Vec3 origin = carried ? refhost::transform_point({0, 0, 0}, *carried) : ftv::Vec3{0, 0, 0};
            scene_.add_marker(part, bounds.empty() ? origin : bounds.middle());
        }
        for (auto& [name, mesh] : meshes) scene_.add_mesh(part, name, std::move(mesh));
        for (const aiNode* child : children) {
            const std::string name = names.take(child->mName.C_Str(), "unnamed");
            this->child(*child, part, path + "/" + name, name, carried, reached);
        }
    }

    void child(const aiNode& node, const Node& parent, const std::string& path, const std::string& name,
               const std::optional<ftv::Mat4>& carried, bool reached) {
        ftv::Mat4 own = transformation_of(node);
        if (carried) own = refhost::product(own, *carried);
        std::optional<std::int32_t> tag = tag_of(node, path);
        const auto asked = tag_paths_.find(path);
        const bool tagging = asked != tag_paths_.end() || (groups_ && reached && !tag && node.mNumMeshes > 0);
        if (tagging) tag = asked != tag_paths_.end() ? asked->second : *groups_;
        const Node& part = scene_.add_part(parent, name);
        if (tag) scene_.set_stream(part, ftv::kMainId, {*tag});
        if (tagging) {
            fill(node, part, path, own, reached && !tag, true);
        } else {
            scene_.set_transformation(part, own);
            fill(node, part, path, std::nullopt, reached && !tag, false);
        }
    }

    void place_camera() {
        Bounds world;
        for (std::uint32_t id = 1; id <= scene_.node_count(); ++id) {
            const Node& node = *scene_.node_by_id(id);
            if (node.kind != refhost::kMesh || node.parent() == nullptr) continue;
            const ftv::Mat4 to_world = scene_.local_to_world(node);
            for (const ftv::Vec3& v : node.mesh.vertices) world.add(refhost::transform_point(v, to_world));
        }
        const ftv::Vec3 middle = world.empty() ? ftv::Vec3{0, 0, 0} : world.middle();
        if (model_.mNumCameras == 0) {
            // From the side and above, as far as a 45 degree view needs to hold it all.
            const double radius = world.empty() || world.radius() == 0 ? 5 : world.radius();
            const double away = 1.1 * radius / std::sin(M_PI / 8) / std::sqrt(14.0 * 14 + 7 * 7 + 12 * 12);
            scene_.set_camera({{static_cast<float>(middle.x + 14 * away), static_cast<float>(middle.y + 7 * away),
                                static_cast<float>(middle.z + 12 * away)},
                               middle});
            return;
        }
        const aiCamera& camera = *model_.mCameras[0];
        const ftv::Mat4 to_world = camera_node_ != nullptr ? world_of(*camera_node_) : ftv::kIdentityMatrix;
        ftv::Vec3 position{camera.mPosition.x, camera.mPosition.y, camera.mPosition.z};
        // Assimp's glTF reader copies a camera node's translation into the
        // camera's position, which is relative to that node.
        if (camera_node_ != nullptr && is_gltf()) position = {0, 0, 0};
        const ftv::Vec3 eye = refhost::transform_point(position, to_world);
        refhost::Camera placed{eye, middle};
        if (const auto stored = stored_target()) {
            placed.target = *stored;
        } else {
            const refhost::V3d d = refhost::imath(refhost::transform_direction(
                {camera.mLookAt.x, camera.mLookAt.y, camera.mLookAt.z}, to_world));
            const double length = d.length();
            const double along = length > 0 ? ((refhost::imath(middle) - refhost::imath(eye)) ^ d) / (length * length) : 0;
            const double k = along > 0 ? along : length > 0 ? 1 / length : 0;
            placed.target = refhost::vec3(refhost::imath(eye) + d * k);
        }
        scene_.set_camera(placed);
    }

    bool is_gltf() const {
        aiString format;
        return model_.mMetaData != nullptr && model_.mMetaData->Get("SourceAsset_Format", format) &&
               std::strcmp(format.C_Str(), "glTF2 Importer") == 0;
    }

    std::optional<ftv::Vec3> stored_target() const {
        float xyz[3];
        if (camera_node_ == nullptr || !stored_floats(*camera_node_, ftv::kExtrasTargetKey, xyz, 3)) return std::nullopt;
        return ftv::Vec3{xyz[0], xyz[1], xyz[2]};
    }

    // The node's transformation, as its own extras keep it when glTF could not.
    static ftv::Mat4 transformation_of(const aiNode& node) {
        ftv::Mat4 kept{};
        return stored_floats(node, ftv::kExtrasMatrixKey, &kept.m[0][0], 16) ? kept : row_matrix(node.mTransformation);
    }

    // count numbers of an array in the node's metadata under key.
    static bool stored_floats(const aiNode& node, const char* key, float* out, unsigned count) {
        const aiMetadataEntry* entry = metadata_entry(node, key);
        if (entry == nullptr || entry->mType != AI_AIMETADATA) return false;
        const auto& values = *static_cast<const aiMetadata*>(entry->mData);
        if (values.mNumProperties != count) return false;
        for (unsigned i = 0; i < count; ++i) {
            const std::optional<double> value = metadata_number(values.mValues[i]);
            if (!value) return false;
            out[i] = static_cast<float>(*value);
        }
        return true;
    }

    const std::string& file_;
    const aiScene& model_;
    refhost::SceneTree& scene_;
    std::optional<std::int32_t> groups_;
    std::map<std::string, std::int32_t> tag_paths_;
    const aiNode* camera_node_ = nullptr;
};

// The nesting of the file's nodes, counted without the stack: its nodes may
// be nested far deeper than the limit.
int nesting_of(const aiNode& root) {
    int deepest = 0;
    std::vector<std::pair<const aiNode*, int>> pending{{&root, 0}};
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        deepest = std::max(deepest, depth);
        if (deepest > kMaxNesting) break;
        for (unsigned i = 0; i < node->mNumChildren; ++i) pending.emplace_back(node->mChildren[i], depth + 1);
    }
    return deepest;
}

void write_all(int fd, std::string_view bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

// Assimp's warnings and errors, to the child's standard error, which ftv-host
// keeps to say what stopped a reader.
class ErrorLog : public Assimp::LogStream {
public:
    void write(const char* message) override { write_all(STDERR_FILENO, message); }
};

// The importer's process: reads the model and answers with the scene in its
// compact form, or with the one line that refuses the file. Nothing read is
// freed: the process ends when it has answered.
void answer_in_child(int fd, const std::string& path, const ModelTags& tags, const ImporterLimits& limits) {
    try {
        Assimp::DefaultLogger::create("", Assimp::Logger::NORMAL, 0);
        Assimp::DefaultLogger::get()->attachStream(new ErrorLog, Assimp::Logger::Warn | Assimp::Logger::Err);
        auto* importer = new Assimp::Importer;
        auto* folder = new ModelFolder(path);
        importer->SetIOHandler(folder);
        // One node per node of the file, not FBX's chain of pivot helpers.
        importer->SetPropertyBool(AI_CONFIG_IMPORT_FBX_PRESERVE_PIVOTS, false);
        importer->SetPropertyInteger(AI_CONFIG_PP_SBP_REMOVE, aiPrimitiveType_POINT | aiPrimitiveType_LINE);
        const aiScene* model =
            importer->ReadFile(path, aiProcess_Triangulate | aiProcess_SortByPType | aiProcess_ValidateDataStructure);
        // What a reader was refused comes first: without it, it may have read nothing or less.
        if (!folder->refusal().empty()) throw InputError(path, "", folder->refusal());
        if (model == nullptr || model->mRootNode == nullptr)
            throw InputError(path, "", reason_in_words(importer->GetErrorString(), path, limits));
        if (nesting_of(*model->mRootNode) > kMaxNesting) throw InputError(path, "", nested_too_deep());
        auto* scene = new refhost::SceneTree;
        Reader(path, *model, tags, *scene).read();
        const std::string form = compact_scene(*scene, camera_path(*model, scene->camera_data()));
        write_all(fd, std::string_view(&kScene, 1));
        write_all(fd, form);
    } catch (const InputError& error) {
        write_all(fd, kRefused + std::string(error.what()).substr(0, kMaxRefusal));
    }
}

}  // namespace

bool is_model_file(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
    const std::string extension = lower_extension(path);
    if (extension == ".json") return false;
    if (!extension.empty() && Assimp::Importer().IsExtensionSupported(extension)) return true;
    std::ifstream in(path, std::ios::binary);
    char c = ' ';
    while (in.get(c) && std::isspace(static_cast<unsigned char>(c))) {
    }
    return !in || c != '{';
}

void import_model(const std::string& path, const ModelTags& tags, refhost::SceneTree& scene, double seconds,
                  std::vector<refhost::Camera>* camera_keys) {
    const ImporterLimits limits = limits_for(path, seconds);
    const std::string answer = run_importer(path, limits, [&](int fd) { answer_in_child(fd, path, tags, limits); });
    const std::string_view body = std::string_view(answer).substr(answer.empty() ? 0 : 1);
    if (!answer.empty() && answer[0] == kRefused && body.size() <= kMaxRefusal &&
        (body.rfind(path + ": ", 0) == 0 || body.rfind("--tag: ", 0) == 0))
        throw InputError(std::string(body));
    if (answer.empty() || answer[0] != kScene || !read_compact_scene(body, scene, camera_keys))
        throw InputError(path, "", importer_stopped("its answer is not a scene"));
}

}  // namespace ftv_cli
