// ftv-host on models of Debian's assimp-testmodels: reading a model into a
// reference scene through Assimp, and that with running the plug-in on it as
// ftv-host does (module loaded, initialisation, switch on, one update pass with
// every group tagged); then writing the scene as glTF and as scene.json. The
// largest model (about half a million vertices) must read and run in under
// 3 s and 400 MB, a typical one in under 0.3 s (BENCHMARKS.md). The real time
// is the measure: the process's CPU time leaves out the importer's process.
// Run one model per process to read its peak memory:
//   build/native/bin/model_import_bench --benchmark_filter=Suzanne
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include "formats/gltf_export.h"
#include "formats/json_output.h"
#include "formats/model_import.h"
#include "run/plugin_session.h"
#include "formats/scene_file.h"

namespace {

const std::string kModels = "/usr/share/assimp/models/";

struct Model {
    const char* name;
    const char* file;
};

// The largest, then typical ones of the kinds users bring.
const Model kBenchModels[] = {{"SuzanneSubdiv_252", "BLEND/SuzanneSubdiv_252.blend"},
                              {"duck_dae", "Collada/duck.dae"},
                              {"spider_fbx", "FBX/spider.fbx"},
                              {"spider_obj", "OBJ/spider.obj"},
                              {"BoxTextured_gltf", "glTF2/BoxTextured-glTF/BoxTextured.gltf"}};

void report(benchmark::State& state, const refhost::SceneTree& scene) {
    std::size_t vertices = 0;
    for (std::uint32_t id = 1; id <= scene.node_count(); ++id) vertices += scene.node_by_id(id)->mesh.vertices.size();
    // The model is read in a process of its own: its peak is the importer's.
    rusage usage{}, importer{};
    getrusage(RUSAGE_SELF, &usage);
    getrusage(RUSAGE_CHILDREN, &importer);
    state.counters["vertices"] = static_cast<double>(vertices);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
    state.counters["importer_peak_MB"] = static_cast<double>(importer.ru_maxrss) / 1024;
}

void import_only(benchmark::State& state, const Model& model) {
    const ftv_cli::ModelTags tags{{}, 1};
    for (auto _ : state) {
        refhost::ReferenceHost host;
        refhost::Scene& scene = host.new_scene();
        ftv_cli::import_model(kModels + model.file, tags, scene.tree());
        report(state, scene.tree());
    }
}

// What ftv-host --scene FILE --tag-groups --menu on --notify does before it writes its outputs.
void import_and_run(benchmark::State& state, const Model& model) {
    std::uint64_t turned = 0;
    for (auto _ : state) {
        ftv_cli::PluginSession session(FTV_MODULE_PATH, FTV_PANE_PATH);
        ftv_cli::import_model(kModels + model.file, {{}, 1}, session.tree());
        session.initialize();
        session.menu({true, true});
        session.notify();
        turned = session.turned();
        report(state, session.tree());
        session.release_components();
        if (!session.host().ledger().balanced()) state.SkipWithError("ledger not balanced");
    }
    state.counters["parts_turned"] = static_cast<double>(turned);
}

void write_files(benchmark::State& state, const Model& model) {
    refhost::ReferenceHost host;
    refhost::Scene& scene = host.new_scene();
    ftv_cli::import_model(kModels + model.file, {{}, 1}, scene.tree());
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = ftv_cli::gltf_scene(scene.tree()).text.size() + ftv_cli::json_text(ftv_cli::scene_to_json(scene.tree())).size();
        benchmark::DoNotOptimize(bytes);
    }
    report(state, scene.tree());
    state.counters["bytes"] = static_cast<double>(bytes);
}

const bool kRegistered = [] {
    for (const Model& model : kBenchModels) {
        const bool large = std::string(model.name) == "SuzanneSubdiv_252";
        for (auto [kind, run] : {std::pair{"import", &import_only}, std::pair{"import_and_run", &import_and_run},
                                 std::pair{"write_gltf_and_json", &write_files}}) {
            auto* bench = benchmark::RegisterBenchmark((std::string(kind) + "/" + model.name).c_str(), run, model)
                              ->Unit(benchmark::kMillisecond)
                              ->MeasureProcessCPUTime()
                              ->UseRealTime();
            if (large) bench->Iterations(3);
        }
    }
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
