// Every host call of every command made to throw in turn: the exception
// reaches the caller unchanged and every counted object is given back.
#include <gtest/gtest.h>

#include <functional>

#include "host/interface_ids.h"
#include "module_fixture.h"
#include "scenes.h"

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
    refhost::Scene* scene = nullptr;
};

using Prepare = std::function<void(SweepRun&)>;
using Command = std::function<void(SweepRun&)>;

void prepare_billboards(SweepRun& run) {
    run.main = create_component(shared_module(), ftv::kPluginInterfaceId, 0, run.host);
    run.scene = &run.host.new_scene();
    refhost::Scene& scene = *run.scene;
    store_switch(scene, 1);
    add_billboard(scene, scene.root(), "A", {1, 2, 3});
    refhost::Node& group = scene.add_part(scene.root(), "Group");
    add_billboard(scene, group, "B", {0, 0, 1});
    add_billboard(scene, scene.root(), "Zero", {0, 0, 0}, 0);
    scene.add_mesh(scene.root(), "Mesh", {});
    bool flag = false;
    run.main->initialization(flag, run.scene);
}

void click(std::uint32_t message) {
    std::intptr_t answer = 0;
    ASSERT_TRUE(pane_access().send(ftv::kMainId, message, &answer));
}

// Counts the command's host calls, then makes each of them throw in turn.
void sweep(const Prepare& prepare, const Command& command, std::uint64_t at_least) {
    std::uint64_t calls = 0;
    {
        SweepRun run;
        prepare(run);
        const std::uint64_t before = run.host.faults().calls();
        command(run);
        calls = run.host.faults().calls() - before;
        run.main.reset();
        EXPECT_TRUE(run.host.ledger().balanced()) << run.host.ledger().report();
    }
    EXPECT_GE(calls, at_least);
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
        EXPECT_TRUE(run.host.ledger().balanced()) << run.host.ledger().report();
    }
}

TEST(FaultSweep, UpdateNotification) {
    for (auto mode : {refhost::SiblingMode::fresh, refhost::SiblingMode::in_place}) {
        sweep(
            [mode](SweepRun& run) {
                prepare_billboards(run);
                run.scene->sibling_mode = mode;
            },
            [](SweepRun& run) {
                bool flag = false;
                run.main->update_notification(flag, run.scene);
            },
            30);
    }
}

TEST(FaultSweep, Initialisation) {
    sweep(prepare_billboards,
          [](SweepRun& run) {
              bool flag = false;
              run.main->initialization(flag, run.scene);
          },
          4);
}

TEST(FaultSweep, SettingsDialogConfirmedAndCancelled) {
    for (bool confirm : {true, false}) {
        sweep(
            [confirm](SweepRun& run) {
                prepare_billboards(run);
                run.scene->queue_answer({confirm, false});
            },
            [](SweepRun& run) { run.main->menu_command(0, run.scene); }, confirm ? 12 : 9);
    }
}

TEST(FaultSweep, ClicksOnThePane) {
    for (std::uint32_t message : {refhost::kLeftButtonDown, refhost::kRightButtonDown}) {
        sweep(prepare_billboards, [message](SweepRun&) { click(message); },
              message == refhost::kLeftButtonDown ? 4 : 1);
    }
}

}  // namespace
