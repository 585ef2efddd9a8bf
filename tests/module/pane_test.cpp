// What the status pane shows: the exact text and the right icon for each state.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "host/interface_ids.h"
#include "module_fixture.h"
#include "resources/module_resources.h"
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
// The icon's 16x16 pixels as 0x00RRGGBB, transparent ones as 0xFF000000.
std::vector<std::uint32_t> pixels_of(void* handle) {
    ICONINFO info{};
    if (handle == nullptr || !GetIconInfo(static_cast<HICON>(handle), &info)) return {};
    BITMAP bitmap{};
    GetObject(info.hbmColor, sizeof bitmap, &bitmap);
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
        colour[i] = (mask[i] & 0xFFFFFF) != 0 ? 0xFF000000u : colour[i] & 0xFFFFFFu;
    }
    return colour;
}

// The spread between the darkest and the brightest opaque pixel.
int contrast(const std::vector<std::uint32_t>& pixels) {
    int lo = 255 * 3, hi = 0;
    for (std::uint32_t p : pixels) {
        if (p == 0xFF000000u) continue;
        const int sum = int(p >> 16) + int((p >> 8) & 0xFF) + int(p & 0xFF);
        lo = std::min(lo, sum);
        hi = std::max(hi, sum);
    }
    return hi - lo;
}

// The pane got the module's icon for the state, loaded at 16x16: the eyes in
// black and white when on, the greyed pair when off.
void expect_icon(void* handle, bool on) {
    HMODULE module = GetModuleHandleA("Z_FaceToViewer.dll");
    auto load = [module](int id) {
        return LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, LR_LOADMAP3DCOLORS);
    };
    const auto got = pixels_of(handle);
    const auto eyes_on = pixels_of(load(ftv::resources::kIconOn));
    const auto eyes_off = pixels_of(load(ftv::resources::kIconOff));
    ASSERT_EQ(got.size(), 16u * 16u);
    EXPECT_NE(eyes_on, eyes_off);
    EXPECT_GT(contrast(eyes_on), contrast(eyes_off));
    EXPECT_EQ(got, on ? eyes_on : eyes_off);
    const auto transparent = std::count(got.begin(), got.end(), 0xFF000000u);
    EXPECT_GT(transparent, 16 * 16 / 8) << "a transparent background";
    EXPECT_LT(transparent, 16 * 16 - 16 * 16 / 4) << "and the eyes on it";
}
#else
// The handle is the embedded icon: it must be the resource file, byte for byte.
void expect_icon(void* handle, bool on) {
    ASSERT_NE(handle, nullptr);
    const auto* icon = static_cast<const ftv::platform::EmbeddedIcon*>(handle);
    EXPECT_EQ(icon->resource_id, on ? ftv::resources::kIconOn : ftv::resources::kIconOff);
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
        store_switch(scene.tree(), stored);
        bool flag = false;
        main->initialization(flag, &scene);
        const refhost::PaneRecord record = pane.record(ftv::kMainId);
        const bool on = stored != 0;
        EXPECT_EQ(std::string(record.text), text_bytes(on ? "Z_FaceToViewer 有効" : "Z_FaceToViewer 無効"));
        expect_icon(record.icon, on);
    }
}

}  // namespace
