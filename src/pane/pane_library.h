// The maker's companion library that draws the plug-in's pane in the host's
// status bar, and the functions the plug-in calls in it.
#pragma once

#include <cstdint>

#include "host/boundary_abi.h"
#include "platform/platform.h"

namespace ftv {

// The library's file name on this platform: Z_PnlHub.dll, or the stand-in
// Z_PnlHub.so where there is no Windows.
constexpr const char* kPaneLibraryFile = FTV_LIBRARY_FILE("Z_PnlHub");

// The click handler the library calls with the pane's mouse messages: window
// handle, message and its two parameters; it answers 0.
using PaneHandler = std::intptr_t(FTV_STDCALL*)(void* window, std::uint32_t message, std::uintptr_t wparam,
                                               std::intptr_t lparam);

// The one message a click handler acts on: the left mouse button pressed
// (WM_LBUTTONDOWN). The library forwards others too.
constexpr std::uint32_t kLeftButtonDown = 0x0201;

// Each takes the plug-in's identifier first; their results are ignored.
using PaneAddFunction = std::int32_t(FTV_STDCALL*)(std::uint32_t id, PaneHandler handler);
using PaneSetTextFunction = std::int32_t(FTV_STDCALL*)(std::uint32_t id, const char* text);
using PaneSetIconFunction = std::int32_t(FTV_STDCALL*)(std::uint32_t id, void* icon);

constexpr const char* kPaneAdd = "ZPH_AddPain";
constexpr const char* kPaneSetText = "ZPH_SetText";
constexpr const char* kPaneSetIcon = "ZPH_SetIcon";

}  // namespace ftv
