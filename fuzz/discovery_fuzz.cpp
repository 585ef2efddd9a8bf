// The ten exported functions with arbitrary 16-byte identifiers and indexes,
// on an English or a Japanese host. Whatever the question, the module answers
// without a fault, agrees with itself (a kind it does not offer has no name,
// no id, is not resident and makes no component; a name is a terminated
// string) and leaves the reference ledger balanced.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "host/interface_ids.h"
#include "host/plugin_interface.h"
#include "host_objects/reference_host.h"
#include "module_fuzz.h"

namespace {

using fuzz_support::fail;
using fuzz_support::module;

bool known(const ftv::GUID& id) {
    for (const ftv::GUID& kind : {ftv::kPluginInterfaceId, ftv::kAttributeInterfaceId, ftv::kCreatorInterfaceId})
        if (ftv::same_interface(&id, kind)) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ftv::GUID id{};
    std::int32_t index = 0;
    std::uint8_t flags = 0;
    std::memcpy(&id, data, std::min(size, sizeof id));
    if (size > sizeof id) std::memcpy(&index, data + sizeof id, std::min(size - sizeof id, sizeof index));
    if (size > sizeof id + sizeof index) flags = data[sizeof id + sizeof index];

    refhost::LoadedModule& m = module();
    refhost::ReferenceHost host;
    host.app().japanese = (flags & 1) != 0;
    ftv::HostApp* app = (flags & 2) != 0 ? nullptr : &host.app();  // some hosts pass none to the queries

    const std::int32_t count = m.has_interface(&id, &host.app());
    if (count != (known(id) ? 1 : 0)) fail("has_interface: " + std::to_string(count));
    const char* name = m.get_name(&id, index, app != nullptr ? app : &host.app(), nullptr);
    if (name != nullptr) {
        const std::size_t length = std::strlen(name);  // a read past its end is reported by the sanitizer
        if (length == 0) fail("get_name: an empty name");
    }
    const std::uint32_t plugin_id = m.get_id(&id, index, nullptr);
    const bool resident = m.is_resident(&id, index, nullptr);
    if (count == 0 && (name != nullptr || plugin_id != 0 || resident)) fail("a kind not offered answers the queries");
    if (name != nullptr && plugin_id == 0) fail("a named component without an id");

    ftv::PluginInfo info{};
    if (m.get_info(&info, app, nullptr) != &info) fail("get_info: not the record passed");
    for (const char* text : {info.name, info.maker, info.description})
        if (text != nullptr) static_cast<void>(std::strlen(text));
    m.get_interface_version(nullptr);
    m.get_text_encoding(app, nullptr);
    m.get_exception(app, nullptr);
    m.has_separate_interfaces(nullptr);

    ftv::plugin_interface* component = nullptr;
    m.create_interface(&id, index, &component, &host.app(), nullptr);
    if (count == 0 && component != nullptr) fail("create_interface: a component of a kind not offered");
    if (component != nullptr) component->Release();

    if (!host.ledger().balanced()) fail("ledger: " + host.ledger().report());
    return 0;
}
