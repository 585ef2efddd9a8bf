// The update notification of the resident component, end to end through the
// module: which parts the walk turns, and that they end up facing the eye.
#include <gtest/gtest.h>

#include <cstring>

#include "host/interface_ids.h"
#include "module_fixture.h"
#include "scenes.h"

namespace {

using namespace testing_support;
using refhost::Node;
using refhost::Scene;
using refhost::SiblingMode;

class UpdatePass : public MainComponentTest, public ::testing::WithParamInterface<SiblingMode> {
protected:
    void SetUp() override {
        MainComponentTest::SetUp();
        scene->sibling_mode = GetParam();
    }
};

TEST_P(UpdatePass, TurnsATaggedPartTowardTheEyeAndKeepsItsMarkerInPlace) {
    store_switch(scene->tree(), 1);
    const Node& group = scene->tree().add_part(scene->tree().root(), "Group");
    scene->tree().set_transformation(group, ftv::translation_matrix({5, -2, 1}));
    const Node& billboard = add_billboard(scene->tree(), group, "Billboard", {1, 2, 3});
    scene->tree().set_eye({-20, 7, 30});
    initialize();
    const ftv::Vec3 before = scene->tree().world_center(*billboard.first());

    notify();

    EXPECT_EQ(billboard.transformations_set, 1u);
    EXPECT_EQ(billboard.part_matrices_set, 1u);
    const ftv::Vec3 after = scene->tree().world_center(*billboard.first());
    EXPECT_NEAR(after.x, before.x, 1e-5);
    EXPECT_NEAR(after.y, before.y, 1e-5);
    EXPECT_NEAR(after.z, before.z, 1e-5);
    expect_faces_eye(scene->tree(), billboard);

    // A second pass from the same eye gives the same transformation, to the bit.
    const ftv::Mat4 first = billboard.transformation;
    notify();
    EXPECT_EQ(std::memcmp(&first, &billboard.transformation, sizeof first), 0);

    // A moved camera is followed.
    scene->tree().set_eye({40, -3, -12});
    notify();
    expect_faces_eye(scene->tree(), billboard);
}

TEST_P(UpdatePass, SwitchedOffAsksNothingOfTheHost) {
    add_billboard(scene->tree(), scene->tree().root(), "Billboard", {0, 0, 0});
    initialize();  // no stored switch: off
    const auto calls = host.faults().calls();
    notify();
    EXPECT_EQ(host.faults().calls(), calls);
    EXPECT_EQ(scene->tree().root().first()->transformations_set, 0u);
}

TEST_P(UpdatePass, TheWalkFindsExactlyTheTaggedPartsItMayEnter) {
    store_switch(scene->tree(), 1);
    const Node& root = scene->tree().root();
    struct Expect {
        const Node* part;
        bool turned;
    };
    std::vector<Expect> expect;
    // Tagged, "#center" first: turned; any non-zero tag counts.
    expect.push_back({&add_billboard(scene->tree(), root, "Tagged", {0, 1, 0}), true});
    expect.push_back({&add_billboard(scene->tree(), root, "Tagged7", {2, 0, 0}, 7), true});
    // Tagged 0 with a tagged part inside: neither is turned.
    const Node& zero = add_billboard(scene->tree(), root, "Zero", {0, 0, 0}, 0);
    expect.push_back({&zero, false});
    expect.push_back({&add_billboard(scene->tree(), zero, "InsideZero", {1, 1, 1}), false});
    // No stream: searched, and the tagged part inside is turned.
    const Node& plain = scene->tree().add_part(root, "Plain");
    const Node& deeper = scene->tree().add_part(plain, "Deeper");
    expect.push_back({&add_billboard(scene->tree(), deeper, "Nested", {3, 0, 1}), true});
    // Tagged and turned, so the tagged part inside it is never visited.
    const Node& outer = add_billboard(scene->tree(), root, "Outer", {0, 0, 2});
    expect.push_back({&outer, true});
    expect.push_back({&add_billboard(scene->tree(), outer, "InsideTagged", {0, 0, 3}), false});
    // Marker names that only resemble "#center", a missing marker, a marker not first.
    for (const char* name : {"#Center", "#center2", "#cente", "center"}) {
        const Node& part = scene->tree().add_part(root, std::string("Named ") + name);
        scene->tree().set_stream(part, ftv::kMainId, {1});
        scene->tree().add_marker(part, {0, 0, 0}, name);
        expect.push_back({&part, false});
    }
    const Node& empty = scene->tree().add_part(root, "Empty");
    scene->tree().set_stream(empty, ftv::kMainId, {1});
    expect.push_back({&empty, false});
    const Node& second = scene->tree().add_part(root, "MarkerSecond");
    scene->tree().set_stream(second, ftv::kMainId, {1});
    scene->tree().add_mesh(second, "Face", {});
    scene->tree().add_marker(second, {0, 0, 0});
    expect.push_back({&second, false});
    // An empty stream reads as 0.
    const Node& blank = scene->tree().add_part(root, "BlankStream");
    scene->tree().set_stream(blank, ftv::kMainId, {});
    scene->tree().add_marker(blank, {0, 0, 0});
    expect.push_back({&blank, false});
    // A stream of another plug-in does not count: searched like a plain part.
    const Node& foreign = scene->tree().add_part(root, "Foreign");
    scene->tree().set_stream(foreign, 0x12345678u, {1});
    expect.push_back({&add_billboard(scene->tree(), foreign, "UnderForeign", {0, 2, 0}), true});
    // A mesh named "#center" at the top is not a part.
    scene->tree().add_mesh(root, "#center", {});

    scene->tree().set_eye({3, 4, 50});
    initialize();
    notify();

    for (const Expect& e : expect) {
        EXPECT_EQ(e.part->transformations_set, e.turned ? 1u : 0u) << scene->tree().path_of(*e.part);
        if (e.turned) expect_faces_eye(scene->tree(), *e.part);
    }
}

TEST_P(UpdatePass, SiblingsAreTurnedInListOrderDepthFirst) {
    store_switch(scene->tree(), 1);
    const Node& a = add_billboard(scene->tree(), scene->tree().root(), "A", {0, 0, 0});
    const Node& group = scene->tree().add_part(scene->tree().root(), "Group");
    const Node& b = add_billboard(scene->tree(), group, "B", {1, 0, 0});
    const Node& c = add_billboard(scene->tree(), scene->tree().root(), "C", {2, 0, 0});
    initialize();
    notify();
    EXPECT_LT(a.transformed_at, b.transformed_at);
    EXPECT_LT(b.transformed_at, c.transformed_at);
}

TEST_P(UpdatePass, AnEmptySceneIsLeftAsItWas) {
    store_switch(scene->tree(), 1);
    initialize();
    notify();
    EXPECT_EQ(scene->tree().node_count(), 1u);
    EXPECT_EQ(scene->tree().root().first(), nullptr);
    EXPECT_EQ(scene->tree().root().transformations_set, 0u);
    EXPECT_EQ(scene->tree().root().part_matrices_set, 0u);
}

INSTANTIATE_TEST_SUITE_P(BothSiblingForms, UpdatePass, ::testing::Values(SiblingMode::fresh, SiblingMode::in_place),
                         [](const auto& info) {
                             return std::string(info.param == SiblingMode::fresh ? "FreshObjects" : "MovedInPlace");
                         });

}  // namespace
