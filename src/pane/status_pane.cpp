#include "pane/status_pane.h"

#include "host/plugin_id.h"
#include "resources/module_resources.h"

namespace ftv {

namespace {

constexpr char kOnText[] = "Z_FaceToViewer \x97\x4c\x8c\xf8";   // "Z_FaceToViewer 有効"
constexpr char kOffText[] = "Z_FaceToViewer \x96\xb3\x8c\xf8";  // "Z_FaceToViewer 無効"
constexpr int kIconSize = 16;

template <class Function>
Function pane_function(const StatusPane& pane, const char* name) {
    return reinterpret_cast<Function>(platform::find_function(pane.library, name));
}

}  // namespace

void register_pane_handler(const StatusPane& pane, PaneHandler handler) {
    if (pane.library == nullptr) return;
    if (auto add = pane_function<PaneAddFunction>(pane, kPaneAdd)) add(kMainId, handler);
}

void show_on_pane(const StatusPane& pane, bool on) {
    if (pane.library == nullptr) return;
    if (auto set_text = pane_function<PaneSetTextFunction>(pane, kPaneSetText)) {
        set_text(kMainId, on ? kOnText : kOffText);
    }
    if (auto set_icon = pane_function<PaneSetIconFunction>(pane, kPaneSetIcon)) {
        set_icon(kMainId, platform::load_icon(pane.icons, on ? resources::kIconOn : resources::kIconOff, kIconSize));
    }
}

}  // namespace ftv
