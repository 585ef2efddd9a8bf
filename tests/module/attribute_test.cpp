// The attribute command, called by slot as the host calls it: the dialog it
// shows, what it stores, and the fixed answers of the attribute interface.
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "host/interface_ids.h"
#include "module_fixture.h"
#include "scenes.h"
#include "slots.h"
#include "text_bytes.h"

namespace {

using namespace testing_support;
using refhost::DialogAnswer;
using refhost::Node;
using refhost::Scene;
using U = std::uint32_t;
using V = void*;

constexpr std::int32_t kNoStream = -999;  // as stored_value reports it

class Attribute : public ComponentTest {
protected:
    Attribute() : ComponentTest(ftv::kAttributeInterfaceId) {}
    // Runs the command on the node, lent as the host lends it; answers false always.
    void run_command(const Node& node) {
        ftv::HostShape* shape = scene->scene_owned_view(node);
        EXPECT_FALSE((call_slot<bool, ftv::HostShape*, void*>(attribute.get(), own_slot(1), shape, nullptr)));
    }
    // The dialog with its three boxes, as shown before the user touched them.
    void expect_one_dialog_shown(bool ticked, bool upright = false, bool exact = false) {
        ASSERT_EQ(scene->dialogs().size(), 1u);
        const refhost::DialogRecord& dialog = scene->dialogs()[0];
        EXPECT_EQ(dialog.title, text_bytes("Z_FaceToViewer属性 設定"));
        ASSERT_EQ(dialog.items.size(), 3u);
        EXPECT_EQ(dialog.items[0].label, text_bytes("Z_FaceToViewer有効"));
        EXPECT_EQ(dialog.items[1].label, text_bytes("縦軸のみ回転"));
        EXPECT_EQ(dialog.items[2].label, text_bytes("正確に向ける"));
        for (const refhost::DialogItem& item : dialog.items) {
            EXPECT_EQ(item.type, 1);
            EXPECT_EQ(item.extra, 0);
        }
        EXPECT_TRUE(dialog.ran);
        EXPECT_EQ(dialog.initial_checks, (std::vector<bool>{ticked, upright, exact}));
    }

    ComponentPtr& attribute = component;
};

// Every way of leaving the three boxes, from every tag the dialog can meet:
// shown ticked as the stored tag says, stored as the boxes say (the upright
// box before the exact one).
struct Boxes {
    const char* name;
    std::int32_t stored;  // kNoStream: the part has none
    bool shown_ticked, shown_upright;
    DialogAnswer answer;  // the boxes as the user leaves them; unset: as shown
    std::int32_t stored_after;  // kNoStream: still none
    bool shown_exact = false;
};
void PrintTo(const Boxes& c, std::ostream* os) { *os << c.name; }

class AttributeBoxes : public Attribute, public ::testing::WithParamInterface<Boxes> {};

TEST_P(AttributeBoxes, ShowTheTagAndStoreWhatTheyAreLeftAt) {
    // Stored streams carry a second integer, which must survive: the tag is
    // rewritten at the start of the stream, after the read moved past it.
    const Boxes& c = GetParam();
    const Node& part = scene->tree().add_part(scene->tree().root(), "Part");
    if (c.stored != kNoStream) scene->tree().set_stream(part, ftv::kMainId, {c.stored, 42});
    const refhost::StreamData* before = part.stream(ftv::kMainId);
    scene->queue_answer(c.answer);

    run_command(part);

    expect_one_dialog_shown(c.shown_ticked, c.shown_upright, c.shown_exact);
    EXPECT_EQ(stored_value(part), c.stored_after);
    // Only the resident component's key is ever used, and an existing stream is reused.
    EXPECT_EQ(part.streams().size(), c.stored_after == kNoStream ? 0u : 1u);
    const refhost::StreamData* after = part.stream(ftv::kMainId);
    if (before != nullptr) {
        ASSERT_EQ(after, before);
        EXPECT_EQ(*after, (refhost::StreamData{c.stored_after, 42}));
    } else if (after != nullptr) {
        EXPECT_EQ(*after, refhost::StreamData{c.stored_after});
    }
}

INSTANTIATE_TEST_SUITE_P(
    StoredAndLeft, AttributeBoxes,
    ::testing::Values(
        Boxes{"NoStream_Cancelled", kNoStream, false, false, {false, true}, kNoStream},
        Boxes{"NoStream_Unchanged", kNoStream, false, false, {true}, 0},
        Boxes{"NoStream_FirstTicked", kNoStream, false, false, {true, true}, 1},
        Boxes{"NoStream_BothTicked", kNoStream, false, false, {true, true, true}, 2},
        Boxes{"StoredMinus1_NoneTicked", -1, true, false, {true, false}, 0},
        Boxes{"Stored0_BothTicked", 0, false, false, {true, true, true}, 2},
        Boxes{"Stored0_FirstTicked", 0, false, false, {true, true, false}, 1},
        Boxes{"Stored0_SecondTicked", 0, false, false, {true, false, true}, 0},
        Boxes{"Stored0_NoneTicked", 0, false, false, {true, false, false}, 0},
        Boxes{"Stored0_Cancelled", 0, false, false, {false, true, true}, 0},
        Boxes{"Stored1_BothTicked", 1, true, false, {true, true, true}, 2},
        Boxes{"Stored1_FirstTicked", 1, true, false, {true, true, false}, 1},
        Boxes{"Stored1_SecondTicked", 1, true, false, {true, false, true}, 0},
        Boxes{"Stored1_NoneTicked", 1, true, false, {true, false, false}, 0},
        Boxes{"Stored1_Cancelled", 1, true, false, {false, true, true}, 1},
        Boxes{"Stored2_BothTicked", 2, true, true, {true, true, true}, 2},
        Boxes{"Stored2_FirstTicked", 2, true, true, {true, true, false}, 1},
        Boxes{"Stored2_SecondTicked", 2, true, true, {true, false, true}, 0},
        Boxes{"Stored2_NoneTicked", 2, true, true, {true, false, false}, 0},
        Boxes{"Stored2_Cancelled", 2, true, true, {false, false, false}, 2},
        Boxes{"Stored7_BothTicked", 7, true, false, {true, true, true}, 2},
        Boxes{"Stored7_FirstTicked", 7, true, false, {true, true, false}, 1},
        Boxes{"Stored7_SecondTicked", 7, true, false, {true, false, true}, 0},
        Boxes{"Stored7_NoneTicked", 7, true, false, {true, false, false}, 0},
        Boxes{"Stored7_Cancelled", 7, true, false, {false, false, true}, 7},
        Boxes{"Stored7_Unchanged", 7, true, false, {true}, 1},
        Boxes{"Stored2_Unchanged", 2, true, true, {true}, 2},
        Boxes{"Stored0_ExactTicked", 0, false, false, {true, true, false, true}, 3},
        Boxes{"Stored1_ExactAloneTicked", 1, true, false, {true, false, false, true}, 0},
        Boxes{"Stored3_Unchanged", 3, true, false, {true}, 3, true},
        Boxes{"Stored3_UprightTicked", 3, true, false, {true, true, true}, 2, true},
        Boxes{"Stored3_ExactUnticked", 3, true, false, {true, true, false, false}, 1, true},
        Boxes{"Stored3_Cancelled", 3, true, false, {false, false, false, false}, 3, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Attribute, OnTheRootItRewritesTheStoredSwitchButNotTheWorkingCopy) {
    ComponentPtr main = create_component(shared_module(), ftv::kPluginInterfaceId, 0, host);
    scene = &host.new_scene();
    store_switch(scene->tree(), 1);
    const Node& billboard = add_billboard(scene->tree(), scene->tree().root(), "Billboard", {1, 0, 0});
    bool flag = true;
    main->initialization(flag, scene);

    scene->queue_answer({true, false});
    run_command(scene->tree().root());
    expect_one_dialog_shown(true);
    EXPECT_EQ(stored_value(scene->tree().root()), 0);

    // The switch the update pass goes by is still on until it is loaded again.
    main->update_notification(flag, scene);
    EXPECT_EQ(billboard.transformations_set, 1u);
    main->initialization(flag, scene);
    main->update_notification(flag, scene);
    EXPECT_EQ(billboard.transformations_set, 1u);
}

}  // namespace
