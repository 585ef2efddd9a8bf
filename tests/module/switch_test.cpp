// The on/off switch: loaded at initialisation, edited in the settings dialog,
// flipped by a click on the pane, stored in the scene and shown on the pane.
#include <gtest/gtest.h>

#include "case_names.h"
#include "host/interface_ids.h"
#include "module_fixture.h"
#include "scenes.h"
#include "text_bytes.h"

namespace {

using namespace testing_support;
using refhost::DialogAnswer;
using refhost::Scene;

class Switch : public MainComponentTest {
protected:
    void SetUp() override {
        MainComponentTest::SetUp();
        pane = pane_access();
        ASSERT_TRUE(pane.present());
    }
    void menu() { main->menu_command(0, scene); }
    // The switch as the update pass sees it: does a notification turn a billboard?
    bool pass_runs() {
        const refhost::Node& probe = add_billboard(scene->tree(), scene->tree().root(), "Probe", {0, 0, 0});
        bool flag = true;
        main->update_notification(flag, scene);
        const bool turned = probe.transformations_set != 0;
        scene->tree().detach(probe);
        return turned;
    }
    void click(std::uint32_t message) {
        std::intptr_t answer = -1;
        ASSERT_TRUE(pane.send(ftv::kMainId, message, &answer));
        EXPECT_EQ(answer, 0);
    }

    PaneAccess pane;
};

struct LoadCase {
    const char* what;
    bool stored;
    std::int32_t value;
    bool on;
};

const LoadCase kLoadCases[] = {
    {"fresh scene", false, 0, false}, {"stored 0", true, 0, false}, {"stored 1", true, 1, true},
    {"stored 5", true, 5, true},      {"stored -1", true, -1, true},
};

class SwitchLoading : public Switch, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(SwitchLoading, InitialisationLoadsTheStoredSwitch) {
    const LoadCase& c = GetParam();
    if (c.stored) store_switch(scene->tree(), c.value);
    initialize();
    EXPECT_EQ(pass_runs(), c.on);
    EXPECT_EQ(std::string(pane.record(ftv::kMainId).text),
              text_bytes(c.on ? "Z_FaceToViewer 有効" : "Z_FaceToViewer 無効"));
    // Nothing is written by loading.
    if (!c.stored) {
        EXPECT_EQ(scene->tree().root().stream(ftv::kMainId), nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SwitchLoading, ::testing::ValuesIn(kLoadCases),
                         [](const auto& info) { return case_name(info.param.what); });

struct DialogCase {
    const char* what;
    std::int32_t stored;  // -999: no stream
    DialogAnswer answer;
    bool shown_ticked;
    std::int32_t stored_after;  // -999: still no stream
    bool on_after;
};

const DialogCase kDialogCases[] = {
    {"stored 5, confirmed unchanged", 5, {true, std::nullopt}, true, 1, true},
    {"stored 1, unticked", 1, {true, false}, true, 0, false},
    {"no stream, ticked", -999, {true, true}, false, 1, true},
    {"no stream, confirmed unticked", -999, {true, std::nullopt}, false, 0, false},
    {"stored 5, cancelled", 5, {false, false}, true, 5, true},
    {"no stream, cancelled", -999, {false, true}, false, -999, false},
};

class SwitchDialog : public Switch, public ::testing::WithParamInterface<DialogCase> {};

TEST_P(SwitchDialog, SettingsDialog) {
    const DialogCase& c = GetParam();
    if (c.stored != -999) store_switch(scene->tree(), c.stored);
    pane.reset();
    scene->queue_answer(c.answer);
    menu();

    ASSERT_EQ(scene->dialogs().size(), 1u);
    const refhost::DialogRecord& dialog = scene->dialogs()[0];
    EXPECT_EQ(dialog.title, text_bytes("Z_FaceToViewer 設定"));
    ASSERT_EQ(dialog.items.size(), 1u);
    EXPECT_EQ(dialog.items[0].type, 1);
    EXPECT_EQ(dialog.items[0].label, text_bytes("Z_FaceToViewer有効"));
    EXPECT_EQ(dialog.initial_checks, std::vector<bool>{c.shown_ticked});
    EXPECT_EQ(stored_value(scene->tree().root()), c.stored_after);
    EXPECT_EQ(pass_runs(), c.on_after);
    // The pane is refreshed only by a confirmed dialog.
    EXPECT_EQ(pane.record(ftv::kMainId).texts_set, c.answer.confirm ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, SwitchDialog, ::testing::ValuesIn(kDialogCases),
                         [](const auto& info) { return case_name(info.param.what); });

TEST_F(Switch, ClicksOnThePaneFlipAndStoreTheSwitch) {
    initialize();  // a fresh scene: off
    click(refhost::kLeftButtonDown);
    EXPECT_EQ(stored_value(scene->tree().root()), 1);
    EXPECT_TRUE(pass_runs());
    EXPECT_EQ(std::string(pane.record(ftv::kMainId).text), text_bytes("Z_FaceToViewer 有効"));
    click(refhost::kLeftButtonDown);
    EXPECT_EQ(stored_value(scene->tree().root()), 0);
    EXPECT_FALSE(pass_runs());
    EXPECT_EQ(std::string(pane.record(ftv::kMainId).text), text_bytes("Z_FaceToViewer 無効"));
}

TEST_F(Switch, TheToggleFlipsTheWorkingCopyWithoutRereadingTheScene) {
    store_switch(scene->tree(), 1);
    initialize();                // on
    store_switch(scene->tree(), 0);     // changed behind the plug-in's back
    click(refhost::kLeftButtonDown);
    EXPECT_EQ(stored_value(scene->tree().root()), 0);  // flipped from the working copy, on
}

TEST_F(Switch, OtherMessagesChangeNothing) {
    store_switch(scene->tree(), 1);
    initialize();
    const auto texts = pane.record(ftv::kMainId).texts_set;
    for (std::uint32_t message : {refhost::kRightButtonDown, 0x0200u /* mouse move */, 0x0202u /* left up */}) {
        click(message);
    }
    EXPECT_EQ(stored_value(scene->tree().root()), 1);
    EXPECT_TRUE(pass_runs());
    EXPECT_EQ(pane.record(ftv::kMainId).texts_set, texts);
}

TEST_F(Switch, AClickWithoutAnActiveSceneDoesNothing) {
    initialize();
    host.app().active = nullptr;
    click(refhost::kLeftButtonDown);
    EXPECT_EQ(scene->tree().root().stream(ftv::kMainId), nullptr);
}

TEST_F(Switch, TheClickReachesTheHostOfTheLatestCreateInterfaceEvenWhenItCreatedNothing) {
    initialize();
    refhost::ReferenceHost other;
    refhost::Scene& other_scene = other.new_scene();
    ftv::GUID unknown = ftv::kCreatorInterfaceId;
    unknown.Data1 ^= 1;
    ftv::plugin_interface* out = nullptr;
    shared_module().create_interface(&unknown, 0, &out, &other.app(), nullptr);
    EXPECT_EQ(out, nullptr);
    click(refhost::kLeftButtonDown);
    EXPECT_EQ(other.app().active_scene_requests, 1u);
    EXPECT_EQ(stored_value(other_scene.tree().root()), 1);
    EXPECT_EQ(scene->tree().root().stream(ftv::kMainId), nullptr);
    EXPECT_TRUE(other.ledger().balanced()) << other.ledger().report();
    // Back to this test's host before it ends.
    main = create_component(shared_module(), ftv::kPluginInterfaceId, 0, host);
}

}  // namespace
