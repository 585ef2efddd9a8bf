// Gram-Schmidt on the rows of the upper 3x3 block, a sign fix for mirrors and
// Euler angles for Rx * Ry * Rz. Intermediates are doubles; a value is narrowed
// to float (store) where it becomes a row, a scale, a shear or an angle, and
// the trigonometry is the deterministic one, so that every build gives the
// same bits.
#include "decompose.h"

#include "det_math.h"
#include "primitives_kernels.h"

#include <cmath>

namespace ftv {
namespace {

using kernels::store;

inline double dot(const Vec3& a, const Vec3& b) {
    return static_cast<double>(a.x) * b.x + static_cast<double>(a.y) * b.y +
           static_cast<double>(a.z) * b.z;
}

// det [r0; r1; r2] = r0 . (r1 x r2).
inline double triple(const Vec3& r0, const Vec3& r1, const Vec3& r2) {
    const double x = static_cast<double>(r1.y) * r2.z - static_cast<double>(r1.z) * r2.y;
    const double y = static_cast<double>(r1.z) * r2.x - static_cast<double>(r1.x) * r2.z;
    const double z = static_cast<double>(r1.x) * r2.y - static_cast<double>(r1.y) * r2.x;
    return r0.x * x + r0.y * y + r0.z * z;
}

inline float negated(float v) { return store(v * -1.0); }

// Below a cosine of kGimbalCosine the Y angle is taken as +-90 degrees.
// The rule is applied to the angle itself, which spares the cosine: for
// every float y in [-1.6, 1.6], |detmath::cos(y)| > kGimbalCosine exactly when
// |y| < kGimbalAngle (1.57059634) or |y| >= 1.5709964 (checked over all those
// floats). asin never goes beyond pi/2 (1.5707964 as a float), so the far side
// is never reached, and a NaN angle fails both forms.
constexpr float kGimbalAngle = 0x1.92129ap+0f;

}  // namespace

void decompose(const Mat4& m, Vec3* translation, Vec3* scale, Vec3* shear, Vec3* rotation) {
    // Everything divided by the original m[3][3]; column 3 plays no part.
    const double w = m.m[3][3];
    Vec3 rows[4];
    if (w == 1.0) {
        // x / 1 is x: the usual case spares nine divisions. Rows 0 to 2 only
        // enter arithmetic, which quiets a signalling NaN as the division
        // would; row 3 is handed out as the translation, so it is divided.
        for (int i = 0; i < 3; ++i) rows[i] = {m.m[i][0], m.m[i][1], m.m[i][2]};
        rows[3] = {store(m.m[3][0] / w), store(m.m[3][1] / w), store(m.m[3][2] / w)};
    } else {
        for (int i = 0; i < 4; ++i)
            rows[i] = {store(m.m[i][0] / w), store(m.m[i][1] / w), store(m.m[i][2] / w)};
    }
    Vec3& r0 = rows[0];
    Vec3& r1 = rows[1];
    Vec3& r2 = rows[2];

    Vec3 sc;
    sc.x = kernels::normalize(r0);

    const double d = dot(r1, r0);
    r1 = {store(r1.x - d * r0.x), store(r1.y - d * r0.y), store(r1.z - d * r0.z)};
    sc.y = kernels::normalize(r1);
    const float xy = store(d / sc.y);

    // r2 loses its r0 part at full precision, then its r1 part.
    const double e = dot(r2, r0);
    const double q[3] = {r2.x - e * r0.x, r2.y - e * r0.y, r2.z - e * r0.z};
    const double f = q[0] * r1.x + q[1] * r1.y + q[2] * r1.z;
    r2 = {store(q[0] - f * r1.x), store(q[1] - f * r1.y), store(q[2] - f * r1.z)};
    sc.z = kernels::normalize(r2);
    const float xz = store(e / sc.z);
    const float yz = store(f / sc.z);

    // A mirror turns every scale negative. Times -1, a zero becomes -0, which
    // picks the sign of a half turn out of atan2 below. Of r2 only z is used.
    if (triple(r0, r1, r2) < 0.0) {
        sc = {negated(sc.x), negated(sc.y), negated(sc.z)};
        r0 = {negated(r0.x), negated(r0.y), negated(r0.z)};
        r1 = {negated(r1.x), negated(r1.y), negated(r1.z)};
        r2.z = negated(r2.z);
    }

    // r0 = (cos Y cos Z, cos Y sin Z, -sin Y); r1.z = sin X cos Y and
    // r2.z = cos X cos Y. r0 is a unit float row, so -r0.z lies in [-1, 1].
    const float ry = store(detmath::asin(-static_cast<double>(r0.z)));
    float rx, rz;
    if (std::fabs(ry) < kGimbalAngle) {  // |cos Y| > kGimbalCosine
        rx = store(detmath::atan2(r1.z, r2.z));
        rz = store(detmath::atan2(r0.y, r0.x));
    } else {
        // r1 = (sin(X - Z), cos(X - Z), 0) at +90 degrees and
        // (-sin(X + Z), cos(X + Z), 0) at -90 degrees.
        const double a = detmath::atan2(r1.x, r1.y);
        rx = store(ry > 0.0f ? a : -a);
        rz = 0.0f;
    }

    if (translation) *translation = rows[3];
    if (scale) *scale = sc;
    if (shear) *shear = {yz, xz, xy};
    if (rotation) *rotation = {rx, ry, rz};
}

}  // namespace ftv
