#include "run/plugin_session.h"

#include <vector>

#include "host/interface_ids.h"
#include "host/plugin_id.h"
#include "host_objects/scene_views.h"
#include "judge/code_page_932.h"
#include "judge/plugin_conventions.h"
#include "platform/embedded_icons.h"
#include "platform/platform.h"

namespace ftv_cli {

PluginSession::PluginSession(const std::string& module_path, const std::string& pane_path) {
    // Loaded by full path first: the module's own load of the pane library by
    // its file name then finds this copy, whatever the library search path.
    pane_library_ = ftv::platform::load_library(pane_path.c_str());
    if (pane_library_ == nullptr)
        throw refhost::LoadError("cannot load the pane library: " + std::string(ftv::platform::load_error()));
    if (!refhost::pane_access(pane_library_).present())
        throw refhost::LoadError(pane_path + " is not the stand-in pane library");
    module_ = std::make_unique<refhost::LoadedModule>(module_path);
    // Reached as the module loaded it, among the loaded libraries by file name.
    pane_ = refhost::pane_access();
    if (!pane_.present()) throw refhost::LoadError("the stand-in pane library is not loaded by its file name");
    host_ = std::make_unique<refhost::ReferenceHost>();
    scene_ = &host_->new_scene();
    main_ = create<ftv::plugin_interface>(ftv::kPluginInterfaceId);
    attribute_ = create<ftv::attribute_interface>(ftv::kAttributeInterfaceId);
    creator_ = create<ftv::creator_interface>(ftv::kCreatorInterfaceId);
}

PluginSession::~PluginSession() {
    release_components();
    host_.reset();
    module_.reset();
    ftv::platform::unload_library(pane_library_);
}

template <class Interface>
Interface* PluginSession::create(const ftv::GUID& kind) {
    ftv::plugin_interface* component = nullptr;
    module_->create_interface(&kind, 0, &component, &host_->app(), nullptr);
    if (component == nullptr) throw refhost::LoadError(module_->path() + " made no component of a kind it announces");
    // The module hands out the component as the interface the kind names.
    return static_cast<Interface*>(component);
}

void PluginSession::release_components() {
    for (ftv::plugin_interface** component :
         {&main_, reinterpret_cast<ftv::plugin_interface**>(&attribute_), reinterpret_cast<ftv::plugin_interface**>(&creator_)}) {
        if (*component != nullptr) (*component)->Release();
        *component = nullptr;
    }
}

void PluginSession::initialize() {
    bool result = true;
    main_->initialization(result, scene_);
}

void PluginSession::notify() {
    const refhost::SceneTree& tree = scene_->tree();
    std::vector<std::uint32_t> before;
    for (std::uint32_t id = 1; id <= tree.node_count(); ++id) before.push_back(tree.node_by_id(id)->transformations_set);
    const std::uint64_t lookups = scene_->stream_lookups();
    bool result = true;
    main_->update_notification(result, scene_);
    visited_ += scene_->stream_lookups() - lookups;
    for (std::uint32_t id = 1; id <= before.size(); ++id)
        if (tree.node_by_id(id)->transformations_set != before[id - 1]) ++turned_;
    ++passes_;
}

void PluginSession::menu(refhost::DialogAnswer answer) {
    scene_->queue_answer(answer);
    main_->menu_command(0, scene_);
}

bool PluginSession::click(std::uint32_t message) {
    std::intptr_t result = 0;
    return pane_.send(ftv::kMainId, message, &result);
}

void PluginSession::attribute(const refhost::Node& shape, refhost::DialogAnswer answer) {
    scene_->queue_answer(answer);
    // Lent for the call: the host keeps the reference and gives it back after.
    // It takes its reference back whether the command returns or a host call
    // made inside it throws.
    struct GiveBack {
        ftv::HostShape* view;
        ~GiveBack() { view->Release(); }
    } lent{scene_->shape_view(&shape)->hand_out()};
    attribute_->attribute_command(lent.view);
}

void PluginSession::create(const ftv::Vec3& position, std::uint32_t first, std::uint32_t second) {
    creator_->input(position, first, second);
    creator_->creation_command(scene_);
}

PaneState PluginSession::pane() const {
    PaneState state;
    refhost::PaneRecord record{};
    if (!pane_.get(ftv::kMainId, &record)) return state;
    state.present = true;
    // In the plug-in's code page; shown as UTF-8, or as it is when it is not code page 932.
    state.text = refhost::utf8_from_cp932(record.text).value_or(record.text);
    state.icon = record.icon != nullptr;
    // On this system an icon handle is the module's embedded icon itself.
    if (const auto* icon = static_cast<const ftv::platform::EmbeddedIcon*>(record.icon)) {
        state.icon_ico.assign(reinterpret_cast<const char*>(icon->ico), icon->size);
    }
    state.texts_set = record.texts_set;
    return state;
}

bool PluginSession::stored_switch_on() const { return refhost::stored_switch_on(scene_->tree()); }

bool PluginSession::working_switch_on() {
    if (probe_scene_ == nullptr) {
        probe_scene_ = &host_->new_scene();
        host_->app().active = scene_;  // the user's scene stays the active one
    }
    refhost::SceneTree& probe_tree = probe_scene_->tree();
    const refhost::Node& probe = refhost::add_billboard(probe_tree, probe_tree.root(), "Probe", {0, 0, 0});
    probe_tree.set_eye({0, 0, 10});
    bool result = true;
    main_->update_notification(result, probe_scene_);
    const bool turned = probe.transformations_set != 0;
    probe_tree.detach(probe);
    return turned;
}

}  // namespace ftv_cli
