// What the tests that drive the plug-in through its exports share: the built
// module, the stand-in pane library it loaded, and a fixture whose reference
// host must end every test balanced.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

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

}  // namespace testing_support
