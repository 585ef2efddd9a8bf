// The version record of the Windows DLL, read back as Windows reads it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "resources/module_resources.h"

namespace {

std::string query_text(const std::vector<char>& data, const std::string& name) {
    void* value = nullptr;
    UINT length = 0;
    const std::string path = "\\StringFileInfo\\041104b0\\" + name;
    if (!VerQueryValueA(data.data(), path.c_str(), &value, &length) || length == 0) return "(missing)";
    return std::string(static_cast<const char*>(value));
}

TEST(VersionResource, NamesAndVersionsOfTheModule) {
    const char* path = FTV_SHIPPED_MODULE;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    ASSERT_GT(size, 0u) << "no version record in " << path;
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, data.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    // The project's version, as the build hands it to the code and the resources.
    namespace r = ftv::resources;
    const DWORD high = DWORD(r::kVersionMajor) << 16 | DWORD(r::kVersionMinor);
    const DWORD low = DWORD(r::kVersionPatch) << 16 | DWORD(r::kVersionBuild);
    EXPECT_EQ(fixed->dwFileVersionMS, high);
    EXPECT_EQ(fixed->dwFileVersionLS, low);
    EXPECT_EQ(fixed->dwProductVersionMS, high);
    EXPECT_EQ(fixed->dwProductVersionLS, low);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(translation[0], 0x0411) << "Japanese";
    EXPECT_EQ(translation[1], 1200) << "Unicode strings";

    const struct {
        const char* name;
        const char* value;
    } texts[] = {{"ProductName", "Z_FaceToViewer"},     {"InternalName", "Z_FaceToViewer"},
                 {"FileDescription", "Z_FaceToViewer"}, {"OriginalFilename", "Z_FaceToViewer.dll"},
                 {"FileVersion", FTV_VERSION_TEXT},     {"ProductVersion", FTV_VERSION_TEXT}};
    for (const auto& text : texts) EXPECT_EQ(query_text(data, text.name), text.value) << text.name;
}

}  // namespace
