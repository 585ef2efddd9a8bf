// Every host call of every command made to throw in turn: the exception
// reaches the caller unchanged and every counted object is given back.
#include <gtest/gtest.h>

#include <functional>

#include "host/interface_ids.h"
#include "module_fixture.h"
#include "scenes.h"
#include "slots.h"

namespace {

using namespace testing_support;

// A value no host operation would throw by itself.
struct SweepFault {
    std::uint64_t call;
};

// What one run of a command needs; made afresh for every run.
struct SweepRun {
    refhost::ReferenceHost host;
    ComponentPtr main;
    ComponentPtr command;  // the attribute or creator component, when the sweep needs one
    refhost::Scene* scene = nullptr;
    ftv::HostShape* shape = nullptr;  // the shape lent to the attribute command
};

using Prepare = std::function<void(SweepRun&)>;
using Command = std::function<void(SweepRun&)>;

void prepare_billboards(SweepRun& run) {
    run.main = create_component(shared_module(), ftv::kPluginInterfaceId, 0, run.host);
    run.scene = &run.host.new_scene();
    refhost::Scene& scene = *run.scene;
    store_switch(scene.tree(), 1);
    add_billboard(scene.tree(), scene.tree().root(), "A", {1, 2, 3});
    const refhost::Node& group = scene.tree().add_part(scene.tree().root(), "Group");
    add_billboard(scene.tree(), group, "B", {0, 0, 1});
    add_billboard(scene.tree(), group, "Upright", {2, 1, -1}, 2);
    add_billboard(scene.tree(), group, "Exact", {-2, 1, 1}, 3);
    add_billboard(scene.tree(), scene.tree().root(), "Zero", {0, 0, 0}, 0);
    scene.tree().add_mesh(scene.tree().root(), "Mesh", {});
    bool flag = false;
    run.main->initialization(flag, run.scene);
}

void click(std::uint32_t message) {
    std::intptr_t answer = 0;
    ASSERT_TRUE(pane_access().send(ftv::kMainId, message, &answer));
}

// Counts the command's host calls, then makes each of them throw in turn.
void sweep(const Prepare& prepare, const Command& command) {
    std::uint64_t calls = 0;
    {
        SweepRun run;
        prepare(run);
        const std::uint64_t before = run.host.faults().calls();
        command(run);
        calls = run.host.faults().calls() - before;
        run.main.reset();
        run.command.reset();
        EXPECT_TRUE(run.host.ledger().balanced()) << run.host.ledger().report();
    }
    ASSERT_GT(calls, 0u) << "the command calls the host: there is something to sweep";
    for (std::uint64_t k = 1; k <= calls; ++k) {
        SCOPED_TRACE("host call " + std::to_string(k) + " of " + std::to_string(calls) + " throws");
        SweepRun run;
        prepare(run);
        run.host.faults().fail_at(k, SweepFault{k * 1000 + 7});
        try {
            command(run);
            ADD_FAILURE() << "the command returned";
        } catch (const SweepFault& fault) {
            EXPECT_EQ(fault.call, k * 1000 + 7);
        }
        run.main.reset();
        run.command.reset();
        EXPECT_TRUE(run.host.ledger().balanced()) << run.host.ledger().report();
    }
}

struct SweepCase {
    std::string name;
    Prepare prepare;
    Command command;
};

void PrintTo(const SweepCase& c, std::ostream* out) { *out << c.name; }

void notify(SweepRun& run) {
    bool flag = false;
    run.main->update_notification(flag, run.scene);
}

void initialize(SweepRun& run) {
    bool flag = false;
    run.main->initialization(flag, run.scene);
}

void attribute_command(SweepRun& run) {
    call_slot<bool, ftv::HostShape*, void*>(run.command.get(), own_slot(1), run.shape, nullptr);
}

void creation_command(SweepRun& run) {
    call_slot<bool, ftv::HostScene*, void*>(run.command.get(), own_slot(1), run.scene, nullptr);
}

std::vector<SweepCase> sweep_cases() {
    std::vector<SweepCase> cases;
    for (auto mode : {refhost::SiblingMode::fresh, refhost::SiblingMode::in_place}) {
        const auto prepare = [mode](SweepRun& run) {
            prepare_billboards(run);
            run.scene->sibling_mode = mode;
        };
        cases.push_back({mode == refhost::SiblingMode::fresh ? "UpdateFreshSiblings" : "UpdateSiblingsInPlace",
                         prepare, notify});
    }
    cases.push_back({"Initialisation", prepare_billboards, initialize});
    for (bool confirm : {true, false}) {
        const auto prepare = [confirm](SweepRun& run) {
            prepare_billboards(run);
            run.scene->queue_answer({confirm, false});
        };
        cases.push_back({confirm ? "SettingsConfirmed" : "SettingsCancelled", prepare,
                         [](SweepRun& run) { run.main->menu_command(0, run.scene); }});
    }
    cases.push_back({"LeftClick", prepare_billboards, [](SweepRun&) { click(refhost::kLeftButtonDown); }});
    cases.push_back({"RightClick", prepare_billboards, [](SweepRun&) { click(refhost::kRightButtonDown); }});
    for (bool with_stream : {true, false}) {
        for (bool confirm : {true, false}) {
            const auto prepare = [=](SweepRun& run) {
                run.command = create_component(shared_module(), ftv::kAttributeInterfaceId, 0, run.host);
                run.scene = &run.host.new_scene();
                const refhost::Node& part = run.scene->tree().add_part(run.scene->tree().root(), "Part");
                if (with_stream) run.scene->tree().set_stream(part, ftv::kMainId, {5});
                run.shape = run.scene->scene_owned_view(part);
                run.scene->queue_answer({confirm, true, true});
            };
            cases.push_back({std::string("Attribute") + (with_stream ? "WithStream" : "WithoutStream") +
                                 (confirm ? "Confirmed" : "Cancelled"),
                             prepare, attribute_command});
        }
    }
    // Several shapes from two parts, the group's own ancestors among them;
    // nothing; the root first.
    const struct {
        const char* name;
        std::vector<std::string> selection;
    } selections[] = {
        {"CreationOfSeveralShapes", {"/Outer/Holder/Q", "/Outer/Holder", "/Other/S", "/Outer", "/Outer/Holder/P"}},
        {"CreationOfNothingSelected", {}},
        {"CreationWithTheRootFirst", {"/", "/Other/S"}},
    };
    for (const auto& [name, selection] : selections) {
        const auto prepare = [selection = selection](SweepRun& run) {
            run.command = create_component(shared_module(), ftv::kCreatorInterfaceId, 0, run.host);
            run.scene = &run.host.new_scene();
            refhost::Scene& scene = *run.scene;
            const refhost::Node& holder = scene.tree().add_part(scene.tree().add_part(scene.tree().root(), "Outer"), "Holder");
            scene.tree().add_part(holder, "P");
            scene.tree().add_mesh(holder, "Q", {});
            scene.tree().add_mesh(scene.tree().add_part(scene.tree().root(), "Other"), "S", {});
            std::vector<const refhost::Node*> shapes;
            for (const std::string& path : selection) shapes.push_back(scene.tree().find(path));
            scene.tree().set_selection(std::move(shapes));
            const ftv::Vec3 position = {1, 2, 3};
            call_slot<bool, const ftv::Vec3*, std::uint32_t, std::uint32_t, void*>(
                run.command.get(), plugin_slot(54), &position, 1u, 2u, nullptr);
        };
        cases.push_back({name, prepare, creation_command});
    }
    return cases;
}

class FaultSweep : public ::testing::TestWithParam<SweepCase> {};

TEST_P(FaultSweep, EachHostCallThrowingReachesTheCallerWithNothingHeld) { sweep(GetParam().prepare, GetParam().command); }

INSTANTIATE_TEST_SUITE_P(Commands, FaultSweep, ::testing::ValuesIn(sweep_cases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
