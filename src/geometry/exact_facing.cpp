#include "geometry/exact_facing.h"

#include <cmath>

namespace ftv {

namespace {

struct D3 {
    double x, y, z;
};

double dot(const D3& a, const D3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
D3 cross(const D3& a, const D3& b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
bool finite(double v) { return std::isfinite(v); }
bool finite(const D3& v) { return finite(v.x) && finite(v.y) && finite(v.z); }

// v at unit length; false when its length is 0 or not finite.
bool make_unit(D3& v) {
    const double n = std::sqrt(dot(v, v));
    if (!(n > 0) || !finite(n)) return false;
    const double k = 1 / n;
    v = {v.x * k, v.y * k, v.z * k};
    return true;
}

// The row vector v times the inverse of L, up to a positive factor: the
// adjugate's rows are the cross products of L's, and directions are all that
// is wanted of the result.
struct InverseFrame {
    D3 adjugate_columns[3];
    double sign;
    D3 apply(const D3& v) const {
        const D3 r{dot(v, adjugate_columns[0]), dot(v, adjugate_columns[1]), dot(v, adjugate_columns[2])};
        return {r.x * sign, r.y * sign, r.z * sign};
    }
};

bool invert_frame(const Mat4& frame, InverseFrame& out) {
    const double w = frame.m[3][3];
    if (w == 0 || !finite(w)) return false;
    // Only the sign of w matters for directions, but its size decides what
    // overflows; x / 1 is x, which spares the usual case nine divisions.
    const auto row = [&frame, w](int i) {
        const D3 r{frame.m[i][0], frame.m[i][1], frame.m[i][2]};
        return w == 1 ? r : D3{r.x / w, r.y / w, r.z / w};
    };
    const D3 r0 = row(0), r1 = row(1), r2 = row(2);
    if (!finite(r0) || !finite(r1) || !finite(r2)) return false;
    // v * L^-1 = (v . (r1 x r2), v . (r2 x r0), v . (r0 x r1)) / det L.
    out.adjugate_columns[0] = cross(r1, r2);
    out.adjugate_columns[1] = cross(r2, r0);
    out.adjugate_columns[2] = cross(r0, r1);
    const double det = dot(r0, out.adjugate_columns[0]);
    const double bound = std::sqrt(dot(r0, r0)) * std::sqrt(dot(r1, r1)) * std::sqrt(dot(r2, r2));
    if (!finite(det) || !(std::fabs(det) > kExactFlatShare * bound)) return false;
    out.sign = det > 0 ? 1.0 : -1.0;
    return true;
}

// The world targets of the two axes, unit length and perpendicular: the
// primary one (+Z facing, +Y upright) and the other.
bool world_targets(const Vec3& direction, ExactAim aim, D3& primary, D3& secondary) {
    D3 d{direction.x, direction.y, direction.z};
    if (!make_unit(d)) return false;
    // The horizontal length, from the components themselves rather than
    // 1 - y^2, which would cancel for an eye nearly overhead.
    const double h = std::sqrt(d.x * d.x + d.z * d.z);
    if (aim == ExactAim::upright) {
        if (h == 0) return false;
        primary = {0, 1, 0};
        secondary = {d.x / h, 0, d.z / h};
        return true;
    }
    primary = d;
    // World up made perpendicular to d: up - d.y * d, of length h.
    secondary = h == 0 ? D3{0, 0, -d.y} : D3{-d.x / h * d.y, h, -d.z / h * d.y};
    return true;
}

}  // namespace

bool exact_facing_transform(const Mat4& frame, const Vec3& pivot, const Vec3& direction, ExactAim aim, Mat4& out) {
    InverseFrame inverse;
    D3 primary, secondary;
    if (!invert_frame(frame, inverse) || !world_targets(direction, aim, primary, secondary)) return false;

    // The two targets in the parent frame, made orthonormal there by cross
    // products rather than by subtracting projections: a frame scaled very
    // unevenly brings them close together, where a difference would cancel.
    // Each row comes out perpendicular to the others to double precision.
    D3 along = inverse.apply(primary);
    D3 side = aim == ExactAim::face ? cross(inverse.apply(secondary), along) : cross(along, inverse.apply(secondary));
    if (!make_unit(along) || !make_unit(side)) return false;
    D3 y, z;
    if (aim == ExactAim::face) {
        z = along;
        y = cross(z, side);
    } else {
        y = along;
        z = cross(side, y);
    }
    if (!make_unit(y) || !make_unit(z)) return false;
    const D3 rows[3] = {cross(y, z), y, z};

    Mat4 result = kIdentityMatrix;
    for (int i = 0; i < 3; ++i) {
        result.m[i][0] = static_cast<float>(rows[i].x);
        result.m[i][1] = static_cast<float>(rows[i].y);
        result.m[i][2] = static_cast<float>(rows[i].z);
    }
    // Row 3 of T(-pivot) * Q * T(pivot): pivot - pivot * Q, with Q as stored.
    const double p[3] = {pivot.x, pivot.y, pivot.z};
    for (int j = 0; j < 3; ++j) {
        const double moved = p[0] * result.m[0][j] + p[1] * result.m[1][j] + p[2] * result.m[2][j];
        result.m[3][j] = static_cast<float>(p[j] - moved);
        if (!std::isfinite(result.m[3][j])) return false;
    }
    out = result;
    return true;
}

}  // namespace ftv
