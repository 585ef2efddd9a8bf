#include "scene/host_math.h"

#include <cmath>

namespace refhost {

using ftv::Mat4;
using ftv::Vec3;

Mat4 product(const Mat4& a, const Mat4& b) {
    Mat4 out;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) sum += double(a.m[i][k]) * b.m[k][j];
            out.m[i][j] = static_cast<float>(sum);
        }
    }
    return out;
}

Mat4 affine_inverse(const Mat4& m) {
    const double a = m.m[0][0], b = m.m[0][1], c = m.m[0][2];
    const double d = m.m[1][0], e = m.m[1][1], f = m.m[1][2];
    const double g = m.m[2][0], h = m.m[2][1], i = m.m[2][2];
    const double det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
    if (det == 0.0 || !std::isfinite(det)) return ftv::kIdentityMatrix;
    const double inv[3][3] = {
        {(e * i - f * h) / det, (c * h - b * i) / det, (b * f - c * e) / det},
        {(f * g - d * i) / det, (a * i - c * g) / det, (c * d - a * f) / det},
        {(d * h - e * g) / det, (b * g - a * h) / det, (a * e - b * d) / det},
    };
    Mat4 out = ftv::kIdentityMatrix;
    for (int r = 0; r < 3; ++r) {
        for (int col = 0; col < 3; ++col) out.m[r][col] = static_cast<float>(inv[r][col]);
    }
    // Row 3: -t * inverse(upper).
    for (int col = 0; col < 3; ++col) {
        double sum = 0.0;
        for (int k = 0; k < 3; ++k) sum -= static_cast<double>(m.m[3][k]) * inv[k][col];
        out.m[3][col] = static_cast<float>(sum);
    }
    return out;
}

Mat4 rotation_between(const Vec3& from, const Vec3& to) {
    const double fl = std::sqrt(double(from.x) * from.x + double(from.y) * from.y + double(from.z) * from.z);
    const double tl = std::sqrt(double(to.x) * to.x + double(to.y) * to.y + double(to.z) * to.z);
    if (!(fl > 0.0) || !(tl > 0.0) || !std::isfinite(fl) || !std::isfinite(tl)) return ftv::kIdentityMatrix;
    const double f[3] = {from.x / fl, from.y / fl, from.z / fl};
    const double t[3] = {to.x / tl, to.y / tl, to.z / tl};
    double axis[3] = {f[1] * t[2] - f[2] * t[1], f[2] * t[0] - f[0] * t[2], f[0] * t[1] - f[1] * t[0]};
    const double c = f[0] * t[0] + f[1] * t[1] + f[2] * t[2];
    double s = std::sqrt(axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2]);
    if (s < 1e-12) {
        if (c > 0.0) return ftv::kIdentityMatrix;
        // Opposite: a half turn about the axis perpendicular to from that is
        // closest to the coordinate axis along which from is smallest.
        const int k = std::fabs(f[0]) <= std::fabs(f[1]) && std::fabs(f[0]) <= std::fabs(f[2]) ? 0
                      : std::fabs(f[1]) <= std::fabs(f[2])                                  ? 1
                                                                                            : 2;
        double e[3] = {0, 0, 0};
        e[k] = 1.0;
        axis[0] = f[1] * e[2] - f[2] * e[1];
        axis[1] = f[2] * e[0] - f[0] * e[2];
        axis[2] = f[0] * e[1] - f[1] * e[0];
        s = 0.0;
    }
    const double n = std::sqrt(axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2]);
    const double x = axis[0] / n, y = axis[1] / n, z = axis[2] / n;
    const double cc = s == 0.0 ? -1.0 : c;
    const double ss = s;  // |from x to| for unit vectors is the sine of the angle
    const double k1 = 1.0 - cc;
    const double r[3][3] = {
        {x * x * k1 + cc, x * y * k1 + z * ss, x * z * k1 - y * ss},
        {x * y * k1 - z * ss, y * y * k1 + cc, y * z * k1 + x * ss},
        {x * z * k1 + y * ss, y * z * k1 - x * ss, z * z * k1 + cc},
    };
    Mat4 out = ftv::kIdentityMatrix;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) out.m[i][j] = static_cast<float>(r[i][j]);
    }
    return out;
}

namespace {

// The row (v, w) times m, in double; m's column 3 is left out.
Vec3 carry(const Vec3& v, double w, const Mat4& m) {
    double out[3];
    for (int j = 0; j < 3; ++j)
        out[j] = double(v.x) * m.m[0][j] + double(v.y) * m.m[1][j] + double(v.z) * m.m[2][j] + w * m.m[3][j];
    return {static_cast<float>(out[0]), static_cast<float>(out[1]), static_cast<float>(out[2])};
}

}  // namespace

Vec3 transform_point(const Vec3& p, const Mat4& m) { return carry(p, 1.0, m); }

Vec3 transform_direction(const Vec3& v, const Mat4& m) { return carry(v, 0.0, m); }

}  // namespace refhost
