// The pane's icon as the module holds it (an .ico file), drawn in SVG pixel
// by pixel so that a picture of the status bar shows the real artwork.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ftv_cli {

struct IconImage {
    int width = 0, height = 0;
    // Row by row from the top; no value where the mask makes it transparent.
    std::vector<std::optional<std::uint32_t>> pixels;  // 0xRRGGBB
};

// The first image of an .ico file with 1, 4 or 8 bits per pixel, as the
// module's icons are; nothing when the bytes are not such a file.
std::optional<IconImage> decode_ico(const std::string& ico);

// The image as an SVG group scaled into a size by size square at (x, y): one
// rectangle per run of like pixels in a row. Empty when it cannot be decoded.
std::string icon_svg(const std::string& ico, double x, double y, double size);

}  // namespace ftv_cli
