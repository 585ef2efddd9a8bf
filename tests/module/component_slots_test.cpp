// The components as the host sees them: operations called by slot number.
#include <gtest/gtest.h>

#include <cstring>

#include "answer_calls.h"
#include "host/interface_ids.h"
#include "module_fixture.h"
#include "slots.h"

namespace {

using namespace testing_support;

struct Kind {
    const char* what;
    const ftv::GUID* id;
    std::uint32_t plugin_id;
    fixed_answers::Component component;
};

const Kind kKinds[] = {
    {"main", &ftv::kPluginInterfaceId, 0x40A000C0u, fixed_answers::Component::main},
    {"attribute", &ftv::kAttributeInterfaceId, 0x40A000C2u, fixed_answers::Component::attribute},
    {"creator", &ftv::kCreatorInterfaceId, 0x40A000C3u, fixed_answers::Component::creator},
};

ftv::plugin_interface* create(const Kind& kind, refhost::ReferenceHost& host) {
    ftv::plugin_interface* component = nullptr;
    shared_module().create_interface(kind.id, 0, &component, &host.app(), nullptr);
    return component;
}

class ComponentSlots : public HostTest {};

TEST_F(ComponentSlots, CountingFromCreationToTheLastRelease) {
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.what);
        void* component = create(kind, host);
        ASSERT_NE(component, nullptr);
        EXPECT_EQ(static_cast<ftv::plugin_interface*>(component)->ref_count(), 1);
        EXPECT_EQ(call_com_slot<std::uint32_t>(component, kAddRef), 2u);
        EXPECT_EQ(call_com_slot<std::uint32_t>(component, kAddRef), 3u);
        EXPECT_EQ(call_com_slot<std::uint32_t>(component, kRelease), 2u);
        EXPECT_EQ(call_com_slot<std::uint32_t>(component, kRelease), 1u);
        EXPECT_EQ(call_com_slot<std::uint32_t>(component, kRelease), 0u);
        // The object is gone now; the sanitizer build catches any later use.
    }
}

// Every operation but the handlers answers as tabled, by slot, without
// reaching the host; every reserved one raises the integer 0.
TEST_F(ComponentSlots, FixedAnswersAndReservedOperations) {
    using fixed_answers::Of;
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.what);
        ComponentPtr component(create(kind, host));
        void* object = component.get();
        const auto calls = host.faults().calls();

        void* untouched = reinterpret_cast<void*>(std::uintptr_t{0xABCD});
        void* out = untouched;
        const ftv::GUID any = ftv::kCreatorInterfaceId;
        EXPECT_EQ(call_com_slot<ftv::HResult>(object, kQueryInterface, &any, &out),
                  static_cast<ftv::HResult>(0x80004002u));
        EXPECT_EQ(out, untouched);
        EXPECT_TRUE(call_slot<bool>(object, kIsUnknownInterface));
        EXPECT_EQ(call_slot<std::uint32_t>(object, plugin_slot(1), static_cast<void*>(nullptr)), kind.plugin_id);

        for (Of of : {Of::plugin, Of::own}) {
            for (int number = 2; number < fixed_answers::first_reserved(kind.component, of); ++number) {
                fixed_answers::Operation operation{};
                if (fixed_answer(kind.component, of, number, operation)) {
                    EXPECT_EQ(wrong_answer(object, operation), "") << (of == Of::own ? "own " : "") << number;
                }
            }
            const int first = fixed_answers::first_reserved(kind.component, of);
            for (int number = first; first != 0 && number <= 200; ++number) {
                const std::size_t slot = of == Of::plugin ? plugin_slot(std::size_t(number)) : own_slot(std::size_t(number));
                try {
                    call_slot<void>(object, slot, static_cast<void*>(nullptr));
                    ADD_FAILURE() << "reserved " << number << " returned";
                } catch (std::int32_t value) {
                    EXPECT_EQ(value, 0) << "reserved " << number;
                }
            }
        }
        EXPECT_EQ(host.faults().calls(), calls) << "none of them reaches the host";
    }
}

TEST_F(ComponentSlots, DestroyWithoutFreeingRunsTheDestructorOnly) {
    // Op 4 with flags 0 leaves the memory to its owner: here a component built
    // in place, as a host that embeds objects would.
    ComponentPtr component(create(kKinds[1], host));
    void* object = component.get();
    EXPECT_EQ(call_slot<void*>(object, kDestroy, std::uint32_t{0}), object);
    // The memory still belongs to the allocation create_interface made.
    ::operator delete(component.release());
}

}  // namespace
