// The components as the host sees them: operations called by slot number.
#include <gtest/gtest.h>

#include <cstring>

#include "host/interface_ids.h"
#include "module_fixture.h"
#include "slots.h"

namespace {

using namespace testing_support;

struct Kind {
    const char* what;
    const ftv::GUID* id;
    std::uint32_t plugin_id;
    std::size_t first_reserved_own;  // 0: the kind has no operations of its own
};

const Kind kKinds[] = {
    {"main", &ftv::kPluginInterfaceId, 0x40A000C0u, 0},
    {"attribute", &ftv::kAttributeInterfaceId, 0x40A000C2u, 20},
    {"creator", &ftv::kCreatorInterfaceId, 0x40A000C3u, 13},
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

TEST_F(ComponentSlots, FixedAnswersOfEveryComponent) {
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.what);
        ComponentPtr component(create(kind, host));
        void* object = component.get();

        void* untouched = reinterpret_cast<void*>(std::uintptr_t{0xABCD});
        void* out = untouched;
        const ftv::GUID any = ftv::kCreatorInterfaceId;
        EXPECT_EQ(call_com_slot<ftv::HResult>(object, kQueryInterface, &any, &out),
                  static_cast<ftv::HResult>(0x80004002u));
        EXPECT_EQ(out, untouched);

        EXPECT_TRUE(call_slot<bool>(object, kIsUnknownInterface));
        EXPECT_EQ(call_slot<std::uint32_t>(object, plugin_slot(1), static_cast<void*>(nullptr)), kind.plugin_id);
        EXPECT_EQ(call_slot<std::int32_t>(object, plugin_slot(32), static_cast<void*>(nullptr)), 36088);
        // The generic operations G1 to G8 (49 to 56): the creator routes them to
        // its own operations; the others keep the defaults, true from G5 on.
        if (kind.first_reserved_own != 13) {
            void* none = nullptr;
            const ftv::Vec3 position{1, 2, 3};
            for (std::size_t op = 49; op <= 52; ++op) EXPECT_FALSE(call_slot<bool>(object, plugin_slot(op), none)) << op;
            EXPECT_TRUE((call_slot<bool, std::uint32_t, std::uint32_t, void*>(object, plugin_slot(53), 1, 2, none)));
            EXPECT_TRUE((call_slot<bool, const ftv::Vec3*, std::uint32_t, std::uint32_t, void*>(
                object, plugin_slot(54), &position, 1, 2, none)));
            EXPECT_TRUE((call_slot<bool, std::uint32_t, std::uint32_t, std::uint32_t, void*>(object, plugin_slot(55), 1,
                                                                                             2, 3, none)));
            EXPECT_TRUE((call_slot<bool, std::uint32_t, std::uint32_t, void*>(object, plugin_slot(56), 1, 2, none)));
        }
        // A placeholder holds its slot and answers 0.
        EXPECT_EQ(call_slot<std::int32_t>(object, plugin_slot(2), static_cast<void*>(nullptr)), 0);
        EXPECT_EQ(call_slot<std::int32_t>(object, plugin_slot(89), static_cast<void*>(nullptr)), 0);
    }
}

TEST_F(ComponentSlots, ReservedOperationsRaiseZero) {
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.what);
        ComponentPtr component(create(kind, host));
        std::vector<std::size_t> slots = {plugin_slot(90), plugin_slot(145), plugin_slot(200)};
        if (kind.first_reserved_own != 0) {
            slots.push_back(own_slot(kind.first_reserved_own));
            slots.push_back(own_slot(200));
        }
        for (std::size_t slot : slots) {
            try {
                call_slot<void>(component.get(), slot, static_cast<void*>(nullptr));
                ADD_FAILURE() << "slot " << slot << " returned";
            } catch (std::int32_t value) {
                EXPECT_EQ(value, 0) << "slot " << slot;
            }
        }
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
