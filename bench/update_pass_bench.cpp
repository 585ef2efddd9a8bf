// The update pass through the built module in the reference host, over scenes
// of 10^3 to 10^6 tagged parts, beside the math floor: the same geometry per
// tagged part on the same matrices and centres with no host call at all.
//
// Scenes (one at a time; each is built on first use and kept for the
// benchmarks that follow on it):
// - flat:       N tagged parts directly under the root;
// - nested:     N tagged parts, ten to a group, ten groups to an outer group,
//               every group turned and moved: the walk goes three levels deep
//               and local_to_world carries two products;
// - one_in_ten: N parts under the root, every tenth tagged, the others
//               untagged parts with one mesh, which the walk enters;
// - rotated:    N tagged parts, ten to a group under the root, every group
//               turned about all three axes by random angles and moved: the
//               parts' angles are all non-zero, so every function of the
//               per-part math runs (in the flat scene all angles are 0 and the
//               trigonometry takes its shortcut for 0);
// - rotated_upright, rotated_exact: the rotated scene with every part tagged
//               2 (upright) or 3 (face exactly), which are turned in their
//               frame with no decomposition and no host rotation.
// A tagged part holds its "#center" marker only: the walk never enters a
// tagged part, so a mesh there would cost memory and no time.
//
// Counters (seconds per item, shown in ns):
// - per_part:   per part the walk reaches (tagged, untagged and groups);
// - per_tagged: per tagged part turned.
// The pass runs in both forms of next_sibling (fresh / in_place).
//
// The machine these run on is shared: the ratios are best taken from the
// pairs timed alternately in thread CPU time, pass_vs_floor/* (pass, floor
// and the plain reference floor of bench/reference_floor.h on one scene) and
// scaling/* (per part at 10^6 / at 10^3), which every part of a ratio sees
// under the same load.
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "geometry/decompose.h"
#include "geometry/det_math.h"
#include "geometry/face_camera.h"
#include "behaviour/part_tag.h"
#include "geometry/primitives.h"
#include "host/interface_ids.h"
#include "host/plugin_interface.h"
#include "host_objects/host_scene.h"
#include "host_objects/module_loader.h"
#include "host_objects/reference_host.h"
#include "judge/plugin_conventions.h"
#include "reference_floor.h"
#include "scene/imath_values.h"

namespace {

using ftv::Mat4;
using ftv::Vec3;
using refhost::Node;
using refhost::Scene;

enum class Shape { flat, nested, one_in_ten, rotated, rotated_upright, rotated_exact };

// The tag every tagged part of a scene carries.
std::int32_t tag_of(Shape shape) {
    return shape == Shape::rotated_upright ? ftv::kUprightTag : shape == Shape::rotated_exact ? ftv::kExactTag : 1;
}

class Rng {
public:
    float uniform(double lo, double hi) {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<float>(lo + (hi - lo) * ((state_ >> 11) * 0x1p-53));
    }

private:
    std::uint64_t state_ = 7;
};

Mat4 group_transform(Rng& rng) {
    Mat4 m;
    const double angle = rng.uniform(-3, 3);
    ftv::axis_rotation(Vec3{0, 1, 0}, float(ftv::detmath::cos(angle)), float(ftv::detmath::sin(angle)), m);
    m.m[3][0] = rng.uniform(-100, 100);
    m.m[3][1] = rng.uniform(-10, 10);
    m.m[3][2] = rng.uniform(-100, 100);
    return m;
}

// Rx(a) * Ry(b) * Rz(c) with random angles, then a move.
Mat4 turned_about_three_axes(Rng& rng) {
    Mat4 m = ftv::kIdentityMatrix;
    const Vec3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (const Vec3& axis : axes) {
        const double angle = rng.uniform(-3, 3);
        Mat4 r;
        ftv::axis_rotation(axis, float(ftv::detmath::cos(angle)), float(ftv::detmath::sin(angle)), r);
        ftv::multiply(m, r, m);
    }
    m.m[3][0] = rng.uniform(-100, 100);
    m.m[3][1] = rng.uniform(-10, 10);
    m.m[3][2] = rng.uniform(-100, 100);
    return m;
}

refhost::LoadedModule& module();

// A scene, the reference host it lives in and the module's resident component
// created for that host, with the switch on.
struct Setup {
    Shape shape;
    std::int64_t size;
    refhost::ReferenceHost host;
    Scene* scene = nullptr;
    ftv::plugin_interface* main = nullptr;
    std::int64_t parts = 0;         // parts the walk reaches
    std::vector<const Node*> tagged;  // in walk order

    Setup(Shape s, std::int64_t n) : shape(s), size(n) {
        scene = &host.new_scene();
        refhost::store_switch(scene->tree(), 1);
        scene->tree().set_eye({13, 270, 900});
        Rng rng;
        const auto billboard = [&](const Node& parent) {
            const Vec3 center{rng.uniform(-50, 50), rng.uniform(0, 20), rng.uniform(-50, 50)};
            tagged.push_back(&refhost::add_billboard(scene->tree(), parent, "Billboard", center, tag_of(shape), 0));
            ++parts;
        };
        tagged.reserve(static_cast<std::size_t>(n));
        switch (shape) {
        case Shape::flat:
            for (std::int64_t i = 0; i < n; ++i) billboard(scene->tree().root());
            break;
        case Shape::nested:
            for (std::int64_t outer = 0; outer < n / 100; ++outer) {
                const Node& group = scene->tree().add_part(scene->tree().root(), "Outer");
                scene->tree().set_transformation(group, group_transform(rng));
                ++parts;
                for (int inner = 0; inner < 10; ++inner) {
                    const Node& sub = scene->tree().add_part(group, "Inner");
                    scene->tree().set_transformation(sub, group_transform(rng));
                    ++parts;
                    for (int k = 0; k < 10; ++k) billboard(sub);
                }
            }
            break;
        case Shape::one_in_ten:
            for (std::int64_t i = 0; i < n; ++i) {
                if (i % 10 == 0) {
                    billboard(scene->tree().root());
                } else {
                    const Node& plain = scene->tree().add_part(scene->tree().root(), "Plain");
                    scene->tree().add_mesh(plain, "Mesh", refhost::Mesh{});
                    ++parts;
                }
            }
            break;
        case Shape::rotated:
        case Shape::rotated_upright:
        case Shape::rotated_exact:
            for (std::int64_t group = 0; group < n / 10; ++group) {
                const Node& parent = scene->tree().add_part(scene->tree().root(), "Turned");
                scene->tree().set_transformation(parent, turned_about_three_axes(rng));
                ++parts;
                for (int k = 0; k < 10; ++k) billboard(parent);
            }
            break;
        }
        module().create_interface(&ftv::kPluginInterfaceId, 0, &main, &host.app(), nullptr);
        bool flag = true;
        main->initialization(flag, scene);
        // One pass first: the host makes a part object the first time one is
        // asked for, which belongs to building the scene, not to the pass.
        main->update_notification(flag, scene);
    }
    ~Setup() { main->Release(); }
    Setup(const Setup&) = delete;
    Setup& operator=(const Setup&) = delete;
};

// The loaded module and every scene alive at a time. One holder, so that the
// scenes, whose teardown releases the module's component, go before the module
// is unloaded (members are destroyed in reverse order).
struct Loaded {
    refhost::LoadedModule module{FTV_MODULE_PATH};
    std::unique_ptr<Setup> current;       // the scene last asked for
    std::unique_ptr<Setup> large, small;  // the pair of scaling/*
};

Loaded& loaded() {
    static Loaded l;
    return l;
}

refhost::LoadedModule& module() { return loaded().module; }

// The scene last asked for; a new one replaces it, so that one large scene
// at most is in memory.
std::unique_ptr<Setup>& current_setup() { return loaded().current; }

Setup& setup(Shape shape, std::int64_t size, refhost::SiblingMode mode) {
    std::unique_ptr<Setup>& current = current_setup();
    if (!current || current->shape != shape || current->size != size) {
        current.reset();
        current = std::make_unique<Setup>(shape, size);
    }
    current->scene->sibling_mode = mode;
    return *current;
}

void per_item_counters(benchmark::State& state, std::int64_t parts, std::int64_t tagged) {
    const auto per = benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert;
    state.counters["per_part"] = benchmark::Counter(double(parts), per);
    state.counters["per_tagged"] = benchmark::Counter(double(tagged), per);
}

void update_pass(benchmark::State& state, Shape shape, refhost::SiblingMode mode) {
    Setup& s = setup(shape, state.range(0), mode);
    const std::uint64_t calls_before = s.host.faults().calls();
    for (auto _ : state) {
        bool flag = true;
        s.main->update_notification(flag, s.scene);
    }
    // The pass must have turned every tagged part and left the ledger balanced.
    if (!s.host.ledger().balanced() || !s.host.misuse().empty()) {
        state.SkipWithError("unbalanced ledger or misuse after the pass");
        return;
    }
    if (s.tagged.back()->transformations_set < state.iterations()) {
        state.SkipWithError("the pass did not reach every tagged part");
        return;
    }
    per_item_counters(state, s.parts, std::int64_t(s.tagged.size()));
    state.counters["host_calls_per_part"] =
        double(s.host.faults().calls() - calls_before) / double(state.iterations()) / double(s.parts);
}

// The geometry of one pass with no host call: per tagged part the part's
// local_to_world value, transform_point and normalize (direction_to_eye),
// decompose, the shortest-arc rotation, then the three axis rotations and six
// products (facing_transform), written back as the transformation.
struct Floor {
    struct Input {
        Mat4 part_to_world;
        Vec3 pivot;
    };
    std::vector<Input> inputs;
    std::vector<Mat4> out;
    Vec3 eye;

    explicit Floor(const Setup& s)
        : out(s.tagged.size()), eye(s.scene->tree().camera_data().eye), reference_out(s.tagged.size()) {
        inputs.reserve(s.tagged.size());
        for (const Node* part : s.tagged) inputs.push_back({s.scene->tree().local_to_world(*part), part->first()->center});
    }
    void run() {
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            Vec3 direction;
            ftv::direction_to_eye(inputs[i].part_to_world, inputs[i].pivot, eye, direction);
            Vec3 angles;
            ftv::decompose(inputs[i].part_to_world, nullptr, nullptr, nullptr, &angles);
            const Mat4 turn = refhost::rotation_between(Vec3{0.0f, 0.0f, 1.0f}, direction);
            ftv::facing_transform(inputs[i].pivot, turn, angles, out[i]);
        }
        benchmark::ClobberMemory();
    }
    // The same per-part math written plainly (bench/reference_floor.h).
    std::vector<reference::Matrix> reference_out;
    void run_reference() {
        const reference::Point e{eye.x, eye.y, eye.z};
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            reference::Matrix m;
            std::memcpy(&m, &inputs[i].part_to_world, sizeof m);
            const Vec3& p = inputs[i].pivot;
            reference_out[i] = reference::facing(m, {p.x, p.y, p.z}, e);
        }
        benchmark::ClobberMemory();
    }
    // The reference computes the same transformations, within float rounding
    // of elements up to the pivots' size (50). A part turned within a hair of
    // +-90 degrees about Y may take the other branch of the Euler angles in
    // double than in float, and Rx(-x) * Ry(-y) * Rz(-z) differs between the
    // two triples: one part in a thousand may differ.
    bool reference_agrees() const {
        std::size_t differ = 0;
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            bool same = true;
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 4; ++c)
                    same = same && std::fabs(out[i].m[r][c] - reference_out[i].m[r][c]) <= 1e-3f;
            differ += same ? 0 : 1;
        }
        return differ * 1000 <= inputs.size();
    }
    // The floor computes what the pass stores, to the bit.
    bool matches(const Setup& s) const {
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 4; ++c)
                    if (out[i].m[r][c] != s.tagged[i]->transformation.m[r][c]) return false;
        }
        return true;
    }
};

void math_floor(benchmark::State& state, Shape shape) {
    Setup& s = setup(shape, state.range(0), refhost::SiblingMode::fresh);
    Floor floor(s);
    for (auto _ : state) floor.run();
    if (!floor.matches(s)) {
        state.SkipWithError("the floor's geometry differs from the pass's");
        return;
    }
    per_item_counters(state, std::int64_t(floor.inputs.size()), std::int64_t(floor.inputs.size()));
}

// The CPU time of this thread: a busy machine that takes the processor away
// between two timings does not count.
double thread_seconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

void pass_once(Setup& s) {
    bool flag = true;
    s.main->update_notification(flag, s.scene);
}

// The pass, the floor and the reference floor over the same scene, in turn in
// every iteration, so that all three see the same load: ratio = pass / floor,
// pass_vs_reference = pass / reference, floor_vs_reference = floor /
// reference, per tagged part.
void pass_vs_floor(benchmark::State& state, Shape shape, refhost::SiblingMode mode) {
    Setup& s = setup(shape, state.range(0), mode);
    Floor floor(s);
    double pass_s = 0, floor_s = 0, reference_s = 0;
    for (auto _ : state) {
        const double t0 = thread_seconds();
        pass_once(s);
        const double t1 = thread_seconds();
        floor.run();
        const double t2 = thread_seconds();
        floor.run_reference();
        const double t3 = thread_seconds();
        pass_s += t1 - t0;
        floor_s += t2 - t1;
        reference_s += t3 - t2;
    }
    if (!floor.matches(s) || !s.host.ledger().balanced()) {
        state.SkipWithError("the floor differs from the pass, or the ledger is unbalanced");
        return;
    }
    if (!floor.reference_agrees()) {
        state.SkipWithError("the reference floor computes another transformation");
        return;
    }
    const double tagged = double(s.tagged.size()) * double(state.iterations());
    state.counters["pass_ns"] = pass_s / tagged * 1e9;
    state.counters["floor_ns"] = floor_s / tagged * 1e9;
    state.counters["reference_ns"] = reference_s / tagged * 1e9;
    state.counters["ratio"] = pass_s / floor_s;
    state.counters["pass_vs_reference"] = pass_s / reference_s;
    state.counters["floor_vs_reference"] = floor_s / reference_s;
}

// The pass over 10^6 and over 10^3 parts of one shape, alternately in every
// iteration (a thousand passes over the small scene per pass over the large):
// ratio = time per part at 10^6 / time per part at 10^3.
void scaling(benchmark::State& state, Shape shape, refhost::SiblingMode mode) {
    current_setup().reset();
    std::unique_ptr<Setup>& large = loaded().large;
    std::unique_ptr<Setup>& small = loaded().small;
    if (!large || large->shape != shape) {
        large.reset();
        small.reset();
        large = std::make_unique<Setup>(shape, 1000000);
        small = std::make_unique<Setup>(shape, 1000);
    }
    large->scene->sibling_mode = mode;
    small->scene->sibling_mode = mode;
    double large_s = 0, small_s = 0;
    for (auto _ : state) {
        const double t0 = thread_seconds();
        pass_once(*large);
        const double t1 = thread_seconds();
        for (int k = 0; k < 1000; ++k) pass_once(*small);
        const double t2 = thread_seconds();
        large_s += t1 - t0;
        small_s += t2 - t1;
    }
    const double large_ns = large_s / double(large->parts) / double(state.iterations()) * 1e9;
    const double small_ns = small_s / double(small->parts) / 1000.0 / double(state.iterations()) * 1e9;
    state.counters["ns_per_part_1e6"] = large_ns;
    state.counters["ns_per_part_1e3"] = small_ns;
    state.counters["ratio"] = large_ns / small_ns;
}

void sizes(benchmark::internal::Benchmark* b) {
    b->ArgName("n")->Unit(benchmark::kMillisecond);
}

// Registered per scene so that each scene is built once and all run on it.
void register_all() {
    const struct {
        Shape shape;
        const char* name;
    } shapes[] = {{Shape::flat, "flat"}, {Shape::nested, "nested"}, {Shape::one_in_ten, "one_in_ten"},
                    {Shape::rotated, "rotated"}, {Shape::rotated_upright, "rotated_upright"},
                    {Shape::rotated_exact, "rotated_exact"}};
    for (const auto& [shape, name] : shapes) {
        for (std::int64_t n : {1000, 10000, 100000, 1000000}) {
            const std::string suffix = std::string("/") + name;
            const Shape sh = shape;
            benchmark::RegisterBenchmark(("pass_fresh" + suffix).c_str(),
                                         [sh](benchmark::State& st) { update_pass(st, sh, refhost::SiblingMode::fresh); })
                ->Arg(n)
                ->Apply(sizes);
            benchmark::RegisterBenchmark(
                ("pass_in_place" + suffix).c_str(),
                [sh](benchmark::State& st) { update_pass(st, sh, refhost::SiblingMode::in_place); })
                ->Arg(n)
                ->Apply(sizes);
            // The floors are the math of tag 1.
            if (shape != Shape::one_in_ten && tag_of(shape) == 1) {
                benchmark::RegisterBenchmark(("math_floor" + suffix).c_str(),
                                             [sh](benchmark::State& st) { math_floor(st, sh); })
                    ->Arg(n)
                    ->Apply(sizes);
                for (auto mode : {refhost::SiblingMode::fresh, refhost::SiblingMode::in_place}) {
                    const char* form = mode == refhost::SiblingMode::fresh ? "/fresh" : "/in_place";
                    benchmark::RegisterBenchmark(("pass_vs_floor" + suffix + form).c_str(),
                                                 [sh, mode](benchmark::State& st) { pass_vs_floor(st, sh, mode); })
                        ->Arg(n)
                        ->Iterations(std::max<std::int64_t>(3, 1000000 / n))
                        ->Apply(sizes);
                }
            }
        }
    }
    for (const auto& [shape, name] : shapes) {
        if (tag_of(shape) != 1) continue;  // the walk is the same whatever the tags
        for (auto mode : {refhost::SiblingMode::fresh, refhost::SiblingMode::in_place}) {
            const char* form = mode == refhost::SiblingMode::fresh ? "/fresh" : "/in_place";
            const Shape sh = shape;
            benchmark::RegisterBenchmark((std::string("scaling/") + name + form).c_str(),
                                         [sh, mode](benchmark::State& st) { scaling(st, sh, mode); })
                ->Iterations(3)
                ->Unit(benchmark::kMillisecond);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    register_all();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
