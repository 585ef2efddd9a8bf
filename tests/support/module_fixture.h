// What the tests that drive the plug-in through its exports share: the built
// module, the stand-in pane library it loaded, and a fixture whose reference
// host must end every test balanced.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/interface_ids.h"
#include "host/plugin_interface.h"
#include "host_objects/module_loader.h"
#include "host_objects/reference_host.h"
#include "pane_standin/pane_access.h"

namespace testing_support {

#ifdef FTV_MODULE_PATH
// The module this test program drives (FTV_MODULE_PATH, set per program).
inline std::string module_path() { return FTV_MODULE_PATH; }

// The module, loaded once for the whole test program.
inline refhost::LoadedModule& shared_module() {
    static refhost::LoadedModule module(module_path());
    return module;
}
#endif

using refhost::PaneAccess;
using refhost::pane_access;

// A component created through the module's create_interface, released at the
// end unless the test hands its reference back itself.
struct ComponentDeleter {
    void operator()(ftv::plugin_interface* component) const;
};
using ComponentPtr = std::unique_ptr<ftv::plugin_interface, ComponentDeleter>;
ComponentPtr create_component(refhost::LoadedModule& module, const ftv::GUID& kind, std::int32_t index,
                              refhost::ReferenceHost& host);

// Every test that uses the reference host ends with a balanced ledger and
// without misuse of the host.
class HostTest : public ::testing::Test {
protected:
    void TearDown() override;
    refhost::ReferenceHost host;
};

#ifdef FTV_MODULE_PATH
// A component of one kind, made by the module for the fixture's host, and a
// new scene of that host: what every test of one component starts from.
class ComponentTest : public HostTest {
protected:
    explicit ComponentTest(const ftv::GUID& kind) : kind_(kind) {}
    void SetUp() override {
        component = create_component(shared_module(), kind_, 0, host);
        ASSERT_NE(component, nullptr);
        scene = &host.new_scene();
    }

    ComponentPtr component;
    refhost::Scene* scene = nullptr;

private:
    const ftv::GUID& kind_;
};

// The resident component, with the two notifications the host sends it.
class MainComponentTest : public ComponentTest {
protected:
    MainComponentTest() : ComponentTest(ftv::kPluginInterfaceId) {}
    // Loads the switch from the scene, as the host does when it opens one.
    void initialize() {
        bool flag = true;
        main->initialization(flag, scene);
        EXPECT_TRUE(flag) << "the result flag is left as the host passed it";
    }
    void notify() {
        bool flag = true;
        main->update_notification(flag, scene);
        EXPECT_TRUE(flag) << "the result flag is left as the host passed it";
    }

    ComponentPtr& main = component;
};
#endif

}  // namespace testing_support
