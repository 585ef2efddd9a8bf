#include "formats/camera_path.h"

#include <assimp/scene.h>

#include <algorithm>
#include <cmath>

namespace ftv_cli {

namespace {

// A node of that name, searched with a stack of its own: a file may nest deep.
const aiNode* find_node(const aiNode& root, const aiString& name) {
    std::vector<const aiNode*> pending{&root};
    while (!pending.empty()) {
        const aiNode* node = pending.back();
        pending.pop_back();
        if (node->mName == name) return node;
        for (unsigned i = node->mNumChildren; i-- > 0;) pending.push_back(node->mChildren[i]);
    }
    return nullptr;
}

const aiNodeAnim* channel_of(const aiScene& model, const aiString& name) {
    for (unsigned a = 0; a < model.mNumAnimations; ++a)
        for (unsigned c = 0; c < model.mAnimations[a]->mNumChannels; ++c)
            if (model.mAnimations[a]->mChannels[c]->mNodeName == name) return model.mAnimations[a]->mChannels[c];
    return nullptr;
}

// A channel's keys in time order (a file may list them in any).
template <class Key>
std::vector<Key> in_order(const Key* keys, unsigned count) {
    std::vector<Key> out(keys, keys + count);
    std::stable_sort(out.begin(), out.end(), [](const Key& a, const Key& b) { return a.mTime < b.mTime; });
    return out;
}

// The value at time, between the keys around it; at rest without keys.
template <class Key, class Value, class Blend>
Value at(const std::vector<Key>& keys, double time, const Value& rest, Blend blend) {
    if (keys.empty()) return rest;
    const auto after = std::upper_bound(keys.begin(), keys.end(), time,
                                        [](double t, const Key& key) { return t < key.mTime; });
    if (after == keys.begin()) return keys.front().mValue;
    if (after == keys.end()) return keys.back().mValue;
    const Key& before = *(after - 1);
    const double span = after->mTime - before.mTime;
    return blend(before.mValue, after->mValue, static_cast<ai_real>(span > 0 ? (time - before.mTime) / span : 0));
}

}  // namespace

std::vector<refhost::Camera> camera_path(const aiScene& model, const refhost::Camera& placed) {
    if (model.mNumCameras == 0 || model.mRootNode == nullptr) return {};
    const aiNode* node = find_node(*model.mRootNode, model.mCameras[0]->mName);
    const aiNodeAnim* channel = node != nullptr ? channel_of(model, node->mName) : nullptr;
    if (channel == nullptr) return {};
    aiMatrix4x4 parents;
    for (const aiNode* parent = node->mParent; parent != nullptr; parent = parent->mParent)
        parents = parent->mTransformation * parents;
    // Where the eye and the target stand in the node, from where the scene placed them at rest.
    aiMatrix4x4 to_node = parents * node->mTransformation;
    to_node.Inverse();
    const aiVector3D eye(placed.eye.x, placed.eye.y, placed.eye.z);
    const aiVector3D target(placed.target.x, placed.target.y, placed.target.z);
    const aiVector3D eye_in_node = to_node * eye;
    const aiVector3D look_in_node = aiMatrix3x3(to_node) * (target - eye);
    const ai_real distance = (target - eye).Length();

    aiVector3D rest_scale, rest_position;
    aiQuaternion rest_rotation;
    node->mTransformation.Decompose(rest_scale, rest_rotation, rest_position);
    const auto positions = in_order(channel->mPositionKeys, channel->mNumPositionKeys);
    const auto rotations = in_order(channel->mRotationKeys, channel->mNumRotationKeys);
    const auto scales = in_order(channel->mScalingKeys, channel->mNumScalingKeys);
    std::vector<double> times;
    for (const auto& key : positions) times.push_back(key.mTime);
    for (const auto& key : rotations) times.push_back(key.mTime);
    for (const auto& key : scales) times.push_back(key.mTime);
    std::sort(times.begin(), times.end());
    times.erase(std::unique(times.begin(), times.end()), times.end());

    const auto lerp = [](const aiVector3D& a, const aiVector3D& b, ai_real f) { return a + (b - a) * f; };
    const auto slerp = [](const aiQuaternion& a, const aiQuaternion& b, ai_real f) {
        aiQuaternion out;
        aiQuaternion::Interpolate(out, a, b, f);
        return out.Normalize();
    };
    std::vector<refhost::Camera> path;
    for (const double time : times) {
        const aiMatrix4x4 world = parents * aiMatrix4x4(at(scales, time, rest_scale, lerp),
                                                        at(rotations, time, rest_rotation, slerp),
                                                        at(positions, time, rest_position, lerp));
        const aiVector3D at_eye = world * eye_in_node;
        aiVector3D look = aiMatrix3x3(world) * look_in_node;
        const ai_real length = look.Length();
        if (length > 0) look *= distance / length;
        const aiVector3D at_target = at_eye + look;
        path.push_back({{at_eye.x, at_eye.y, at_eye.z}, {at_target.x, at_target.y, at_target.z}});
    }
    return path;
}

}  // namespace ftv_cli
