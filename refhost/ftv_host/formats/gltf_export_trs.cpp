#include "formats/gltf_export_trs.h"

#include <ImathMatrixAlgo.h>

#include <cmath>

namespace ftv_cli {

namespace {

using Imath::M33d;
using refhost::V3d;

M33d block(const ftv::Mat4& m) {
    return M33d(m.m[0][0], m.m[0][1], m.m[0][2], m.m[1][0], m.m[1][1], m.m[1][2], m.m[2][0], m.m[2][1], m.m[2][2]);
}

V3d row(const M33d& m, int i) { return V3d(m[i][0], m[i][1], m[i][2]); }

}  // namespace

bool is_trs(const ftv::Mat4& m) {
    const M33d a = block(m);
    bool trs = m.m[0][3] == 0 && m.m[1][3] == 0 && m.m[2][3] == 0 && m.m[3][3] == 1 && a.determinant() != 0;
    for (int i = 0; i < 3 && trs; ++i)
        for (int j = i + 1; j < 3; ++j)
            trs = trs && std::fabs(row(a, i) ^ row(a, j)) <= 1e-6 * row(a, i).length() * row(a, j).length();
    return trs;
}

Trs nearest_trs(const ftv::Mat4& m) {
    const M33d a = block(m);
    V3d scale(row(a, 0).length(), row(a, 1).length(), row(a, 2).length());
    M33d rotation;  // the identity
    // |A - S R| falls at each half step; a few rounds settle a sheared block
    // to the float precision the result keeps, and one an unsheared one.
    for (int round = 0; round < 32; ++round) {
        M33d scaled = a;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) scaled[i][j] *= scale[i];
        M33d u, v;
        V3d singular;
        Imath::jacobiSVD(scaled, u, singular, v, std::numeric_limits<double>::epsilon(), true);
        rotation = u * v.transposed();
        const V3d was = scale;
        for (int i = 0; i < 3; ++i) scale[i] = row(a, i) ^ row(rotation, i);
        if ((scale - was).length() <= 1e-9 * scale.length()) break;
    }
    const Imath::M44d turn(rotation, V3d(0, 0, 0));
    Trs out;
    out.translation = {m.m[3][0], m.m[3][1], m.m[3][2]};
    const Imath::Quatd q = Imath::extractQuat(turn).normalized();
    out.rotation = Imath::Quatf(static_cast<float>(q.r), static_cast<float>(q.v.x), static_cast<float>(q.v.y),
                                static_cast<float>(q.v.z));
    out.scale = refhost::vec3(scale);
    return out;
}

refhost::M44d trs_matrix(const Trs& trs) {
    const Imath::Quatd q(trs.rotation.r, trs.rotation.v.x, trs.rotation.v.y, trs.rotation.v.z);
    refhost::M44d out = q.toMatrix44();
    const V3d scale = refhost::imath(trs.scale);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) out[i][j] *= scale[i];
    out[3][0] = trs.translation.x, out[3][1] = trs.translation.y, out[3][2] = trs.translation.z;
    return out;
}

double trs_error(const ftv::Mat4& m, const Trs& trs) {
    const M33d a = block(m);
    const refhost::M44d b = trs_matrix(trs);
    double difference = 0, size = 0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            difference += (a[i][j] - b[i][j]) * (a[i][j] - b[i][j]);
            size += a[i][j] * a[i][j];
        }
    return size > 0 ? std::sqrt(difference / size) : 0;
}

}  // namespace ftv_cli
