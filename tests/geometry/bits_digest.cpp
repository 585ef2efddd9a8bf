// Digests of every geometry function's output bits over many inputs, to show
// that a change which should alter no bit alters none: build this program
// against the old and the new geometry (and on both builds) and compare what
// it prints.
//
//   geometry_bits_digest [--random N] [--verbose] [FILE...]
//
// FILEs are inputs in the fuzz_geometry format (30 floats: a matrix, a point,
// an eye, an axis, a cosine and a sine, three angles; short files padded with
// zeros). --random N adds N inputs of random bit patterns and N of the
// matrices, points and angles parts carry. Prints one FNV-1a digest per
// function and one over everything; --verbose prints every output word.
// A NaN counts as the one quiet NaN (its sign and payload are left open by
// IEEE 754 and differ between compilers).
#include "geometry/decompose.h"
#include "geometry/det_math.h"
#include "geometry/exact_facing.h"
#include "geometry/face_camera.h"
#include "geometry/primitives.h"

#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

namespace {

using ftv::Mat4;
using ftv::Vec3;
using ftv::Vec4;

constexpr int kFloats = 30;

bool verbose = false;
std::map<std::string, std::uint64_t> digests;

void put_word(const char* op, std::uint64_t w) {
    std::uint64_t& h = digests.emplace(op, 0xcbf29ce484222325ull).first->second;
    for (int i = 0; i < 8; ++i) h = (h ^ ((w >> (8 * i)) & 0xff)) * 0x100000001b3ull;
    if (verbose) std::printf("%s %016" PRIx64 "\n", op, w);
}
void put(const char* op, float v) {
    std::uint32_t u;
    std::memcpy(&u, &v, sizeof u);
    put_word(op, std::isnan(v) ? 0x7FC00000u : u);
}
void put(const char* op, double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, sizeof u);
    put_word(op, std::isnan(v) ? 0x7FF8000000000000ull : u);
}
void put(const char* op, const Vec3& v) { put(op, v.x), put(op, v.y), put(op, v.z); }
void put(const char* op, const Mat4& m) {
    for (const auto& row : m.m)
        for (float e : row) put(op, e);
}

void run(const float (&in)[kFloats]) {
    Mat4 m;
    std::memcpy(&m, in, sizeof m);
    const Vec3 a{in[16], in[17], in[18]};
    const Vec3 b{in[19], in[20], in[21]};
    const Vec3 axis{in[22], in[23], in[24]};
    const float c = in[25], s = in[26];
    const Vec3 angles{in[27], in[28], in[29]};

    Vec3 v = a;
    put("normalize", ftv::normalize(v));
    put("normalize", v);
    ftv::normalized(a, v);
    put("normalized", v);
    ftv::transform_point(a, m, v);
    put("transform_point", v);
    for (int i = 0; i < 4; ++i) {
        Vec4 row;
        ftv::transform_row({m.m[i][0], m.m[i][1], m.m[i][2], m.m[i][3]}, m, row);
        put("transform_row", row.x), put("transform_row", row.y), put("transform_row", row.z), put("transform_row", row.w);
    }
    Mat4 r;
    ftv::axis_rotation(axis, c, s, r);
    put("axis_rotation", r);
    Mat4 p;
    ftv::multiply(m, r, p);
    put("multiply", p);
    ftv::multiply(r, m, p);
    put("multiply", p);
    ftv::multiply(m, m, m);  // written over its operands
    put("multiply", m);
    std::memcpy(&m, in, sizeof m);
    Vec3 t, sc, h, ang;
    ftv::decompose(m, &t, &sc, &h, &ang);
    put("decompose", t), put("decompose", sc), put("decompose", h), put("decompose", ang);
    ftv::direction_to_eye(m, a, b, v);
    put("direction_to_eye", v);
    ftv::facing_transform(a, m, angles, p);
    put("facing_transform", p);
    ftv::facing_transform(a, r, ang, p);
    put("facing_transform", p);
    for (const ftv::ExactAim aim : {ftv::ExactAim::face, ftv::ExactAim::upright}) {
        if (ftv::exact_facing_transform(m, a, b, aim, p)) put("exact_facing", p);
    }
    for (int i = 0; i < kFloats; i += 2) {
        double d;  // two floats as one double's bits, and each float widened
        std::memcpy(&d, in + i, sizeof d);
        for (double x : {d, double(in[i]), double(in[i + 1])}) {
            put("sin", ftv::detmath::sin(x));
            put("cos", ftv::detmath::cos(x));
            put("asin", ftv::detmath::asin(x));
        }
        put("atan2", ftv::detmath::atan2(d, double(in[i])));
        put("atan2", ftv::detmath::atan2(double(in[i]), double(in[i + 1])));
    }
}

// splitmix64.
std::uint64_t next(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}
double uniform(std::uint64_t& state, double lo, double hi) { return lo + (hi - lo) * ((next(state) >> 11) * 0x1p-53); }

void random_bits(std::uint64_t& state, float (&in)[kFloats]) {
    for (float& f : in) {
        const std::uint32_t u = static_cast<std::uint32_t>(next(state));
        std::memcpy(&f, &u, sizeof f);
    }
}

// Sc * Rx * Ry * Rz * T as parts carry them, pivots, eyes, angles; a few
// elements are exact zeros, ones or signed zeros, as real matrices have.
void random_part(std::uint64_t& state, float (&in)[kFloats]) {
    Mat4 m = ftv::kIdentityMatrix;
    for (int i = 0; i < 3; ++i) m.m[i][i] = float(uniform(state, 0.2, 4));
    const Vec3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (const Vec3& axis : axes) {
        const double angle = uniform(state, -3.2, 3.2);
        Mat4 r;
        ftv::axis_rotation(axis, float(std::cos(angle)), float(std::sin(angle)), r);
        ftv::multiply(m, r, m);
    }
    for (int j = 0; j < 3; ++j) m.m[3][j] = float(uniform(state, -100, 100));
    const std::uint64_t k = next(state);
    if (k % 7 == 0) m.m[k % 3][(k >> 8) % 3] = (k >> 16) % 2 ? -0.0f : 0.0f;
    if (k % 11 == 0) m.m[3][3] = float(uniform(state, 0.5, 2));
    std::memcpy(in, &m, sizeof m);
    for (int i = 16; i < kFloats; ++i) in[i] = float(uniform(state, -60, 60));
    for (int i = 27; i < kFloats; ++i) in[i] = float(uniform(state, -3.2, 3.2));
}

}  // namespace

int main(int argc, char** argv) {
    long random = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--verbose") == 0) {
            verbose = true;
        } else if (std::strcmp(argv[i], "--random") == 0 && i + 1 < argc) {
            random = std::strtol(argv[++i], nullptr, 10);
        } else {
            std::FILE* f = std::fopen(argv[i], "rb");
            if (!f) {
                std::fprintf(stderr, "cannot read %s\n", argv[i]);
                return 2;
            }
            float in[kFloats] = {};
            std::size_t read = std::fread(in, 1, sizeof in, f);
            (void)read;
            std::fclose(f);
            run(in);
        }
    }
    std::uint64_t state = 0x0B175;
    for (long n = 0; n < random; ++n) {
        float in[kFloats];
        random_bits(state, in);
        run(in);
        random_part(state, in);
        run(in);
    }
    std::uint64_t all = 0;
    for (const auto& [op, h] : digests) {
        std::printf("%-18s %016" PRIx64 "\n", op.c_str(), h);
        all = all * 31 + h;
    }
    std::printf("%-18s %016" PRIx64 "\n", "all", all);
    return 0;
}
