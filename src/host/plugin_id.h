// Component identifiers and the key of every plug-in stream.
#pragma once

#include <cstdint>

namespace ftv {

using PluginId = std::uint32_t;

// The resident component. Also the key of every stream the plug-in reads or
// writes (the switch on the root part, the tag on each part) and of its pane.
constexpr PluginId kMainId = 0x40A000C0u;
constexpr PluginId kAttributeId = 0x40A000C2u;
constexpr PluginId kCreatorId = 0x40A000C3u;

// The SDK version every component reports; the module's info record carries it too.
constexpr std::int32_t kSdkVersion = 36088;

}  // namespace ftv
