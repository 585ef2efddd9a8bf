// The reference host: the application object the plug-in is given, its
// scenes, and the accounts (ledger, fault injection) they share.
#pragma once

#include <memory>
#include <vector>

#include "host/host_app.h"
#include "host_objects/counted.h"
#include "host_objects/host_scene.h"

namespace refhost {

class App final : public Counted<ftv::HostApp> {
public:
    explicit App(Accounts& accounts) : Counted(accounts, "HostApp") {}

    bool ui_is_japanese(void* = nullptr) override;
    ftv::HostScene* active_scene(void* = nullptr) override;

    bool japanese = false;
    Scene* active = nullptr;
    // How often the plug-in asked; lets a test see which host it reached.
    std::uint32_t active_scene_requests = 0;
};

class ReferenceHost {
public:
    ReferenceHost() : app_(accounts_) {}

    App& app() { return app_; }
    Ledger& ledger() { return accounts_.ledger; }
    Faults& faults() { return accounts_.faults; }
    Accounts& accounts() { return accounts_; }

    // A new, empty scene (the root part only), made the active one.
    Scene& new_scene();
    // Every misuse recorded by any scene, each line prefixed with the scene's number.
    std::vector<std::string> misuse() const;

private:
    Accounts accounts_;
    App app_;
    std::vector<std::unique_ptr<Scene>> scenes_;
};

}  // namespace refhost
