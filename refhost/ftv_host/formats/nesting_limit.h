// How deep a scene a file may hold, whatever its format (ftv-host's JSON or
// any model Assimp reads): parts inside parts, counted from the root's
// children. Real scenes stay far below it (a character's skeleton is some
// tens of levels); a file nested deeper is refused as it is read, with one
// line. The walks over a scene after loading do not depend on it: the group
// creator deepens a scene by a level at each event, so they keep no stack
// per level.
#pragma once

#include <string>

namespace ftv_cli {

constexpr int kMaxNesting = 1000;

// The fault, in the words of every reader.
inline std::string nested_too_deep() { return "parts nested deeper than " + std::to_string(kMaxNesting); }

}  // namespace ftv_cli
