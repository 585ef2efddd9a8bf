// Loading and unloading the module, with or without the companion pane
// library on the search path (this file is built into one test program of
// each kind; FTV_EXPECT_PANE says which).
#include <gtest/gtest.h>

#include "host/interface_ids.h"
#include "module_fixture.h"
#include "pane/pane_library.h"
#include "platform/platform.h"

namespace {

using namespace testing_support;

constexpr bool kPaneOnPath = FTV_EXPECT_PANE != 0;

bool pane_is_loaded() { return ftv::platform::loaded_library(ftv::kPaneLibraryFile) != nullptr; }

TEST(Loading, LoadsAndAnswersWhetherOrNotThePaneLibraryIsFound) {
    ASSERT_FALSE(pane_is_loaded());
    {
        refhost::LoadedModule module(module_path());
        EXPECT_EQ(pane_is_loaded(), kPaneOnPath);
        EXPECT_EQ(module.has_interface(&ftv::kPluginInterfaceId, nullptr), 1);
        EXPECT_EQ(module.get_interface_version(nullptr), 25);
    }
    // Unloading the module unloads the pane library it loaded.
    EXPECT_FALSE(pane_is_loaded());
}

TEST(Loading, EachLoadStartsAfresh) {
    for (int round = 0; round < 3; ++round) {
        refhost::LoadedModule module(module_path());
        EXPECT_EQ(module.get_id(&ftv::kCreatorInterfaceId, 0, nullptr), 0x40A000C3u);
    }
}

}  // namespace
