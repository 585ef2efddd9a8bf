// Component identifiers and the key of every plug-in stream.
#pragma once

#include <cstdint>

#include "host/contract.h"

namespace ftv {

using PluginId = std::uint32_t;

// The component identifiers and the stream key are the contract's
// (kMainId, kAttributeId, kCreatorId).
static_assert(sizeof(kMainId) == sizeof(PluginId), "identifiers are 32 bits");

// The SDK version every component reports; the module's info record carries it too.
constexpr std::int32_t kSdkVersion = 36088;

}  // namespace ftv
