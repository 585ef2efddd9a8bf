// Conventions shared by every host object.
//
// Host objects are counted like IUnknown. An object that a host operation hands
// out carries one reference for the plug-in, which gives it back with Release
// as soon as it is done, on every path (see HostRef). The plug-in never adds a
// reference. Never released: the scene or shape the host lends to a handler or
// command, the HostApp given to create_interface, and the scene-owned objects
// from HostScene::begin_part, HostScene::create_shape_at and
// HostShape::part_object.
//
// Every operation takes a trailing reserved pointer, passed as null. A result
// documented as "or null" may be a null object. Texts are NUL-terminated code
// page 932 bytes.
#pragma once

#include <cstdint>

#include "geometry/primitives.h"
#include "host/boundary_abi.h"
#include "host/com.h"
#include "host/plugin_id.h"

namespace ftv {

// An opaque value by which the host names a shape or a part; only ever passed
// back to the host.
using HostHandle = std::uint32_t;

class HostApp;
class HostCamera;
class HostCenterObject;
class HostDialog;
class HostPartObject;
class HostScene;
class HostShape;
class HostStream;

}  // namespace ftv
