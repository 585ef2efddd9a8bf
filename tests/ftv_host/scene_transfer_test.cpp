// The compact form in which the importer's process hands its scene over: the
// scene read back is the scene written, as its scene file shows it; a form cut
// short anywhere is refused, and so is one with any count or index raised
// beyond what follows, without reading past its end or allocating for it.
#include <gtest/gtest.h>

#include <cstring>

#include "formats/json_output.h"
#include "formats/scene_file.h"
#include "formats/scene_transfer.h"
#include "host_run.h"

namespace {

using namespace ftv_cli_testing;

std::string tree_text(const refhost::SceneTree& scene) {
    const ftv_cli::Json document = ftv_cli::scene_to_json(scene);
    return ftv_cli::json_text(document["root"]) + ftv_cli::json_text(document["camera"]);
}

TEST(SceneTransfer, ReadsBackTheSceneAndRefusesAFormCutShortOrOverCounted) {
    refhost::ReferenceHost host;
    const refhost::SceneTree& scene = load_scene(host, data_file("billboards.json")).tree();
    const std::string form = ftv_cli::compact_scene(scene);
    refhost::SceneTree back;
    ASSERT_TRUE(ftv_cli::read_compact_scene(form, back));
    EXPECT_EQ(tree_text(back), tree_text(scene));

    for (std::size_t size = 0; size < form.size(); ++size) {
        refhost::SceneTree cut;
        EXPECT_FALSE(ftv_cli::read_compact_scene(std::string_view(form).substr(0, size), cut)) << size;
    }
    std::size_t refused = 0;
    for (std::size_t at = 0; at + 4 <= form.size(); ++at) {
        std::string raised = form;
        std::memset(raised.data() + at, 0xFF, 4);
        refhost::SceneTree read;
        refused += ftv_cli::read_compact_scene(raised, read) ? 0 : 1;
    }
    // Some places hold floats, which any bits make: the rest are counts, indices and kinds.
    EXPECT_GT(refused, form.size() / 4);
    EXPECT_TRUE(host.ledger().balanced());
}

}  // namespace
