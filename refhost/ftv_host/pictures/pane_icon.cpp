#include "pictures/pane_icon.h"

#include <cstdio>
#include <cstring>

namespace ftv_cli {

namespace {

// Little-endian fields of the file, or 0 past its end (the size checks below
// then refuse the image).
std::uint32_t field(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        if (at + static_cast<std::size_t>(i) >= bytes.size()) return 0;
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

}  // namespace

std::optional<IconImage> decode_ico(const std::string& ico) {
    // Directory: reserved 0, type 1 (icon), count; then entries of 16 bytes.
    if (field(ico, 0, 2) != 0 || field(ico, 2, 2) != 1 || field(ico, 4, 2) < 1) return std::nullopt;
    const std::size_t image = field(ico, 6 + 12, 4);
    const std::uint32_t header = field(ico, image, 4);
    const auto width = static_cast<std::int32_t>(field(ico, image + 4, 4));
    const auto height = static_cast<std::int32_t>(field(ico, image + 8, 4)) / 2;  // colours, then the mask
    const std::uint32_t bits = field(ico, image + 14, 2);
    const std::uint32_t compression = field(ico, image + 16, 4);
    if (header < 40 || width <= 0 || width > 256 || height <= 0 || height > 256 || compression != 0) return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8) return std::nullopt;
    std::uint32_t colours = field(ico, image + 32, 4);
    if (colours == 0 || colours > (1u << bits)) colours = 1u << bits;
    const std::size_t palette = image + header;
    const std::size_t xor_rows = palette + 4 * colours;
    const std::size_t xor_stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
    const std::size_t and_rows = xor_rows + xor_stride * static_cast<std::size_t>(height);
    const std::size_t and_stride = (static_cast<std::size_t>(width) + 31) / 32 * 4;
    if (and_rows + and_stride * static_cast<std::size_t>(height) > ico.size()) return std::nullopt;

    IconImage out;
    out.width = width;
    out.height = height;
    for (int row = 0; row < height; ++row) {
        const std::size_t stored = static_cast<std::size_t>(height - 1 - row);  // bottom row first
        for (int column = 0; column < width; ++column) {
            const auto c = static_cast<std::size_t>(column);
            const auto mask = static_cast<unsigned char>(ico[and_rows + stored * and_stride + c / 8]);
            if (mask & (0x80 >> (c % 8))) {
                out.pixels.emplace_back();
                continue;
            }
            const std::size_t bit = c * bits;
            const auto byte = static_cast<unsigned char>(ico[xor_rows + stored * xor_stride + bit / 8]);
            const std::uint32_t index = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
            if (index >= colours) return std::nullopt;
            // Palette entries are blue, green, red, reserved.
            const std::size_t entry = palette + 4 * index;
            out.pixels.emplace_back(field(ico, entry + 2, 1) << 16 | field(ico, entry + 1, 1) << 8 | field(ico, entry, 1));
        }
    }
    return out;
}

std::string icon_svg(const std::string& ico, double x, double y, double size) {
    const auto image = decode_ico(ico);
    if (!image) return "";
    char text[160];
    std::snprintf(text, sizeof text,
                  "  <svg x=\"%.2f\" y=\"%.2f\" width=\"%.2f\" height=\"%.2f\" viewBox=\"0 0 %d %d\" "
                  "shape-rendering=\"crispEdges\">\n",
                  x, y, size, size, image->width, image->height);
    std::string out = text;
    for (int row = 0; row < image->height; ++row) {
        const auto* pixels = &image->pixels[static_cast<std::size_t>(row * image->width)];
        for (int start = 0; start < image->width;) {
            int end = start + 1;
            while (end < image->width && pixels[end] == pixels[start]) ++end;
            if (pixels[start]) {
                std::snprintf(text, sizeof text, "    <rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"1\" fill=\"#%06X\"/>\n",
                              start, row, end - start, static_cast<unsigned>(*pixels[start]));
                out += text;
            }
            start = end;
        }
    }
    return out + "  </svg>\n";
}

}  // namespace ftv_cli
