// Loading and unloading the module, with or without the companion pane
// library on the search path (this file is built into one test program of
// each kind; FTV_EXPECT_PANE says which).
#include <gtest/gtest.h>

#include "host/interface_ids.h"
#include "module_fixture.h"

namespace {

using namespace testing_support;

constexpr bool kPaneOnPath = FTV_EXPECT_PANE != 0;

TEST(Loading, LoadsAndAnswersWhetherOrNotThePaneLibraryIsFound) {
    const std::string pane = refhost::library_file("Z_PnlHub");
    ASSERT_FALSE(refhost::library_is_loaded(pane));
    {
        refhost::LoadedModule module(module_path());
        EXPECT_EQ(refhost::library_is_loaded(pane), kPaneOnPath);
        EXPECT_EQ(module.has_interface(&ftv::kPluginInterfaceId, nullptr), 1);
        EXPECT_EQ(module.get_interface_version(nullptr), 25);
    }
    // Unloading the module unloads the pane library it loaded.
    EXPECT_FALSE(refhost::library_is_loaded(pane));
}

TEST(Loading, EachLoadStartsAfresh) {
    for (int round = 0; round < 3; ++round) {
        refhost::LoadedModule module(module_path());
        EXPECT_EQ(module.get_id(&ftv::kCreatorInterfaceId, 0, nullptr), 0x40A000C3u);
    }
}

}  // namespace
