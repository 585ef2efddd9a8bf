// Without the companion pane library the switch still works: the dialog
// stores it and the update pass follows it.
#include <gtest/gtest.h>

#include "host/interface_ids.h"
#include "module_fixture.h"
#include "scenes.h"

namespace {

using namespace testing_support;

class WithoutPane : public HostTest {};

TEST_F(WithoutPane, TheSwitchWorksWithoutThePane) {
    refhost::LoadedModule module(module_path());
    EXPECT_FALSE(pane_access().present());
    auto main = create_component(module, ftv::kPluginInterfaceId, 0, host);
    refhost::Scene& scene = host.new_scene();
    const refhost::Node& billboard = add_billboard(scene.tree(), scene.tree().root(), "B", {0, 0, 0});
    bool flag = false;
    main->initialization(flag, &scene);
    scene.queue_answer({true, true});
    main->menu_command(0, &scene);
    EXPECT_EQ(stored_value(scene.tree().root()), 1);
    main->update_notification(flag, &scene);
    EXPECT_EQ(billboard.transformations_set, 1u);
}

}  // namespace
