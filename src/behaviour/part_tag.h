// The values of a part's tag, the first integer of its plug-in stream, and
// how the update pass turns a tagged part by it.
#pragma once

#include <cstdint>

#include "host/contract.h"

namespace ftv {

// The tag values (kUntagged, kTagged, kUprightTag, kExactTag) are the
// contract's.

// How a part with a non-zero tag is turned. Upright and exact are computed
// from the frame the part's transformation is expressed in and the eye alone;
// as long as the host's local_to_world of a part excludes the part's own
// transformation, a second pass with the same eye writes the same bits.
enum class Facing {
    // +Z toward the eye with the host's rotation, then the frame's three
    // turns undone in the order X, Y, Z: what stored scenes were made with,
    // exact only for frames turned about one axis.
    toward_eye,
    upright,  // +Y exactly up, +Z toward the eye's horizontal direction
    exact,    // +Z exactly toward the eye, +Y toward up: no roll
};

constexpr Facing facing_for_tag(std::int32_t tag) {
    return tag == kUprightTag ? Facing::upright : tag == kExactTag ? Facing::exact : Facing::toward_eye;
}

}  // namespace ftv
