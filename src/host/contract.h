// The facts the host application and the plug-in agree on, and that scenes and
// our own files carry: the names of the components, the key under which the
// plug-in keeps its data, what a part's tag means, the pivot marker's name and
// the keys of ftv-host's glTF extras.
//
// Built-in types only, and no includes: every build takes this header as it
// is, the freestanding platform-ABI host (which has no C++ library) included.
#pragma once

namespace ftv {

// A 16-byte interface identifier, field by field in the system's layout.
struct InterfaceId {
    unsigned int data1;
    unsigned short data2, data3;
    unsigned char data4[8];
};
static_assert(sizeof(unsigned int) == 4 && sizeof(unsigned short) == 2 && sizeof(InterfaceId) == 16,
              "the identifier's fields have the system's sizes");

// The host's names for the three kinds of component.
constexpr InterfaceId kPluginInterface = {0x50E47D69, 0x8922, 0x11D1, {0x9A, 0x00, 0x00, 0xC0, 0x4F, 0xCC, 0x9C, 0x26}};
constexpr InterfaceId kAttributeInterface = {0x50E47D67, 0x8922, 0x11D1, {0x9A, 0x00, 0x00, 0xC0, 0x4F, 0xCC, 0x9C, 0x26}};
constexpr InterfaceId kCreatorInterface = {0x50E47D60, 0x8922, 0x11D1, {0x9A, 0x00, 0x00, 0xC0, 0x4F, 0xCC, 0x9C, 0x26}};

// The component identifiers. The resident component's is also the key of
// every stream the plug-in reads or writes (the switch on the root part, the
// tag on each part) and of its pane.
constexpr unsigned int kMainId = 0x40A000C0u;
constexpr unsigned int kAttributeId = 0x40A000C2u;
constexpr unsigned int kCreatorId = 0x40A000C3u;

// A part's tag, the first integer of its stream: what the attribute dialog
// and the group creator store. Any other non-zero value, such as one stored
// by hand, is a plain tag.
constexpr int kUntagged = 0;
constexpr int kTagged = 1;
// Turned about the world's vertical only. A module built before upright parts
// reads it as a plain tag and turns the part fully: scenes stay readable both
// ways.
constexpr int kUprightTag = 2;
// Turned to face the eye exactly, whatever the frame the part sits in. An
// older module reads it as a plain tag too.
constexpr int kExactTag = 3;

// The name of a tagged part's pivot marker, its first child, byte for byte.
constexpr char kMarkerName[] = "#center";

// ftv-host's glTF files: the keys of a node's extras that hold its tag (on the
// root's node, the stored switch), the camera's target (on the camera's node),
// and a part's matrix as written where glTF cannot hold it as a matrix.
constexpr char kExtrasTagKey[] = "Z_FaceToViewer";
constexpr char kExtrasTargetKey[] = "Z_FaceToViewer_target";
constexpr char kExtrasMatrixKey[] = "Z_FaceToViewer_matrix";

}  // namespace ftv
