// ftv-host's reading of a model on arbitrary bytes, through the importer's own
// process as ftv-host reads one: it either fills a scene or refuses the file
// with one line that names it; a crash, abort or endless loop of Assimp's
// readers becomes such a line too. Any other exception, a line that names
// something else or breaks, a crash here or a sanitizer report is a fault.
// The first byte picks the file's extension, and with it Assimp's reader.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>

#include "formats/input_error.h"
#include "formats/model_import.h"
#include "input_file.h"

namespace {

const char* const kExtensions[] = {".gltf", ".obj", ".ply", ".stl", ".off", ".dae", ".x", ".3ds",
                                   ".fbx",  ".glb", ".ase", ".lwo", ".smd", ".ac",  ".md2", ".nff"};

// A folder of this process's own, holding the model alone; never destroyed,
// so that it is still there for the removal at exit.
const std::string& folder() {
    static const std::string* const path = [] {
        auto* made = new std::string(ftv_fuzz::input_path() + ".model");
        std::filesystem::create_directories(*made);
        return made;
    }();
    return *path;
}

void remove_folder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder(), ignored);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    folder();
    std::atexit(remove_folder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string path = folder() + "/model" + kExtensions[data[0] % std::size(kExtensions)];
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || (size > 1 && std::fwrite(data + 1, 1, size - 1, file) != size - 1) || std::fclose(file) != 0)
        std::abort();
    refhost::SceneTree scene;
    try {
        // Half a second: libFuzzer takes a second for a hang.
        ftv_cli::import_model(path, {}, scene, 0.5);
    } catch (const ftv_cli::InputError& error) {
        const std::string message = error.what();
        if (message.rfind(path + ": ", 0) != 0) ftv_fuzz::fail("error does not start with the file: " + message);
        if (message.size() <= path.size() + 2) ftv_fuzz::fail("error says not why: " + message);
        const std::string line = ftv_cli::error_line(message);
        if (line.find('\n') != line.size() - 1) ftv_fuzz::fail("error is not one line: " + message);
    }
    std::remove(path.c_str());
    return 0;
}
