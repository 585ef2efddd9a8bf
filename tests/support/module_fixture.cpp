#include "module_fixture.h"

#include "host/interface_ids.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace testing_support {

namespace {

void* loaded_pane_library() {
    const std::string file = refhost::library_file("Z_PnlHub");
#ifdef _WIN32
    return reinterpret_cast<void*>(GetModuleHandleA(file.c_str()));
#else
    // Looked up among the loaded libraries only; the reference is given back at once.
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle != nullptr) dlclose(handle);
    return handle;
#endif
}

void* find(void* library, const char* name) {
#ifdef _WIN32
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
#else
    return dlsym(library, name);
#endif
}

}  // namespace

PaneAccess pane_access() {
    PaneAccess access;
    if (void* library = loaded_pane_library()) {
        access.get = reinterpret_cast<refhost::PaneGetFunction>(find(library, refhost::kPaneGet));
        access.send = reinterpret_cast<refhost::PaneSendFunction>(find(library, refhost::kPaneSend));
        access.reset = reinterpret_cast<refhost::PaneResetFunction>(find(library, refhost::kPaneReset));
    }
    return access;
}

refhost::PaneRecord PaneAccess::record(std::uint32_t id) const {
    refhost::PaneRecord record{};
    if (get != nullptr) get(id, &record);
    return record;
}

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
