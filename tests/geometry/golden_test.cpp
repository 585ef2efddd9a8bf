// The outputs of a fixed set of inputs, bit for bit, as the native build
// produced them: the Windows build must give the same bits.
#include "golden_ops.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace ftv::test {
namespace {

struct Record {
    const char* op;
    Words in, out;
};

const Record kRecords[] = {
#include "data/golden_table.inc"
};

TEST(GoldenTable, EveryBuildGivesTheRecordedBits) {
    std::map<std::string, int> per_op;
    int index = 0;
    for (const Record& r : kRecords) {
        EXPECT_EQ(run_golden(r.op, r.in), r.out) << r.op << ", record " << index;
        ++per_op[r.op];
        ++index;
    }
    // A truncated table would pass vacuously: every operation must be there.
    for (const char* op : {"normalized", "normalize", "transform_point", "transform_row", "multiply", "axis_rotation",
                           "decompose", "sin", "cos", "asin", "atan2",
                           "direction_to_eye", "facing_transform", "exact_facing"})
        EXPECT_GE(per_op[op], 10) << op;
}

}  // namespace
}  // namespace ftv::test
