// Each geometry operation over the same batch of inputs as its nearest Imath
// counterpart, timed alternately in one run. Counters: ftv_ns and imath_ns per
// item and ratio = ftv / imath (above 1: ours is slower). decompose's partner
// is extractSHRT, the same split into scale, shear, Euler XYZ and translation.
//
// The partners do not compute quite the same thing: Imath works in float with
// the C library's trigonometry, ours in double with deterministic
// trigonometry; multVecMatrix divides by the projective w; setAxisAngle also
// takes the sine and cosine, so axis_rotation runs without a partner.
#include "geometry/decompose.h"
#include "geometry/det_math.h"
#include "geometry/exact_facing.h"
#include "geometry/primitives.h"
#include "turns.h"

#include <ImathMatrix.h>
#include <ImathMatrixAlgo.h>
#include <ImathVec.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

using ftv::Mat4;
using ftv::Vec3;
using ftv::Vec4;

constexpr int kBatch = 1024;

struct Inputs {
    std::vector<Mat4> mats, others;
    std::vector<Imath::M44f> imath_mats, imath_others;
    std::vector<Vec3> vecs;
    std::vector<Imath::V3f> imath_vecs;
    std::vector<Vec4> rows;
    std::vector<Imath::V4f> imath_rows;
    std::vector<float> cosines, sines;
};

class Rng {
public:
    double uniform(double lo, double hi) {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return lo + (hi - lo) * ((state_ >> 11) * 0x1p-53);
    }

private:
    std::uint64_t state_ = 42;
};

using testing_support::turn;

// Sc * H * Rx * Ry * Rz * T from random parts: the matrices a part carries.
Mat4 random_transform(Rng& rng) {
    const auto f = [&](double lo, double hi) { return float(rng.uniform(lo, hi)); };
    Mat4 m = {{{f(0.2, 4), 0, 0, 0}, {0, f(0.2, 4), 0, 0}, {0, 0, f(0.2, 4), 0}, {0, 0, 0, 1}}};
    const Mat4 h = {{{1, 0, 0, 0}, {f(-0.5, 0.5), 1, 0, 0}, {f(-0.5, 0.5), f(-0.5, 0.5), 1, 0}, {0, 0, 0, 1}}};
    ftv::multiply(m, h, m);
    ftv::multiply(m, turn({1, 0, 0}, rng.uniform(-3, 3)), m);
    ftv::multiply(m, turn({0, 1, 0}, rng.uniform(-1.5, 1.5)), m);
    ftv::multiply(m, turn({0, 0, 1}, rng.uniform(-3, 3)), m);
    const Mat4 t = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {f(-50, 50), f(-50, 50), f(-50, 50), 1}}};
    ftv::multiply(m, t, m);
    return m;
}

Imath::M44f to_imath(const Mat4& m) {
    Imath::M44f r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) r[i][j] = m.m[i][j];
    return r;
}

const Inputs& inputs() {
    static const Inputs in = [] {
        Inputs d;
        Rng rng;
        for (int n = 0; n < kBatch; ++n) {
            d.mats.push_back(random_transform(rng));
            d.others.push_back(random_transform(rng));
            d.imath_mats.push_back(to_imath(d.mats.back()));
            d.imath_others.push_back(to_imath(d.others.back()));
            const Vec3 v{float(rng.uniform(-9, 9)), float(rng.uniform(-9, 9)), float(rng.uniform(-9, 9))};
            d.vecs.push_back(v);
            d.imath_vecs.emplace_back(v.x, v.y, v.z);
            d.rows.push_back({v.x, v.y, v.z, 1});
            d.imath_rows.emplace_back(v.x, v.y, v.z, 1.0f);
            const double angle = rng.uniform(-3, 3);
            d.cosines.push_back(float(ftv::detmath::cos(angle)));
            d.sines.push_back(float(ftv::detmath::sin(angle)));
        }
        return d;
    }();
    return in;
}

using Clock = std::chrono::steady_clock;

// Runs ours and theirs over the batch alternately, each timed on its own.
template <class Ours, class Theirs>
void paired(benchmark::State& state, Ours ours, Theirs theirs) {
    inputs();
    double ours_ns = 0, theirs_ns = 0;
    std::int64_t items = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        for (int n = 0; n < kBatch; ++n) ours(n);
        benchmark::ClobberMemory();
        const auto t1 = Clock::now();
        for (int n = 0; n < kBatch; ++n) theirs(n);
        benchmark::ClobberMemory();
        const auto t2 = Clock::now();
        ours_ns += std::chrono::duration<double, std::nano>(t1 - t0).count();
        theirs_ns += std::chrono::duration<double, std::nano>(t2 - t1).count();
        items += kBatch;
    }
    state.SetItemsProcessed(items);
    state.counters["ftv_ns"] = ours_ns / double(items);
    state.counters["imath_ns"] = theirs_ns / double(items);
    state.counters["ratio"] = ours_ns / theirs_ns;
}

void BM_decompose_vs_extractSHRT(benchmark::State& state) {
    const Inputs& in = inputs();
    std::vector<Vec3> t(kBatch), s(kBatch), h(kBatch), r(kBatch);
    std::vector<Imath::V3f> it(kBatch), is(kBatch), ih(kBatch), ir(kBatch);
    paired(
        state, [&](int n) { ftv::decompose(in.mats[n], &t[n], &s[n], &h[n], &r[n]); },
        [&](int n) { benchmark::DoNotOptimize(Imath::extractSHRT(in.imath_mats[n], is[n], ih[n], ir[n], it[n], false)); });
}
BENCHMARK(BM_decompose_vs_extractSHRT);

void BM_multiply(benchmark::State& state) {
    const Inputs& in = inputs();
    std::vector<Mat4> out(kBatch);
    std::vector<Imath::M44f> iout(kBatch);
    paired(
        state, [&](int n) { ftv::multiply(in.mats[n], in.others[n], out[n]); },
        [&](int n) { iout[n] = in.imath_mats[n] * in.imath_others[n]; });
}
BENCHMARK(BM_multiply);

void BM_transform_point(benchmark::State& state) {
    const Inputs& in = inputs();
    std::vector<Vec3> out(kBatch);
    std::vector<Imath::V3f> iout(kBatch);
    paired(
        state, [&](int n) { ftv::transform_point(in.vecs[n], in.mats[n], out[n]); },
        [&](int n) { in.imath_mats[n].multVecMatrix(in.imath_vecs[n], iout[n]); });
}
BENCHMARK(BM_transform_point);

void BM_transform_row(benchmark::State& state) {
    const Inputs& in = inputs();
    std::vector<Vec4> out(kBatch);
    std::vector<Imath::V4f> iout(kBatch);
    paired(
        state, [&](int n) { ftv::transform_row(in.rows[n], in.mats[n], out[n]); },
        [&](int n) { iout[n] = in.imath_rows[n] * in.imath_mats[n]; });
}
BENCHMARK(BM_transform_row);

void BM_normalized(benchmark::State& state) {
    const Inputs& in = inputs();
    std::vector<Vec3> out(kBatch);
    std::vector<Imath::V3f> iout(kBatch);
    paired(
        state, [&](int n) { ftv::normalized(in.vecs[n], out[n]); },
        [&](int n) { iout[n] = in.imath_vecs[n].normalized(); });
}
BENCHMARK(BM_normalized);

void BM_normalize(benchmark::State& state) {
    const Inputs& in = inputs();
    std::vector<Vec3> v(in.vecs);
    std::vector<Imath::V3f> iv(in.imath_vecs);
    std::vector<float> lengths(kBatch), ilengths(kBatch);
    // After the first pass the vectors are unit: both keep normalizing them.
    paired(
        state, [&](int n) { lengths[n] = ftv::normalize(v[n]); },
        [&](int n) {
            ilengths[n] = iv[n].length();
            iv[n].normalize();
        });
}
BENCHMARK(BM_normalize);

void BM_axis_rotation(benchmark::State& state) {
    const Inputs& in = inputs();
    std::vector<Mat4> out(kBatch);
    for (auto _ : state) {
        for (int n = 0; n < kBatch; ++n) ftv::axis_rotation(in.vecs[n], in.cosines[n], in.sines[n], out[n]);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(BM_axis_rotation);

// The exact turn of a part in any frame: ours inverts the frame's 3x3 (up to
// a factor), carries the two world targets into it and makes them
// orthonormal; the partner does the same with Imath's inverse, and its
// rotationMatrixWithUpDir builds the rotation from +Z onto the target.
void BM_exact_facing_vs_rotationMatrixWithUpDir(benchmark::State& state) {
    const Inputs& in = inputs();
    std::vector<Mat4> out(kBatch);
    std::vector<Imath::M44f> iout(kBatch);
    const Vec3 pivot{1, 2, 3};
    paired(
        state, [&](int n) { ftv::exact_facing_transform(in.mats[n], pivot, in.vecs[n], ftv::ExactAim::face, out[n]); },
        [&](int n) {
            const Imath::M44f inverse = in.imath_mats[n].inverse();
            Imath::V3f target, up;
            inverse.multDirMatrix(in.imath_vecs[n], target);
            inverse.multDirMatrix(Imath::V3f(0, 1, 0), up);
            iout[n] = Imath::rotationMatrixWithUpDir(Imath::V3f(0, 0, 1), target, up);
        });
}
BENCHMARK(BM_exact_facing_vs_rotationMatrixWithUpDir);

}  // namespace

BENCHMARK_MAIN();
