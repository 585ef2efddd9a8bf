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
// "asin", "atan2", "direction_to_eye", "facing_transform", "exact_facing") on
// the inputs and returns its outputs: results in argument order, normalize's
// length before its vector, exact_facing's answer (1 or 0) before its matrix,
// which is there only when it turned. Empty for an unknown name.
Words run_golden(const char* op, const Words& in);

}  // namespace ftv::test
