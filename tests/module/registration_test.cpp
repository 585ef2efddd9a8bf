// Registration of the pane's click handler: once per module load, whatever
// the number of initialisations; and what the pane shows when the companion
// library lacks its icon function. Each test loads the module afresh.
#include <gtest/gtest.h>

#include "host/interface_ids.h"
#include "module_fixture.h"
#include "scenes.h"
#include "text_bytes.h"

namespace {

using namespace testing_support;

class Registration : public HostTest {};

TEST_F(Registration, OncePerModuleLoad) {
    for (int load = 0; load < 2; ++load) {
        SCOPED_TRACE(load);
        refhost::LoadedModule module(module_path());
        PaneAccess pane = pane_access();
        ASSERT_TRUE(pane.present());
        auto main = create_component(module, ftv::kPluginInterfaceId, 0, host);
        EXPECT_EQ(pane.record(ftv::kMainId).registrations, 0u) << "not before the first initialisation";
        for (int init = 0; init < 3; ++init) {
            bool flag = false;
            main->initialization(flag, &host.new_scene());
        }
        EXPECT_EQ(pane.record(ftv::kMainId).registrations, 1u);
        EXPECT_NE(pane.record(ftv::kMainId).handler, nullptr);
    }
}

TEST_F(Registration, WithoutTheIconFunctionTheTextIsStillShown) {
    refhost::LoadedModule module(module_path());
    PaneAccess pane = pane_access();
    ASSERT_TRUE(pane.present());
    auto main = create_component(module, ftv::kPluginInterfaceId, 0, host);
    refhost::Scene& scene = host.new_scene();
    store_switch(scene.tree(), 1);
    bool flag = false;
    main->initialization(flag, &scene);
    const refhost::PaneRecord record = pane.record(ftv::kMainId);
    EXPECT_EQ(std::string(record.text), text_bytes("Z_FaceToViewer 有効"));
    EXPECT_EQ(record.icons_set, FTV_PANE_HAS_ICON ? 1u : 0u);
}

}  // namespace
