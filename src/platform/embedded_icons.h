// Where the system has no resource section, the pane icons are compiled into
// the module from the same .ico files (see cmake/EmbedIcons.cmake).
#pragma once

#include <cstddef>

namespace ftv::platform {

struct EmbeddedIcon {
    int resource_id;
    const unsigned char* ico;  // the whole .ico file
    std::size_t size;
};

// Null when there is no icon with that identifier.
const EmbeddedIcon* find_embedded_icon(int resource_id);

}  // namespace ftv::platform
