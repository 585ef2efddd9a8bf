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
//               untagged parts with one mesh, which the walk enters.
// A tagged part holds its "#center" marker only: the walk never enters a
// tagged part, so a mesh there would cost memory and no time.
//
// Counters (seconds per item, shown in ns):
// - per_part:   per part the walk reaches (tagged, untagged and groups);
// - per_tagged: per tagged part turned.
// The pass runs in both forms of next_sibling (fresh / in_place).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "geometry/decompose.h"
#include "geometry/det_math.h"
#include "geometry/face_camera.h"
#include "geometry/primitives.h"
#include "host/interface_ids.h"
#include "host/plugin_id.h"
#include "host/plugin_interface.h"
#include "host_math.h"
#include "module_loader.h"
#include "reference_host.h"
#include "scene.h"

namespace {

using ftv::Mat4;
using ftv::Vec3;
using refhost::Node;
using refhost::Scene;

enum class Shape { flat, nested, one_in_ten };

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

refhost::LoadedModule& module() {
    static refhost::LoadedModule loaded(FTV_MODULE_PATH);
    return loaded;
}

// A scene, the reference host it lives in and the module's resident component
// created for that host, with the switch on.
struct Setup {
    Shape shape;
    std::int64_t size;
    refhost::ReferenceHost host;
    Scene* scene = nullptr;
    ftv::plugin_interface* main = nullptr;
    std::int64_t parts = 0;         // parts the walk reaches
    std::vector<Node*> tagged;      // in walk order

    Setup(Shape s, std::int64_t n) : shape(s), size(n) {
        scene = &host.new_scene();
        scene->set_stream(scene->root(), ftv::kMainId, {1});
        scene->camera_data().eye = {13, 270, 900};
        Rng rng;
        const auto billboard = [&](Node& parent) {
            Node& part = scene->add_part(parent, "Billboard");
            scene->set_stream(part, ftv::kMainId, {1});
            scene->add_marker(part, {rng.uniform(-50, 50), rng.uniform(0, 20), rng.uniform(-50, 50)});
            tagged.push_back(&part);
            ++parts;
        };
        tagged.reserve(static_cast<std::size_t>(n));
        switch (shape) {
        case Shape::flat:
            for (std::int64_t i = 0; i < n; ++i) billboard(scene->root());
            break;
        case Shape::nested:
            for (std::int64_t outer = 0; outer < n / 100; ++outer) {
                Node& group = scene->add_part(scene->root(), "Outer");
                group.transformation = group_transform(rng);
                ++parts;
                for (int inner = 0; inner < 10; ++inner) {
                    Node& sub = scene->add_part(group, "Inner");
                    sub.transformation = group_transform(rng);
                    ++parts;
                    for (int k = 0; k < 10; ++k) billboard(sub);
                }
            }
            break;
        case Shape::one_in_ten:
            for (std::int64_t i = 0; i < n; ++i) {
                if (i % 10 == 0) {
                    billboard(scene->root());
                } else {
                    Node& plain = scene->add_part(scene->root(), "Plain");
                    scene->add_mesh(plain, "Mesh", refhost::Mesh{});
                    ++parts;
                }
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

// The scene last asked for; a new one replaces it, so that one large scene
// at most is in memory.
Setup& setup(Shape shape, std::int64_t size, refhost::SiblingMode mode) {
    static std::unique_ptr<Setup> current;
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
void math_floor(benchmark::State& state, Shape shape) {
    Setup& s = setup(shape, state.range(0), refhost::SiblingMode::fresh);
    struct Input {
        Mat4 part_to_world;
        Vec3 pivot;
    };
    std::vector<Input> inputs;
    inputs.reserve(s.tagged.size());
    for (const Node* part : s.tagged) inputs.push_back({s.scene->local_to_world(*part), part->first->center});
    std::vector<Mat4> out(inputs.size());
    const Vec3 eye = s.scene->camera_data().eye;
    for (auto _ : state) {
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
    // The floor computes what the pass stores, to the bit.
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        bool same = true;
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) same = same && out[i].m[r][c] == s.tagged[i]->transformation.m[r][c];
        if (!same && s.tagged[i]->transformations_set != 0) {
            state.SkipWithError("the floor's geometry differs from the pass's");
            return;
        }
    }
    per_item_counters(state, std::int64_t(inputs.size()), std::int64_t(inputs.size()));
}

void sizes(benchmark::internal::Benchmark* b) {
    b->ArgName("n")->Unit(benchmark::kMillisecond);
}

// Registered per scene so that each scene is built once and all three run on it.
void register_all() {
    const struct {
        Shape shape;
        const char* name;
    } shapes[] = {{Shape::flat, "flat"}, {Shape::nested, "nested"}, {Shape::one_in_ten, "one_in_ten"}};
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
            if (shape != Shape::one_in_ten) {
                benchmark::RegisterBenchmark(("math_floor" + suffix).c_str(),
                                             [sh](benchmark::State& st) { math_floor(st, sh); })
                    ->Arg(n)
                    ->Apply(sizes);
            }
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
