// The value math on arbitrary float bit patterns. Every function is called on
// the raw input, where the sanitizers catch undefined behaviour (a NaN or an
// infinity converted to an integer, an index from a value, ...). Where the
// input is finite and not degenerate, the results are checked:
// - normalize, normalized: unit length, within 1e-6;
// - transform_point: finite;
// - decompose: finite parts, which rebuilt as Sc * H * Rx * Ry * Rz * T give
//   the matrix divided by m[3][3] back: each element of the upper 3x3 within
//   (2e-5 + 2e-7 / (q cos Y)) of the largest row length, the translation
//   within 1e-6 relative. The parts are floats, and their rounding (6e-8)
//   grows as the matrix nears the cases it cannot resolve: by 1 / cos Y near
//   +-90 degrees about Y (the Y angle is the arcsine of the unit row 0's z; at
//   cos Y below 2e-4 the turn about Z is folded into X, off by up to cos Y),
//   and by 1 / q as the rows near linear dependence, q being the determinant
//   over the product of the row lengths (1 for orthogonal rows);
// - direction_to_eye: unit length within 1e-5, pointing from the pivot carried
//   to world toward the eye within 1e-4 (1 - cosine);
// - facing_transform with a rotation as turn: finite, and the pivot stays put
//   within 2e-6 of its size plus 1e-5;
// - exact_facing_transform, with the axis as the direction and m as the frame,
//   both aims: where it turns, the result's 3x3 orthonormal with determinant
//   +1 within 1e-6, the pivot kept within 2e-6 of its size plus 1e-5, and on
//   frames not degenerate the primary axis carried to world along its target
//   within 1e-6 radians times the spread of the row lengths over q^2.
// "Not degenerate": magnitudes within 1e-2 to 1e2 (translations and points up
// to 1e4), m[3][3] within 1e-2 to 1e2 in size, rows at least 0.05 (the sine of
// an angle) from linear dependence, an eye at least 1e-2 of the scene's size
// from the pivot.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "geometry/decompose.h"
#include "geometry/det_math.h"
#include "geometry/exact_facing.h"
#include "turns.h"
#include "geometry/face_camera.h"
#include "geometry/primitives.h"

namespace {

using ftv::Mat4;
using ftv::Vec3;

[[noreturn]] void fail(const std::string& what, const float* input, std::size_t count) {
    std::fprintf(stderr, "fuzz check failed: %s\ninput:", what.c_str());
    for (std::size_t i = 0; i < count; ++i) std::fprintf(stderr, " %.9g", static_cast<double>(input[i]));
    std::fprintf(stderr, "\n");
    std::abort();
}

bool finite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }
bool finite(const Mat4& m) {
    for (const auto& row : m.m)
        for (float e : row)
            if (!std::isfinite(e)) return false;
    return true;
}
double length(const Vec3& v) {
    return std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z);
}
bool within(const Vec3& v, double low, double high) {
    for (float e : {v.x, v.y, v.z})
        if (!(std::fabs(double(e)) <= high) || (e != 0 && std::fabs(double(e)) < low)) return false;
    return true;
}

Mat4 product(const Mat4& a, const Mat4& b) {
    Mat4 out;
    ftv::multiply(a, b, out);
    return out;
}

// Sc * H * Rx * Ry * Rz * T, built with the library's own operations.
Mat4 rebuild(const Vec3& t, const Vec3& s, const Vec3& h, const Vec3& r) {
    const Mat4 scale = {{{s.x, 0, 0, 0}, {0, s.y, 0, 0}, {0, 0, s.z, 0}, {0, 0, 0, 1}}};
    const Mat4 shear = {{{1, 0, 0, 0}, {h.z, 1, 0, 0}, {h.y, h.x, 1, 0}, {0, 0, 0, 1}}};
    const Mat4 move = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {t.x, t.y, t.z, 1}}};
    using testing_support::turn;
    Mat4 m = product(scale, shear);
    m = product(m, turn({1, 0, 0}, r.x));
    m = product(m, turn({0, 1, 0}, r.y));
    m = product(m, turn({0, 0, 1}, r.z));
    return product(m, move);
}

constexpr std::size_t kFloats = 30;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    float in[kFloats] = {};
    std::memcpy(in, data, std::min(size, sizeof in));
    Mat4 m;
    std::memcpy(&m, in, sizeof m);
    const Vec3 a{in[16], in[17], in[18]};  // a point, the pivot
    const Vec3 b{in[19], in[20], in[21]};  // the eye
    const Vec3 axis{in[22], in[23], in[24]};
    const float c = in[25], s = in[26];
    const Vec3 angles{in[27], in[28], in[29]};
    auto check = [&](bool ok, const char* what) {
        if (!ok) fail(what, in, kFloats);
    };

    // normalize and normalized.
    Vec3 unit = a;
    const float had = ftv::normalize(unit);
    Vec3 unit2;
    ftv::normalized(a, unit2);
    if (finite(a) && length(a) > 1e-30 && length(a) < 1e30) {
        check(std::isfinite(had) && had > 0, "normalize: the length it had");
        check(std::fabs(length(unit) - 1) <= 1e-6, "normalize: unit length");
        check(std::fabs(length(unit2) - 1) <= 1e-6, "normalized: unit length");
    }

    // transform_point.
    Vec3 moved;
    ftv::transform_point(a, m, moved);
    bool bounded_matrix = std::fabs(m.m[3][3]) >= 1e-2f && std::fabs(m.m[3][3]) <= 1e2f;
    for (int i = 0; i < 4; ++i)
        bounded_matrix = bounded_matrix && within({m.m[i][0], m.m[i][1], m.m[i][2]}, 0, i == 3 ? 1e4 : 1e2);
    if (bounded_matrix && within(a, 0, 1e4)) check(finite(moved), "transform_point: finite");

    // decompose, with every output and with none.
    Vec3 t, sc, h, r;
    ftv::decompose(m, &t, &sc, &h, &r);
    ftv::decompose(m, nullptr, nullptr, nullptr, nullptr);
    if (bounded_matrix) {
        // The upper 3x3 divided by m[3][3]: rows of a length within 1e-2 to
        // 1e2, and a determinant at least 0.05 of the product of their lengths.
        double u[3][3], row_length[3], largest = 0;
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) u[i][j] = double(m.m[i][j]) / m.m[3][3];
            row_length[i] = std::sqrt(u[i][0] * u[i][0] + u[i][1] * u[i][1] + u[i][2] * u[i][2]);
            largest = std::max(largest, row_length[i]);
        }
        const double det = u[0][0] * (u[1][1] * u[2][2] - u[1][2] * u[2][1]) -
                           u[0][1] * (u[1][0] * u[2][2] - u[1][2] * u[2][0]) +
                           u[0][2] * (u[1][0] * u[2][1] - u[1][1] * u[2][0]);
        bool regular = std::fabs(det) >= 0.05 * row_length[0] * row_length[1] * row_length[2];
        for (double l : row_length) regular = regular && l >= 1e-2 && l <= 1e2;
        if (regular) {
            check(finite(t) && finite(sc) && finite(h) && finite(r), "decompose: finite parts");
            const Mat4 back = rebuild(t, sc, h, r);
            const double cos_y = std::sqrt(u[0][0] * u[0][0] + u[0][1] * u[0][1]) / row_length[0];
            const double q = std::fabs(det) / (row_length[0] * row_length[1] * row_length[2]);
            const double tolerance = (2e-5 + 2e-7 / (q * std::max(cos_y, 2e-4))) * largest;
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j)
                    check(std::fabs(back.m[i][j] - u[i][j]) <= tolerance, "decompose: rebuilt 3x3");
            for (int j = 0; j < 3; ++j) {
                const double want = double(m.m[3][j]) / m.m[3][3];
                check(std::fabs(back.m[3][j] - want) <= 1e-6 * std::fabs(want) + 1e-30, "decompose: translation");
            }
        }
    }

    // direction_to_eye from the pivot a, in the part's coordinates of m, to the eye b.
    Vec3 toward;
    ftv::direction_to_eye(m, a, b, toward);
    if (bounded_matrix && within(a, 0, 1e4) && within(b, 0, 1e4)) {
        Vec3 pivot;
        ftv::transform_point(a, m, pivot);
        const Vec3 want{b.x - pivot.x, b.y - pivot.y, b.z - pivot.z};
        const double distance = length(want);
        if (distance >= 1e-2 * (1 + length(pivot) + length(b))) {
            check(std::fabs(length(toward) - 1) <= 1e-5, "direction_to_eye: unit length");
            const double cosine = (toward.x * double(want.x) + toward.y * double(want.y) + toward.z * double(want.z)) /
                                  distance;
            check(cosine >= 1 - 1e-4, "direction_to_eye: toward the eye");
        }
    }

    // facing_transform: first on the raw turn (c, s as given), then on a rotation.
    Mat4 raw_turn, facing;
    ftv::axis_rotation(axis, c, s, raw_turn);
    ftv::facing_transform(a, raw_turn, angles, facing);
    if (finite(a) && within(a, 0, 1e4) && within(axis, 1e-2, 1e2) && std::isfinite(c) && std::fabs(c) <= 1e2 &&
        within(angles, 0, 1e2)) {
        Mat4 turn;
        const double angle = c;
        ftv::axis_rotation(axis, static_cast<float>(ftv::detmath::cos(angle)),
                           static_cast<float>(ftv::detmath::sin(angle)), turn);
        ftv::facing_transform(a, turn, angles, facing);
        check(finite(facing), "facing_transform: finite");
        Vec3 fixed;
        ftv::transform_point(a, facing, fixed);
        const Vec3 off{fixed.x - a.x, fixed.y - a.y, fixed.z - a.z};
        check(length(off) <= 2e-6 * length(a) + 1e-5, "facing_transform: the pivot stays put");
    }

    // exact_facing_transform, with m as the frame, a as the pivot and the
    // axis as the direction.
    for (const ftv::ExactAim aim : {ftv::ExactAim::face, ftv::ExactAim::upright}) {
        Mat4 exact;
        if (!ftv::exact_facing_transform(m, a, axis, aim, exact)) continue;
        check(finite(exact), "exact_facing: finite");
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) {
                const double d = double(exact.m[i][0]) * exact.m[j][0] + double(exact.m[i][1]) * exact.m[j][1] +
                                 double(exact.m[i][2]) * exact.m[j][2];
                check(std::fabs(d - (i == j)) <= 1e-6, "exact_facing: orthonormal rows");
            }
        const double det = exact.m[0][0] * (double(exact.m[1][1]) * exact.m[2][2] - double(exact.m[1][2]) * exact.m[2][1]) -
                           exact.m[0][1] * (double(exact.m[1][0]) * exact.m[2][2] - double(exact.m[1][2]) * exact.m[2][0]) +
                           exact.m[0][2] * (double(exact.m[1][0]) * exact.m[2][1] - double(exact.m[1][1]) * exact.m[2][0]);
        check(det > 0, "exact_facing: no mirror");
        Vec3 fixed;
        ftv::transform_point(a, exact, fixed);
        const Vec3 off{fixed.x - a.x, fixed.y - a.y, fixed.z - a.z};
        check(length(off) <= 2e-6 * length(a) + 1e-5, "exact_facing: the pivot stays put");
        if (!bounded_matrix || !within(axis, 1e-2, 1e2)) continue;
        // The primary axis (+Z facing, +Y upright) through the result and m's 3x3.
        const int row = aim == ftv::ExactAim::face ? 2 : 1;
        double world[3];
        for (int j = 0; j < 3; ++j)
            world[j] = (exact.m[row][0] * double(m.m[0][j]) + exact.m[row][1] * double(m.m[1][j]) +
                        exact.m[row][2] * double(m.m[2][j])) / m.m[3][3];
        const double want[3] = {aim == ftv::ExactAim::face ? axis.x : 0.0, aim == ftv::ExactAim::face ? axis.y : 1.0,
                                aim == ftv::ExactAim::face ? axis.z : 0.0};
        const double dot = world[0] * want[0] + world[1] * want[1] + world[2] * want[2];
        const double cross = std::hypot(world[1] * want[2] - world[2] * want[1],
                                        std::hypot(world[2] * want[0] - world[0] * want[2],
                                                   world[0] * want[1] - world[1] * want[0]));
        // Float rounding of the result (6e-8) grows with how far the frame is
        // from a rotation: by the spread of its row lengths and by 1 / q^2, q
        // the determinant over the product of the row lengths.
        double lo = 1e300, hi = 0, lengths = 1;
        for (int i = 0; i < 3; ++i) {
            const double l = std::sqrt(double(m.m[i][0]) * m.m[i][0] + double(m.m[i][1]) * m.m[i][1] +
                                       double(m.m[i][2]) * m.m[i][2]);
            lo = std::min(lo, l), hi = std::max(hi, l), lengths *= l;
        }
        const double frame_det =
            m.m[0][0] * (double(m.m[1][1]) * m.m[2][2] - double(m.m[1][2]) * m.m[2][1]) -
            m.m[0][1] * (double(m.m[1][0]) * m.m[2][2] - double(m.m[1][2]) * m.m[2][0]) +
            m.m[0][2] * (double(m.m[1][0]) * m.m[2][1] - double(m.m[1][1]) * m.m[2][0]);
        const double q = std::fabs(frame_det) / lengths;
        if (!(q >= 0.05)) continue;
        check(std::atan2(cross, dot) <= 1e-6 * (hi / lo) / (q * q), "exact_facing: the primary axis onto its target");
    }
    return 0;
}
