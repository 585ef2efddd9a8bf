// The update pass runs on every redraw: the plug-in must allocate nothing
// while it runs. This program replaces the global operator new and malloc with
// counting ones; the module links the shared C++ runtime, so its allocations
// reach them too. Each one is charged by its call stack: to the module when
// the first caller outside the C and C++ runtimes lies inside the loaded
// module (so a std::string the module builds through the runtime is its own),
// otherwise to the others (the reference host, this test).
#include <dlfcn.h>
#include <link.h>
#include <unwind.h>

#include <cstring>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "host/interface_ids.h"
#include "module_fixture.h"
#include "scenes.h"

extern "C" void* __libc_malloc(std::size_t size);
extern "C" void* __libc_calloc(std::size_t count, std::size_t size);
extern "C" void* __libc_realloc(void* pointer, std::size_t size);
extern "C" void __libc_free(void* pointer);

namespace {

struct Range {
    std::uintptr_t begin = 0, end = 0;
    bool holds(std::uintptr_t at) const { return at >= begin && at < end; }
};

struct Tally {
    bool counting = false;
    bool inside = false;   // within count(): the unwinder's own needs are not counted
    Range module;          // the module's loaded segments
    Range runtime[4];      // libstdc++, libc, libm, libgcc_s
    std::uint64_t by_module = 0;
    std::uint64_t by_others = 0;
};
Tally tally;

bool in_runtime(std::uintptr_t at) {
    for (const Range& r : tally.runtime) {
        if (r.holds(at)) return true;
    }
    return false;
}

struct Walk {
    std::uintptr_t caller;  // the return address of the allocation function
    bool reached = false;
    bool module = false;
};

// From the allocation function's caller on, the first return address outside
// the runtimes: inside the module or not.
_Unwind_Reason_Code charge_frame(_Unwind_Context* context, void* data) {
    auto& walk = *static_cast<Walk*>(data);
    const std::uintptr_t at = _Unwind_GetIP(context);
    if (!walk.reached) walk.reached = at == walk.caller;
    if (!walk.reached || in_runtime(at)) return _URC_NO_REASON;
    walk.module = tally.module.holds(at);
    return _URC_END_OF_STACK;
}

void count(void* caller) {
    if (!tally.counting || tally.inside) return;
    tally.inside = true;
    Walk walk{reinterpret_cast<std::uintptr_t>(caller)};
    walk.module = tally.module.holds(walk.caller);
    if (!walk.module) _Unwind_Backtrace(charge_frame, &walk);
    const bool module = walk.module;
    ++(module ? tally.by_module : tally.by_others);
    tally.inside = false;
}

void* allocate(std::size_t size, void* caller) {
    count(caller);
    if (void* p = __libc_malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}

}  // namespace

// Every form the module or the host can reach.
void* operator new(std::size_t size) { return allocate(size, __builtin_return_address(0)); }
void* operator new[](std::size_t size) { return allocate(size, __builtin_return_address(0)); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    count(__builtin_return_address(0));
    return __libc_malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    count(__builtin_return_address(0));
    return __libc_malloc(size == 0 ? 1 : size);
}
void operator delete(void* p) noexcept { __libc_free(p); }
void operator delete[](void* p) noexcept { __libc_free(p); }
void operator delete(void* p, std::size_t) noexcept { __libc_free(p); }
void operator delete[](void* p, std::size_t) noexcept { __libc_free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { __libc_free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { __libc_free(p); }

extern "C" void* malloc(std::size_t size) {
    count(__builtin_return_address(0));
    return __libc_malloc(size);
}
extern "C" void* calloc(std::size_t n, std::size_t size) {
    count(__builtin_return_address(0));
    return __libc_calloc(n, size);
}
extern "C" void* realloc(void* p, std::size_t size) {
    count(__builtin_return_address(0));
    return __libc_realloc(p, size);
}
extern "C" void free(void* p) { __libc_free(p); }

namespace {

using namespace testing_support;
using refhost::Node;
using refhost::Scene;
using refhost::SiblingMode;

// The address range of the loaded segments of the object at base, or of the
// object whose file name contains name.
Range loaded_range(std::uintptr_t base, const char* name) {
    struct Search {
        std::uintptr_t base;
        const char* name;
        Range range{UINTPTR_MAX, 0};
    } search{base, name};
    dl_iterate_phdr(
        [](dl_phdr_info* object, std::size_t, void* data) {
            auto& s = *static_cast<Search*>(data);
            const bool wanted = s.name != nullptr ? std::strstr(object->dlpi_name, s.name) != nullptr
                                                  : object->dlpi_addr == s.base;
            if (!wanted) return 0;
            for (int i = 0; i < object->dlpi_phnum; ++i) {
                const ElfW(Phdr)& segment = object->dlpi_phdr[i];
                if (segment.p_type != PT_LOAD) continue;
                const std::uintptr_t start = object->dlpi_addr + segment.p_vaddr;
                if (start < s.range.begin) s.range.begin = start;
                if (start + segment.p_memsz > s.range.end) s.range.end = start + segment.p_memsz;
            }
            return 1;
        },
        &search);
    return search.range;
}

// Where the module and the runtimes lie, and the counting functions.
void find_ranges() {
    Dl_info info{};
    ASSERT_NE(dladdr(reinterpret_cast<const void*>(shared_module().create_interface), &info), 0);
    tally.module = loaded_range(reinterpret_cast<std::uintptr_t>(info.dli_fbase), nullptr);
    ASSERT_LT(tally.module.begin, tally.module.end);
    const char* runtimes[] = {"libstdc++.so", "libc.so", "libm.so", "libgcc_s.so"};
    for (int i = 0; i < 4; ++i) tally.runtime[i] = loaded_range(0, runtimes[i]);
    ASSERT_LT(tally.runtime[0].begin, tally.runtime[0].end) << "the C++ runtime is a shared library";
}

struct Counts {
    std::uint64_t by_module;
    std::uint64_t by_others;
};

template <class Action>
Counts allocations_during(Action action) {
    tally.by_module = tally.by_others = 0;
    tally.counting = true;
    action();
    tally.counting = false;
    return {tally.by_module, tally.by_others};
}

class Allocations : public MainComponentTest, public ::testing::WithParamInterface<SiblingMode> {
protected:
    void SetUp() override {
        find_ranges();
        MainComponentTest::SetUp();
        scene->sibling_mode = GetParam();
    }

    // Every path of the walk: tagged parts at the top and deep inside groups,
    // upright ones among them, an untagged group with meshes, a part switched
    // off by its tag, a tagged part without its marker, an empty part.
    void build_scene() {
        store_switch(scene->tree(), 1);
        for (int i = 0; i < 20; ++i) add_billboard(scene->tree(), scene->tree().root(), "Top", {float(i), 1, -2});
        const Node& outer = scene->tree().add_part(scene->tree().root(), "Outer");
        scene->tree().set_transformation(outer, ftv::translation_matrix({3, 0, -7}));
        const Node& inner = scene->tree().add_part(outer, "Inner");
        scene->tree().set_transformation(inner, ftv::translation_matrix({-1, 4, 2}));
        for (int i = 0; i < 20; ++i) add_billboard(scene->tree(), inner, "Deep", {1, float(i), 0});
        for (int i = 0; i < 20; ++i) add_billboard(scene->tree(), inner, "Upright", {float(i), 0, 2}, 2);
        for (int i = 0; i < 20; ++i) add_billboard(scene->tree(), inner, "Exact", {float(i), 2, 1}, 3);
        scene->tree().add_mesh(outer, "Loose mesh", refhost::Mesh{});
        add_billboard(scene->tree(), outer, "Off", {0, 0, 0}, 0);
        const Node& unmarked = scene->tree().add_part(outer, "Unmarked");
        scene->tree().set_stream(unmarked, ftv::kMainId, {1});
        scene->tree().add_mesh(unmarked, "Mesh", refhost::Mesh{});
        scene->tree().add_part(scene->tree().root(), "Empty");
        scene->tree().set_eye({4, 9, 40});
        initialize();
    }
};

TEST_P(Allocations, AreToldApartByTheModuleThatMadeThem) {
    // Creating a component allocates it inside the module: the counter must
    // see that, or a zero below would prove nothing.
    const Counts created = allocations_during([&] {
        ComponentPtr another = create_component(shared_module(), ftv::kPluginInterfaceId, 0, host);
        ASSERT_NE(another, nullptr);
    });
    EXPECT_GE(created.by_module, 1u);
    // And a host allocation is not charged to the module.
    const Counts hosts = allocations_during([&] { scene->tree().add_part(scene->tree().root(), "Made by the host"); });
    EXPECT_EQ(hosts.by_module, 0u);
    EXPECT_GE(hosts.by_others, 1u);
}

TEST_P(Allocations, TheModuleAllocatesNothingDuringAPass) {
    build_scene();
    // The first pass: the host makes the part objects and pool entries it
    // hands out for the first time; the module makes nothing.
    const Counts first = allocations_during([&] { notify(); });
    EXPECT_EQ(first.by_module, 0u);
    RecordProperty("host_allocations_first_pass", static_cast<int>(first.by_others));
    std::printf("first pass: %llu allocations by the module, %llu by the host\n",
                static_cast<unsigned long long>(first.by_module), static_cast<unsigned long long>(first.by_others));
    EXPECT_EQ(scene->tree().find("/Outer/Inner")->first()->transformations_set, 1u) << "the pass reached the nested parts";
    EXPECT_EQ(scene->tree().find("/Outer/Inner/Upright")->transformations_set, 1u) << "and the upright ones";

    // In steady state nothing in the process allocates during a pass, the
    // module's calls into the C++ runtime included.
    for (int run = 0; run < 3; ++run) {
        const Counts steady = allocations_during([&] { notify(); });
        EXPECT_EQ(steady.by_module, 0u) << "pass " << run + 2;
        EXPECT_EQ(steady.by_others, 0u) << "pass " << run + 2;
    }
    EXPECT_EQ(scene->tree().find("/Top")->transformations_set, 4u);
}

TEST_P(Allocations, TheModuleAllocatesNothingWhenSwitchedOff) {
    build_scene();
    store_switch(scene->tree(), 0);
    initialize();
    const Counts off = allocations_during([&] { notify(); });
    EXPECT_EQ(off.by_module, 0u);
    EXPECT_EQ(off.by_others, 0u);
    EXPECT_EQ(scene->tree().find("/Top")->transformations_set, 0u);
}

INSTANTIATE_TEST_SUITE_P(BothSiblingForms, Allocations, ::testing::Values(SiblingMode::fresh, SiblingMode::in_place),
                         [](const auto& info) { return info.param == SiblingMode::fresh ? "fresh" : "in_place"; });

}  // namespace
