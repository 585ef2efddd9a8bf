// The soak program: a long run of update notifications on a scene that keeps
// changing between them, driven as a host drives the plug-in (ftv-host's
// PluginSession: the module by path, its three components, the stand-in
// pane). Steps, chosen by a seeded generator so that a run repeats:
// billboards and groups added, shapes removed (Scene::detach), parts retagged
// through the attribute dialog or directly, tagged groups built by the group
// creator around selected shapes, groups moved, the switch toggled
// by pane clicks and the settings dialog (confirmed and cancelled), the eye
// moved, and host calls made to throw in the middle of any of them.
//
// After every step: the reference ledger is balanced and the host was not
// misused; the stored switch is the plug-in's working copy (every change is
// written at once); after an update pass with the switch on, every tagged
// part the walk reaches faces the eye, or, tagged 2, stands upright facing the
// eye's horizontal direction (within 1e-5, more where the part's holder is
// turned near 90 degrees: see facing_tolerance; an upright or exact part that
// keeps its transformation, see kept_because, is passed over), and with it off, nothing was
// turned. After a step that threw, the scene is initialised again, as a
// host does on reopening it, so that the working copy is known.
//
//   soak [steps] [seed] [first session]   default 20000 steps, seed 1, from session 0
//   FTV_SOAK_TRACE=1 soak    also prints each step and each failing host call
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

#include "host/plugin_id.h"
#include "judge/plugin_conventions.h"
#include "pane_standin/pane_standin.h"
#include "run/plugin_session.h"
#include "scene/imath_values.h"
#include "split_mix.h"

namespace {

using refhost::Node;

using Rng = testing_support::SplitMix;

// Steps per session. Detached shapes stay allocated (the plug-in may still
// hold views of them) and each pass looks at every shape made, so a long run
// is a series of sessions, each loading the module afresh, to stay linear.
constexpr std::uint64_t kRoundSteps = 20000;

[[noreturn]] void fail(std::uint64_t step, const std::string& what) {
    std::fprintf(stderr, "soak: step %llu (session %llu): %s\n", static_cast<unsigned long long>(step),
                 static_cast<unsigned long long>((step - 1) / kRoundSteps), what.c_str());
    std::exit(1);
}

// Parts in the tree now (detached ones are not), root first.
void parts_below(const Node& part, std::vector<const Node*>& out) {
    out.push_back(&part);
    for (const Node* child = part.first(); child != nullptr; child = child->next())
        if (child->is_part()) parts_below(*child, out);
}

struct Counts {
    std::uint64_t passes = 0, checked = 0, faults = 0, added = 0, removed = 0, retagged = 0, clicks = 0,
                  dialogs = 0, created = 0;
    Counts& operator+=(const Counts& o) {
        passes += o.passes, checked += o.checked, faults += o.faults, added += o.added, removed += o.removed;
        retagged += o.retagged, clicks += o.clicks, dialogs += o.dialogs, created += o.created;
        return *this;
    }
};


class Soak {
public:
    Soak(ftv_cli::PluginSession& session, std::uint64_t seed) : session_(session), rng_(seed) {}

    // Steps numbered from first + 1, for the messages.
    void run(std::uint64_t steps, std::uint64_t first) {
        session_.tree().set_eye({0, 5, 40});
        for (int i = 0; i < 6; ++i) add_billboard();
        session_.initialize();
        working_ = session_.stored_switch_on();
        for (step_ = first + 1; step_ <= first + steps; ++step_) {
            const bool inject = rng_.chance(15);
            if (inject) {
                const std::uint64_t call = 1 + rng_.below(40);
                session_.host().faults().fail_at(call);
                if (std::getenv("FTV_SOAK_TRACE") != nullptr) std::fprintf(stderr, "  host call %llu throws\n", static_cast<unsigned long long>(call));
            }
            bool threw = false;
            try {
                act();
            } catch (const refhost::InjectedFault&) {
                threw = true;
            }
            session_.host().faults().disarm();
            while (queued_.size() > host_scene().queued_answers()) queued_.pop_front();
            check_accounts();
            if (threw) {
                ++counts_.faults;
                session_.initialize();
                working_ = session_.stored_switch_on();
            }
            if (session_.stored_switch_on() != working_) fail(step_, "the stored switch is not the working copy");
        }
    }

    const Counts& counts() const { return counts_; }

private:
    refhost::Scene& host_scene() { return session_.scene(); }
    refhost::SceneTree& scene() { return session_.tree(); }

    const Node& any_part() {
        std::vector<const Node*> parts;
        parts_below(scene().root(), parts);
        return *parts[rng_.below(static_cast<std::uint32_t>(parts.size()))];
    }
    const Node& any_part_but_root() {
        std::vector<const Node*> parts;
        parts_below(scene().root(), parts);
        if (parts.size() == 1) return add_group();
        return *parts[1 + rng_.below(static_cast<std::uint32_t>(parts.size() - 1))];
    }

    float uniform(float low, float high) { return static_cast<float>(rng_.uniform(low, high)); }
    ftv::Vec3 point(float size) { return {uniform(-size, size), uniform(-size, size), uniform(-size, size)}; }

    const Node& add_billboard() {
        const Node& parent = any_part();
        std::optional<std::int32_t> tag;
        if (rng_.chance(80)) tag = rng_.chance(80) ? (rng_.chance(30) ? 2 : 1) : 0;  // 2: upright
        const ftv::Vec3 center = point(8);
        ++counts_.added;
        return refhost::add_billboard(scene(), parent, "B" + std::to_string(++made_), center, tag);
    }

    const Node& add_group() {
        const Node& group = scene().add_part(any_part(), "G" + std::to_string(++made_));
        ++counts_.added;
        return group;
    }

    // Translations, uniform scales and turns about the vertical: what the
    // plug-in's turn can undo exactly.
    void move_group(const Node& group) {
        const float scale = uniform(0.5f, 2.0f);
        const float angle = uniform(-3.1f, 3.1f);
        const ftv::Mat4 m = {{{scale, 0, 0, 0}, {0, scale, 0, 0}, {0, 0, scale, 0}, {0, 0, 0, 1}}};
        const ftv::Mat4 turn = refhost::rotation_between({0, 0, 1}, {std::sin(angle), 0, std::cos(angle)});
        scene().set_transformation(group, refhost::product(refhost::product(m, turn), ftv::translation_matrix(point(10))));
    }

    void act() {
        const std::uint32_t action = rng_.below(12);
        if (std::getenv("FTV_SOAK_TRACE") != nullptr)
            std::fprintf(stderr, "step %llu: action %u, host calls so far %llu\n", static_cast<unsigned long long>(step_),
                         action, static_cast<unsigned long long>(session_.host().faults().calls()));
        switch (action) {
            case 0:
                add_billboard();
                break;
            case 1:
                add_group();
                break;
            case 2: {  // remove a shape and all below it; keep a few parts
                std::vector<const Node*> parts;
                parts_below(scene().root(), parts);
                if (parts.size() > 12) {
                    scene().detach(*parts[1 + rng_.below(static_cast<std::uint32_t>(parts.size() - 1))]);
                    ++counts_.removed;
                }
                break;
            }
            case 3: {  // retag directly: off, on, upright, exact, another value, empty, another plug-in's
                const Node& part = any_part_but_root();
                const std::uint32_t how = rng_.below(7);
                if (how < 5) scene().set_stream(part, ftv::kMainId, {how == 4 ? 7 : static_cast<std::int32_t>(how)});
                if (how == 5) scene().set_stream(part, ftv::kMainId, {});
                if (how == 6) scene().set_stream(part, 0x12345678u, {1});
                ++counts_.retagged;
                break;
            }
            case 4: {  // the attribute dialog, confirmed or cancelled
                refhost::DialogAnswer answer{rng_.chance(70), rng_.chance(60), rng_.chance(40), rng_.chance(40)};
                queued_.push_back(answer);
                session_.attribute(any_part_but_root(), answer);
                ++counts_.retagged;
                ++counts_.dialogs;
                break;
            }
            case 5: {  // a pane click: left toggles, right does nothing
                const bool left = rng_.chance(75);
                session_.click(left ? refhost::kLeftButtonDown : refhost::kRightButtonDown);
                if (left) working_ = !working_;
                ++counts_.clicks;
                break;
            }
            case 6: {  // the settings dialog: loads the stored switch, then confirmed or cancelled
                refhost::DialogAnswer answer{rng_.chance(60), {}};
                if (rng_.chance(70)) answer.checked = rng_.chance(60);
                // A dialog takes the oldest answer queued: one left by a dialog
                // that a failing host call stopped before it ran comes first.
                queued_.push_back(answer);
                const refhost::DialogAnswer taken = queued_.front();
                working_ = session_.stored_switch_on();
                session_.menu(answer);
                if (taken.confirm) working_ = taken.checked.value_or(working_);
                ++counts_.dialogs;
                break;
            }
            case 7:
                move_group(any_part_but_root());
                break;
            case 11: {  // the group creator, around up to two selected shapes
                std::vector<const Node*> parts;
                parts_below(scene().root(), parts);
                std::vector<const Node*> selection;
                for (int i = rng_.below(3); i > 0 && parts.size() > 1; --i) {
                    const Node& part = *parts[1 + rng_.below(static_cast<std::uint32_t>(parts.size() - 1))];
                    const Node* shape = part.first() != nullptr && rng_.chance(50) ? part.last() : &part;
                    if (!shares_branch(selection, *shape)) selection.push_back(shape);
                }
                scene().set_selection(std::move(selection));
                session_.create(point(8), 0, 0);
                scene().set_selection({});
                ++counts_.created;
                break;
            }
            case 8:
                host_scene().sibling_mode = rng_.chance(50) ? refhost::SiblingMode::fresh : refhost::SiblingMode::in_place;
                break;
            case 9:
            case 10:  // the eye moves and the host notifies
                scene().set_eye(point(60));
                notify_and_check();
                break;
        }
    }

    // Whether the shape lies in the branch of one already selected, or holds one.
    static bool shares_branch(const std::vector<const Node*>& selection, const Node& shape) {
        for (const Node* chosen : selection) {
            for (const Node* up = &shape; up != nullptr; up = up->parent())
                if (up == chosen) return true;
            for (const Node* up = chosen; up != nullptr; up = up->parent())
                if (up == &shape) return true;
        }
        return false;
    }

    void notify_and_check() {
        const std::uint64_t turned = session_.turned();
        session_.notify();  // throws through when a host call was made to fail
        ++counts_.passes;
        if (!working_) {
            if (session_.turned() != turned) fail(step_, "parts turned with the switch off");
            return;
        }
        for (const Node* part : refhost::reached_tagged(scene())) {
            if (part->first()->kind != refhost::kMarker || !refhost::kept_because(scene(), *part).empty()) continue;
            const std::string wrong = refhost::faces_eye(scene(), *part, refhost::facing_tolerance(scene(), *part), 1e-2);
            if (!wrong.empty()) fail(step_, wrong);
            ++counts_.checked;
        }
    }

    void check_accounts() {
        refhost::ReferenceHost& host = session_.host();
        if (!host.ledger().balanced()) fail(step_, "ledger: " + host.ledger().report());
        const auto misuse = host.misuse();
        if (!misuse.empty()) fail(step_, "misuse: " + misuse.front());
    }

    ftv_cli::PluginSession& session_;
    Rng rng_;
    Counts counts_;
    std::uint64_t step_ = 0;
    std::uint32_t made_ = 0;
    bool working_ = false;
    std::deque<refhost::DialogAnswer> queued_;  // the dialog answers the scene still holds, oldest first
};

}  // namespace

int main(int argc, char** argv) {
    const std::uint64_t steps = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 20000;
    const std::uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    // A failure names its session; a run can start there to repeat it quickly.
    const std::uint64_t first_session = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 0;
    Counts total;
    std::uint64_t rounds = first_session;
    try {
        for (std::uint64_t done = first_session * kRoundSteps; done < steps; done += kRoundSteps, ++rounds) {
            ftv_cli::PluginSession session(FTV_MODULE_PATH, FTV_PANE_PATH);
            Soak soak(session, seed * 1000003 + rounds);
            soak.run(std::min(kRoundSteps, steps - done), done);
            session.release_components();
            if (!session.host().ledger().balanced())
                fail(done, "ledger after releasing the components: " + session.host().ledger().report());
            total += soak.counts();
        }
    } catch (const refhost::LoadError& error) {
        std::fprintf(stderr, "soak: %s\n", error.what());
        return 1;
    }
    std::printf("soak: %llu steps in %llu sessions (seed %llu): %llu update passes, %llu parts checked facing the eye, "
                "%llu injected host failures survived; %llu shapes added, %llu removed, %llu retags, %llu pane "
                "clicks, %llu dialogs, %llu groups created\n",
                static_cast<unsigned long long>(steps), static_cast<unsigned long long>(rounds),
                static_cast<unsigned long long>(seed), static_cast<unsigned long long>(total.passes),
                static_cast<unsigned long long>(total.checked), static_cast<unsigned long long>(total.faults),
                static_cast<unsigned long long>(total.added), static_cast<unsigned long long>(total.removed),
                static_cast<unsigned long long>(total.retagged), static_cast<unsigned long long>(total.clicks),
                static_cast<unsigned long long>(total.dialogs), static_cast<unsigned long long>(total.created));
    return 0;
}
