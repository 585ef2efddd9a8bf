// The plug-in as a host runs it: the module loaded by path, its three
// components created through create_interface, the stand-in pane library
// loaded first so that the module finds it, and the reference host that
// answers every call.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "host/attribute_interface.h"
#include "host/creator_interface.h"
#include "host/plugin_interface.h"
#include "host_objects/module_loader.h"
#include "host_objects/reference_host.h"
#include "pane_standin/pane_access.h"

namespace ftv_cli {

struct PaneState {
    bool present = false;  // the pane library was found and the plug-in registered
    std::string text;      // as UTF-8
    bool icon = false;     // an icon was shown
    std::string icon_ico;  // that icon's .ico file, as the module holds it
    std::uint32_t texts_set = 0;
};

class PluginSession {
public:
    // Throws refhost::LoadError when the module or the pane library cannot be loaded.
    PluginSession(const std::string& module_path, const std::string& pane_path);
    ~PluginSession();
    PluginSession(const PluginSession&) = delete;
    PluginSession& operator=(const PluginSession&) = delete;

    refhost::ReferenceHost& host() { return *host_; }
    refhost::Scene& scene() { return *scene_; }
    refhost::SceneTree& tree() { return scene_->tree(); }

    void initialize();
    void notify();
    void menu(refhost::DialogAnswer answer);
    // False when the plug-in registered no click handler.
    bool click(std::uint32_t message);
    void attribute(const refhost::Node& shape, refhost::DialogAnswer answer);
    void create(const ftv::Vec3& position, std::uint32_t first, std::uint32_t second);
    // How deep the group creator's events may have nested the scene: the
    // depth last counted (-1 before any count) and the groups made since.
    struct Nesting {
        int counted = -1;
        int groups_since = 0;
    } nesting;

    PaneState pane() const;
    // Parts the plug-in turned and parts it visited (it looks up the stream
    // of each part it reaches, Scene::stream_lookups), summed over update passes.
    std::uint64_t turned() const { return turned_; }
    std::uint64_t visited() const { return visited_; }
    std::uint32_t passes() const { return passes_; }
    // The switch as the scene stores it: the first value of the root part's stream.
    bool stored_switch_on() const;
    // The plug-in's working copy of the switch, which the update pass obeys
    // and which can differ from the stored one (the attribute dialog on the
    // root part writes the same stream). Learnt by a notification on a scene
    // of its own holding one tagged part: whether that part turns. Not
    // counted among the passes.
    bool working_switch_on();

    // Releases the components; afterwards the reference ledger must balance.
    void release_components();

private:
    template <class Interface>
    Interface* create(const ftv::GUID& kind);

    void* pane_library_ = nullptr;
    std::unique_ptr<refhost::LoadedModule> module_;
    std::unique_ptr<refhost::ReferenceHost> host_;
    refhost::Scene* scene_ = nullptr;
    refhost::Scene* probe_scene_ = nullptr;
    ftv::plugin_interface* main_ = nullptr;
    ftv::attribute_interface* attribute_ = nullptr;
    ftv::creator_interface* creator_ = nullptr;
    refhost::PaneAccess pane_;
    std::uint64_t turned_ = 0;
    std::uint64_t visited_ = 0;
    std::uint32_t passes_ = 0;
};

}  // namespace ftv_cli
