#include "module_fixture.h"

#include "host/interface_ids.h"

namespace testing_support {

void ComponentDeleter::operator()(ftv::plugin_interface* component) const { component->Release(); }

ComponentPtr create_component(refhost::LoadedModule& module, const ftv::GUID& kind, std::int32_t index,
                              refhost::ReferenceHost& host) {
    ftv::plugin_interface* component = nullptr;
    module.create_interface(&kind, index, &component, &host.app(), nullptr);
    return ComponentPtr(component);
}

void HostTest::TearDown() {
    EXPECT_TRUE(host.ledger().balanced()) << host.ledger().report();
    const auto misuse = host.misuse();
    EXPECT_TRUE(misuse.empty()) << misuse.front();
}

}  // namespace testing_support
