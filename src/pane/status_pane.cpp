#include "pane/status_pane.h"

#include "behaviour/on_off_switch.h"
#include "host/entry_frame.h"
#include "host/host_app.h"
#include "host/host_ref.h"
#include "host/host_scene.h"
#include "host/plugin_id.h"
#include "module/module_state.h"

namespace ftv {

namespace {

constexpr char kOnText[] = "Z_FaceToViewer \x97\x4c\x8c\xf8";   // "Z_FaceToViewer 有効"
constexpr char kOffText[] = "Z_FaceToViewer \x96\xb3\x8c\xf8";  // "Z_FaceToViewer 無効"
constexpr int kOnIcon = 110;
constexpr int kOffIcon = 112;
constexpr int kIconSize = 16;
constexpr std::uint32_t kLeftButtonDown = 0x0201;

template <class Function>
Function pane_function(const ModuleState& state, const char* name) {
    return reinterpret_cast<Function>(platform::find_function(state.pane_library, name));
}

}  // namespace

void register_pane(const ModuleState& state) {
    if (state.pane_library == nullptr) return;
    if (auto add = pane_function<PaneAddFunction>(state, kPaneAdd)) add(kMainId, &pane_click_handler);
}

void show_state(const ModuleState& state) {
    if (state.pane_library == nullptr) return;
    const bool on = state.enabled != 0;
    if (auto set_text = pane_function<PaneSetTextFunction>(state, kPaneSetText)) {
        set_text(kMainId, on ? kOnText : kOffText);
    }
    if (auto set_icon = pane_function<PaneSetIconFunction>(state, kPaneSetIcon)) {
        set_icon(kMainId, platform::load_icon(state.instance, on ? kOnIcon : kOffIcon, kIconSize));
    }
}

std::intptr_t FTV_WINAPI pane_click_handler(void*, std::uint32_t message, std::uintptr_t, std::intptr_t) {
    const EntryFrame frame;
    ModuleState& state = module_state();
    if (state.host == nullptr) return 0;
    const auto scene = adopt(state.host->active_scene());
    // Without an active scene there is nowhere to store the switch: the click does nothing.
    if (message == kLeftButtonDown && scene) toggle_switch(*scene.get(), state);
    return 0;
}

}  // namespace ftv
