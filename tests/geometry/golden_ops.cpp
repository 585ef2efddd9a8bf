#include "golden_ops.h"

#include "geometry/decompose.h"
#include "geometry/det_math.h"
#include "geometry/exact_facing.h"
#include "geometry/face_camera.h"
#include "geometry_test_support.h"

#include <cmath>
#include <cstring>

namespace ftv::test {
namespace {

class Reader {
public:
    explicit Reader(const Words& in) : in_(in) {}
    float f() { return float_from(static_cast<std::uint32_t>(in_.at(next_++))); }
    double d() { return double_from(in_.at(next_++)); }
    Vec3 vec3() { return {f(), f(), f()}; }
    Mat4 mat4() {
        Mat4 m;
        for (auto& row : m.m)
            for (float& e : row) e = f();
        return m;
    }

private:
    const Words& in_;
    std::size_t next_ = 0;
};

// IEEE 754 leaves the sign and payload of a NaN from arithmetic open, and
// compilers differ there: a NaN result is recorded as the one quiet NaN.
void put(Words& out, float v) { out.push_back(std::isnan(v) ? 0x7FC00000u : bits(v)); }
void put(Words& out, double v) { out.push_back(std::isnan(v) ? 0x7FF8000000000000u : bits(v)); }
void put(Words& out, const Vec3& v) { put(out, v.x), put(out, v.y), put(out, v.z); }
void put(Words& out, const Mat4& m) {
    for (const auto& row : m.m)
        for (float e : row) put(out, e);
}

}  // namespace

Words run_golden(const char* op, const Words& in) {
    Reader r(in);
    Words out;
    const auto is = [op](const char* name) { return std::strcmp(op, name) == 0; };
    if (is("normalized")) {
        Vec3 v;
        normalized(r.vec3(), v);
        put(out, v);
    } else if (is("normalize")) {
        Vec3 v = r.vec3();
        put(out, normalize(v));
        put(out, v);
    } else if (is("transform_point")) {
        const Vec3 p = r.vec3();
        Vec3 v;
        transform_point(p, r.mat4(), v);
        put(out, v);
    } else if (is("transform_row")) {
        const Vec4 row{r.f(), r.f(), r.f(), r.f()};
        Vec4 v;
        transform_row(row, r.mat4(), v);
        put(out, v.x), put(out, v.y), put(out, v.z), put(out, v.w);
    } else if (is("multiply")) {
        const Mat4 a = r.mat4();
        Mat4 m;
        multiply(a, r.mat4(), m);
        put(out, m);
    } else if (is("axis_rotation")) {
        const Vec3 axis = r.vec3();
        const float c = r.f();
        Mat4 m;
        axis_rotation(axis, c, r.f(), m);
        put(out, m);
    } else if (is("decompose")) {
        Vec3 t, s, h, a;
        decompose(r.mat4(), &t, &s, &h, &a);
        put(out, t), put(out, s), put(out, h), put(out, a);
    } else if (is("sin")) {
        put(out, detmath::sin(r.d()));
    } else if (is("cos")) {
        put(out, detmath::cos(r.d()));
    } else if (is("asin")) {
        put(out, detmath::asin(r.d()));
    } else if (is("atan2")) {
        const double y = r.d();
        put(out, detmath::atan2(y, r.d()));
    } else if (is("direction_to_eye")) {
        const Mat4 m = r.mat4();
        const Vec3 pivot = r.vec3();
        Vec3 v;
        direction_to_eye(m, pivot, r.vec3(), v);
        put(out, v);
    } else if (is("facing_transform")) {
        const Vec3 pivot = r.vec3();
        const Mat4 turn = r.mat4();
        Mat4 m;
        facing_transform(pivot, turn, r.vec3(), m);
        put(out, m);
    } else if (is("exact_facing")) {
        const Mat4 frame = r.mat4();
        const Vec3 pivot = r.vec3();
        const Vec3 direction = r.vec3();
        const ExactAim aim = r.f() != 0 ? ExactAim::upright : ExactAim::face;
        Mat4 m;
        const bool turned = exact_facing_transform(frame, pivot, direction, aim, m);
        out.push_back(turned);
        if (turned) put(out, m);
    }
    return out;
}

}  // namespace ftv::test
