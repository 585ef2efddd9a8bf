#include "reference_floor.h"

#include <cmath>

namespace reference {
namespace {

struct M {
    double m[4][4];
};

M identity() {
    M r{};
    for (int i = 0; i < 4; ++i) r.m[i][i] = 1.0;
    return r;
}

M product(const M& a, const M& b) {
    M r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) sum += a.m[i][k] * b.m[k][j];
            r.m[i][j] = sum;
        }
    return r;
}

M translation(double x, double y, double z) {
    M r = identity();
    r.m[3][0] = x;
    r.m[3][1] = y;
    r.m[3][2] = z;
    return r;
}

// The turn by a in the plane of axes i and j that carries axis i toward axis
// j, for row vectors: (1, 2) about X carries +Y to (0, c, s), (2, 0) about Y
// carries +Z to (s, 0, c), (0, 1) about Z carries +X to (c, s, 0).
M plane_turn(int i, int j, double a) {
    M r = identity();
    const double c = std::cos(a), s = std::sin(a);
    r.m[i][i] = c, r.m[i][j] = s, r.m[j][i] = -s, r.m[j][j] = c;
    return r;
}

double dot3(const double* a, const double* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

void unit3(double* v) {
    const double l = std::sqrt(dot3(v, v));
    if (l > 0.0)
        for (int i = 0; i < 3; ++i) v[i] /= l;
}

// Euler angles of Rx * Ry * Rz from the Gram-Schmidt rows of the upper 3x3.
void euler_angles(const Matrix& m, double& x, double& y, double& z) {
    double r[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r[i][j] = double(m.m[i][j]) / m.m[3][3];
    unit3(r[0]);
    const double d = dot3(r[1], r[0]);
    for (int j = 0; j < 3; ++j) r[1][j] -= d * r[0][j];
    unit3(r[1]);
    const double e = dot3(r[2], r[0]);
    for (int j = 0; j < 3; ++j) r[2][j] -= e * r[0][j];
    const double f = dot3(r[2], r[1]);
    for (int j = 0; j < 3; ++j) r[2][j] -= f * r[1][j];
    unit3(r[2]);
    const double cross[3] = {r[1][1] * r[2][2] - r[1][2] * r[2][1], r[1][2] * r[2][0] - r[1][0] * r[2][2],
                             r[1][0] * r[2][1] - r[1][1] * r[2][0]};
    if (dot3(r[0], cross) < 0.0)
        for (auto& row : r)
            for (double& v : row) v = -v;
    y = std::asin(-r[0][2]);
    if (std::fabs(std::cos(y)) > 2e-4) {
        x = std::atan2(r[1][2], r[2][2]);
        z = std::atan2(r[0][1], r[0][0]);
    } else {
        const double a = std::atan2(r[1][0], r[1][1]);
        x = y > 0.0 ? a : -a;
        z = 0.0;
    }
}

// The shortest turn of +Z onto the unit direction d (Rodrigues).
M turn_from_z(const double* d) {
    const double axis[3] = {-d[1], d[0], 0.0};  // +Z x d
    const double s = std::sqrt(dot3(axis, axis));
    const double c = d[2];
    if (s < 1e-12) {
        M r = identity();
        if (c < 0.0) r.m[0][0] = -1.0, r.m[2][2] = -1.0;  // a half turn about Y
        return r;
    }
    const double x = axis[0] / s, y = axis[1] / s, z = axis[2] / s, t = 1.0 - c;
    M r = identity();
    r.m[0][0] = x * x * t + c, r.m[0][1] = x * y * t + z * s, r.m[0][2] = x * z * t - y * s;
    r.m[1][0] = x * y * t - z * s, r.m[1][1] = y * y * t + c, r.m[1][2] = y * z * t + x * s;
    r.m[2][0] = x * z * t + y * s, r.m[2][1] = y * z * t - x * s, r.m[2][2] = z * z * t + c;
    return r;
}

}  // namespace

Matrix facing(const Matrix& part_to_world, const Point& pivot, const Point& eye) {
    const auto& w = part_to_world.m;
    double world[3];
    for (int j = 0; j < 3; ++j)
        world[j] = pivot.x * double(w[0][j]) + pivot.y * double(w[1][j]) + pivot.z * double(w[2][j]) + w[3][j];
    double d[3] = {eye.x - world[0], eye.y - world[1], eye.z - world[2]};
    unit3(d);
    double x, y, z;
    euler_angles(part_to_world, x, y, z);

    M a = translation(-pivot.x, -pivot.y, -pivot.z);
    a = product(a, turn_from_z(d));
    a = product(a, plane_turn(1, 2, -x));
    a = product(a, plane_turn(2, 0, -y));
    a = product(a, plane_turn(0, 1, -z));
    a = product(a, translation(pivot.x, pivot.y, pivot.z));
    Matrix out;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) out.m[i][j] = static_cast<float>(a.m[i][j]);
    return out;
}

}  // namespace reference
