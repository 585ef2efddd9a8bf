// The scene-file reader of ftv-host on arbitrary bytes: it either reads a
// scene or rejects the file with an InputError naming the place; any other
// exception, crash or sanitizer report is a fault. A scene it reads is written
// out and read back, and must give the same document again: what the reader
// accepts, the writer can express.
#include <cstdint>
#include <cstdlib>

#include "host_objects/reference_host.h"
#include "input_file.h"
#include "formats/json_output.h"
#include "formats/scene_file.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::atexit(ftv_fuzz::remove_input);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ftv_fuzz::write_input(data, size);
    refhost::ReferenceHost host;
    refhost::Scene& scene = host.new_scene();
    try {
        ftv_cli::read_scene(ftv_fuzz::input_path(), scene.tree());
    } catch (const ftv_cli::InputError& error) {
        ftv_fuzz::check_input_error(error.what());
        return 0;
    }
    const std::string written = ftv_cli::json_text(ftv_cli::scene_to_json(scene.tree()));
    refhost::ReferenceHost again_host;
    refhost::Scene& again = again_host.new_scene();
    try {
        ftv_cli::read_scene("written", ftv_cli::Json::parse(written), again.tree());
    } catch (const ftv_cli::InputError& error) {
        ftv_fuzz::fail(std::string("a written scene does not read back: ") + error.what() + "\n" + written);
    }
    const std::string rewritten = ftv_cli::json_text(ftv_cli::scene_to_json(again.tree()));
    if (rewritten != written) ftv_fuzz::fail("a scene read back differs:\n" + written + "\n---\n" + rewritten);
    return 0;
}
