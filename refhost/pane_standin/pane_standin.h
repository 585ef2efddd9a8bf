// The stand-in for the maker's companion pane library, Z_PnlHub. It accepts
// the three calls the plug-in makes, keeps per plug-in id what the pane last
// showed, and lets the host deliver a mouse message to the registered click
// handler. The host reaches it through the Test functions below, looked up by
// name in the loaded library.
#pragma once

#include <cstdint>

#include "pane/pane_library.h"

namespace refhost {

struct PaneRecord {
    std::uint32_t id;
    ftv::PaneHandler handler;  // the last handler registered, or null
    std::uint32_t registrations;
    std::uint32_t texts_set;
    std::uint32_t icons_set;
    char text[128];  // the last text shown, NUL-terminated (cut at 127 bytes)
    void* icon;      // the last icon handle received
};

// Fills record for the pane of that id; false when the id never called.
using PaneGetFunction = bool (*)(std::uint32_t id, PaneRecord* record);
// Delivers a mouse message to the pane's handler; false when none registered.
using PaneSendFunction = bool (*)(std::uint32_t id, std::uint32_t message, std::intptr_t* result);
// Forgets what every pane showed; the registered handlers stay.
using PaneResetFunction = void (*)();

constexpr const char* kPaneGet = "ZPH_Test_Get";
constexpr const char* kPaneSend = "ZPH_Test_Send";
constexpr const char* kPaneReset = "ZPH_Test_Reset";

using ftv::kLeftButtonDown;
constexpr std::uint32_t kRightButtonDown = 0x0204;

}  // namespace refhost
