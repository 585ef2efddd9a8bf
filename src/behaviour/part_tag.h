// The values of a part's tag, the first integer of its plug-in stream, and
// how the update pass turns a tagged part by it.
#pragma once

#include <cstdint>

namespace ftv {

// What the attribute dialog and the group creator store. Any other non-zero
// value, such as one stored by hand, is a plain tag.
constexpr std::int32_t kUntagged = 0;
constexpr std::int32_t kTagged = 1;
// Turned about the world's vertical only. A module built before upright parts
// reads it as a plain tag and turns the part fully: scenes stay readable both
// ways.
constexpr std::int32_t kUprightTag = 2;

enum class Facing {
    toward_eye,  // +Z toward the eye
    upright,     // +Z toward the eye's horizontal direction, +Y kept vertical
};

// How a part with a non-zero tag is turned.
constexpr Facing facing_for_tag(std::int32_t tag) { return tag == kUprightTag ? Facing::upright : Facing::toward_eye; }

}  // namespace ftv
