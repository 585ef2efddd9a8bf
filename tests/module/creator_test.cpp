// The group creator, called by slot as the host calls it: the input handler,
// the group the creation command builds and where its marker stands, and the
// fixed answers and routing of the creator interface.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "answer_calls.h"
#include "case_names.h"
#include "host/interface_ids.h"
#include "module_fixture.h"
#include "scenes.h"
#include "slots.h"

namespace {

using namespace testing_support;
using refhost::Node;
using refhost::Scene;
using U = std::uint32_t;
using V = void*;

std::uint32_t bits_of(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// The two input values: the bits of 0.5f, and a signalling NaN pattern, which
// any trip through a float register would quieten.
const std::uint32_t kFirst = bits_of(0.5f);
constexpr std::uint32_t kSecond = 0x7F800001u;

// Outer holds Holder, which holds a part P (with a mesh), a marker R and a
// mesh Q, in that order; Other holds a mesh S.
void build(Scene& scene) {
    const Node& outer = scene.tree().add_part(scene.tree().root(), "Outer");
    const Node& holder = scene.tree().add_part(outer, "Holder");
    const Node& p = scene.tree().add_part(holder, "P");
    scene.tree().add_mesh(p, "P mesh", {});
    scene.tree().add_marker(holder, {1, 2, 3}, "R");
    scene.tree().add_mesh(holder, "Q", {});
    const Node& other = scene.tree().add_part(scene.tree().root(), "Other");
    scene.tree().add_mesh(other, "S", {});
}

class Creator : public ComponentTest {
protected:
    Creator() : ComponentTest(ftv::kCreatorInterfaceId) {}
    void input(ftv::Vec3 position, std::uint32_t first = kFirst, std::uint32_t second = kSecond) {
        EXPECT_TRUE((call_slot<bool, const ftv::Vec3*, U, U, V>(creator.get(), plugin_slot(54), &position, first,
                                                                  second, nullptr)));
    }
    void select(const std::vector<std::string>& paths) {
        std::vector<const Node*> shapes;
        for (const std::string& path : paths) shapes.push_back(scene->tree().find(path));
        scene->tree().set_selection(std::move(shapes));
    }
    // Runs the creation command; the new group is the first node it makes.
    const Node& create() {
        const std::size_t before = scene->tree().node_count();
        EXPECT_TRUE((call_slot<bool, ftv::HostScene*, V>(creator.get(), own_slot(1), scene, nullptr)));
        EXPECT_GT(scene->tree().node_count(), before);
        const Node& group = *scene->tree().node_by_id(static_cast<std::uint32_t>(before + 1));
        EXPECT_EQ(group.name, "Z_FaceToViewer");
        EXPECT_TRUE(group.is_part());
        return group;
    }
    // The group's "#center" marker, with the input values as handed over.
    const Node& marker_of(const Node& group) {
        const Node& marker = *group.first();
        EXPECT_EQ(marker.name, "#center");
        EXPECT_EQ(marker.kind, refhost::kMarker);
        EXPECT_EQ(marker.input_values[0], kFirst);
        EXPECT_EQ(marker.input_values[1], kSecond);
        return marker;
    }

    ComponentPtr& creator = component;
};

struct GroupCase {
    const char* what;
    std::vector<std::string> selection;
    const char* current;  // the scene's current part before the command
    const char* made_in;
    std::vector<std::string> children;
};

const GroupCase kGroupCases[] = {
    {"one shape", {"/Outer/Holder/Q"}, "/Other", "/Outer/Holder", {"#center", "Q"}},
    {"Q, P, R in selection order",
     {"/Outer/Holder/Q", "/Outer/Holder/P", "/Outer/Holder/R"},
     "/Other",
     "/Outer/Holder",
     {"#center", "Q", "P", "R"}},
    {"shapes of two parts", {"/Other/S", "/Outer/Holder/Q"}, "/Outer", "/Other", {"#center", "S", "Q"}},
    {"nothing selected: in the current part", {}, "/Outer", "/Outer", {"#center"}},
    {"the root first: in the root, which stays", {"/", "/Outer/Holder/Q"}, "/Other", "/", {"#center", "Q"}},
    // Moving the group's own ancestors into it would make a cycle; the
    // shape after them still follows the last one moved.
    {"ancestors of the new group stay",
     {"/Outer/Holder/Q", "/Outer/Holder", "/Outer", "/", "/Outer/Holder/R"},
     "/Other",
     "/Outer/Holder",
     {"#center", "Q", "R"}},
    {"a part, then a shape inside it", {"/Outer", "/Outer/Holder/Q"}, "/Other", "/", {"#center", "Outer", "Q"}},
};

class CreatorGroup : public Creator, public ::testing::WithParamInterface<GroupCase> {};

TEST_P(CreatorGroup, BuildsATaggedGroupOfTheSelectionBesideTheFirstSelectedShape) {
    const GroupCase& c = GetParam();
    build(*scene);
    select(c.selection);
    std::vector<std::string> paths_before;
    for (const Node* node : scene->tree().selection()) paths_before.push_back(scene->tree().path_of(*node));
    scene->tree().make_current(*scene->tree().find(c.current));
    input({0, 0, 0});

    const Node& group = create();

    EXPECT_EQ(scene->tree().path_of(*group.parent()), c.made_in);
    std::vector<std::string> names;
    for (const Node* child : group.children()) names.push_back(child->name);
    EXPECT_EQ(names, c.children);
    marker_of(group);
    // Whatever did not move into the group is where it was.
    for (std::size_t i = 0; i < scene->tree().selection().size(); ++i) {
        const Node& shape = *scene->tree().selection()[i];
        if (shape.parent() != &group) {
            EXPECT_EQ(scene->tree().path_of(shape), paths_before[i]);
        }
    }
    ASSERT_NE(group.stream(ftv::kMainId), nullptr);
    EXPECT_EQ(*group.stream(ftv::kMainId), refhost::StreamData{1});
    EXPECT_EQ(group.streams().size(), 1u);
    EXPECT_EQ(scene->active_shape(), &group);
}

INSTANTIATE_TEST_SUITE_P(Cases, CreatorGroup, ::testing::ValuesIn(kGroupCases),
                         [](const auto& info) { return case_name(info.param.what); });

// Every case creates twice from one input: the second marker must stand where
// the first does, not at the first's position carried through the matrices
// again.
TEST_F(Creator, TheMarkerStandsWhereTheInputFallsInTheNewGroupsCoordinates) {
    const ftv::Mat4 identity = ftv::kIdentityMatrix;
    // Scale by 2, then move by (1, -3, 4).
    const ftv::Mat4 input_frame = {{{2, 0, 0, 0}, {0, 2, 0, 0}, {0, 0, 2, 0}, {1, -3, 4, 1}}};
    // A quarter turn about z (x onto y), then a move by (10, 0, 0).
    const ftv::Mat4 turned = {{{0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 1, 0}, {10, 0, 0, 1}}};
    // Half size, then a move by (0, 5, 0).
    const ftv::Mat4 shrunk = {{{0.5f, 0, 0, 0}, {0, 0.5f, 0, 0}, {0, 0, 0.5f, 0}, {0, 5, 0, 1}}};
    const ftv::Vec3 input_position = {1.5f, -2, 0.25f};
    const struct {
        const char* what;
        ftv::Mat4 input_to_world, outer, holder;
        ftv::Vec3 world;  // where the input falls, worked out by hand
        bool exact;       // nothing to carry: the position arrives bit for bit
    } cases[] = {
        {"identity everywhere", identity, identity, identity, input_position, true},
        {"input frame scaled and moved", input_frame, identity, identity, {4, -7, 4.5f}, false},
        {"nested transformed parts", input_frame, turned, shrunk, {4, -7, 4.5f}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        scene = &host.new_scene();
        build(*scene);
        scene->tree().set_input_matrix(c.input_to_world);
        scene->tree().set_transformation(*scene->tree().find("/Outer"), c.outer);
        scene->tree().set_transformation(*scene->tree().find("/Outer/Holder"), c.holder);
        input(input_position);

        for (const char* selected : {"/Outer/Holder/Q", "/Outer/Holder/R"}) {
            SCOPED_TRACE(selected);
            select({selected});
            const Node& marker = marker_of(create());
            const ftv::Vec3 got = scene->tree().world_center(marker);
            // Two float transforms each way: a few units in the last place.
            const float* g = &got.x;
            const float* w = &c.world.x;
            for (int i = 0; i < 3; ++i) EXPECT_NEAR(g[i], w[i], 1e-5 * std::fmax(1.0, std::fabs(w[i]))) << i;
            if (c.exact) {
                EXPECT_EQ(bits_of(marker.center.x), bits_of(input_position.x));
                EXPECT_EQ(bits_of(marker.center.y), bits_of(input_position.y));
                EXPECT_EQ(bits_of(marker.center.z), bits_of(input_position.z));
            }
        }
    }
}

TEST_F(Creator, TheNewGroupFacesTheCameraAfterTheNextNotification) {
    ComponentPtr main = create_component(shared_module(), ftv::kPluginInterfaceId, 0, host);
    scene = &host.new_scene();
    store_switch(scene->tree(), 1);
    scene->tree().add_mesh(scene->tree().root(), "Mesh", {});
    const Node& billboard = add_billboard(scene->tree(), scene->tree().root(), "Billboard", {4, 0, 0});
    scene->tree().set_eye({-20, 7, 30});
    bool flag = true;
    main->initialization(flag, scene);
    select({"/Mesh", "/Billboard"});
    input({2, 1, 0});
    const Node& group = create();

    main->update_notification(flag, scene);

    EXPECT_EQ(group.transformations_set, 1u);
    expect_faces_eye(scene->tree(), group);
    // A tagged group inside the new one is turned with it, no longer on its own.
    EXPECT_EQ(billboard.parent(), &group);
    EXPECT_EQ(billboard.transformations_set, 0u);
}

// The operations with fixed answers, the input handler's own G6 and 7 among
// them, leave the input the next creation uses as it was.
TEST_F(Creator, TheFixedAnswersLeaveTheInput) {
    const ftv::Vec3 position = {7.25f, -1, 3};
    input(position);
    for (fixed_answers::Of of : {fixed_answers::Of::plugin, fixed_answers::Of::own}) {
        for (int number = 2; number < fixed_answers::first_reserved(fixed_answers::Component::creator, of); ++number) {
            fixed_answers::Operation operation{};
            if (number != 54 && fixed_answer(fixed_answers::Component::creator, of, number, operation))
                wrong_answer(creator.get(), operation);
        }
    }
    const Node& marker = marker_of(create());
    EXPECT_EQ(std::memcmp(&marker.center, &position, sizeof position), 0);
}

}  // namespace
