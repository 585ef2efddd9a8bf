// The geometry's operations on bit patterns, for the table of inputs and
// outputs that both builds must reproduce. Floats travel as their 32 bits,
// doubles as their 64, each in one word.
#pragma once

#include <cstdint>
#include <vector>

namespace ftv::test {

using Words = std::vector<std::uint64_t>;

// Runs the operation named op ("normalized", "normalize", "transform_point",
// "transform_row", "multiply", "axis_rotation", "decompose", "sin", "cos",
// "asin", "atan2", "upright_turn", "direction_to_eye", "facing_transform") on the inputs and returns its outputs: results in argument
// order, normalize's length before its vector. Empty for an unknown name.
Words run_golden(const char* op, const Words& in);

}  // namespace ftv::test
