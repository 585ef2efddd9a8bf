// What the status pane shows: the exact text and the right icon for each state.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "host/interface_ids.h"
#include "module_fixture.h"
#include "scenes.h"
#include "text_bytes.h"

#ifdef _WIN32
#include <windows.h>
#else
#include "platform/embedded_icons.h"
#endif

namespace {

using namespace testing_support;

#ifdef _WIN32
// Pixel classes of a 16x16 icon: opaque pure black or white, opaque grey, transparent.
struct IconLook {
    int size = 0;
    int black_or_white = 0;
    int grey = 0;
    int transparent = 0;
};

IconLook look_of(void* handle) {
    IconLook look;
    ICONINFO info{};
    if (!GetIconInfo(static_cast<HICON>(handle), &info)) return look;
    BITMAP bitmap{};
    GetObject(info.hbmColor, sizeof bitmap, &bitmap);
    look.size = bitmap.bmWidth;
    const int w = bitmap.bmWidth, h = bitmap.bmHeight;
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = w;
    format.bmiHeader.biHeight = -h;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> colour(std::size_t(w * h)), mask(std::size_t(w * h));
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, info.hbmColor, 0, UINT(h), colour.data(), &format, DIB_RGB_COLORS);
    GetDIBits(dc, info.hbmMask, 0, UINT(h), mask.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    for (std::size_t i = 0; i < colour.size(); ++i) {
        if ((mask[i] & 0xFFFFFF) != 0) {
            ++look.transparent;
            continue;
        }
        const std::uint32_t rgb = colour[i] & 0xFFFFFF;
        const int r = rgb >> 16, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
        if (rgb == 0 || rgb == 0xFFFFFF) {
            ++look.black_or_white;
        } else if (r == g && g == b) {
            ++look.grey;
        }
    }
    return look;
}

void expect_icon(void* handle, bool on) {
    const IconLook look = look_of(handle);
    EXPECT_EQ(look.size, 16);
    EXPECT_GT(look.transparent, 16 * 16 / 8) << "a transparent background";
    if (on) {
        EXPECT_GT(look.black_or_white, 40) << "black and white eyes";
    } else {
        EXPECT_EQ(look.black_or_white, 0) << "greys only";
        EXPECT_GT(look.grey, 40);
    }
}
#else
// The handle is the embedded icon: it must be the resource file, byte for byte.
void expect_icon(void* handle, bool on) {
    ASSERT_NE(handle, nullptr);
    const auto* icon = static_cast<const ftv::platform::EmbeddedIcon*>(handle);
    EXPECT_EQ(icon->resource_id, on ? 110 : 112);
    std::ifstream file(std::string(FTV_RESOURCE_DIR) + (on ? "/eyes_on.ico" : "/eyes_off.ico"), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), icon->size);
    EXPECT_EQ(bytes, std::string(reinterpret_cast<const char*>(icon->ico), icon->size));
}
#endif

class Pane : public HostTest {};

TEST_F(Pane, ShowsTheExactTextAndTheRightIconForEachState) {
    auto main = create_component(shared_module(), ftv::kPluginInterfaceId, 0, host);
    PaneAccess pane = pane_access();
    ASSERT_TRUE(pane.present());
    for (std::int32_t stored : {1, 0, 3}) {
        SCOPED_TRACE(stored);
        refhost::Scene& scene = host.new_scene();
        store_switch(scene, stored);
        bool flag = false;
        main->initialization(flag, &scene);
        const refhost::PaneRecord record = pane.record(ftv::kMainId);
        const bool on = stored != 0;
        EXPECT_EQ(std::string(record.text), text_bytes(on ? "Z_FaceToViewer 有効" : "Z_FaceToViewer 無効"));
        expect_icon(record.icon, on);
    }
}

}  // namespace
