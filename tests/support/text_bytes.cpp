#include "text_bytes.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <vector>

namespace testing_support {

std::string text_bytes(const std::string& utf8) {
#ifdef _WIN32
    const int wide_length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wide_length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), wide_length);
    BOOL lossy = FALSE;
    const int length = WideCharToMultiByte(932, 0, wide.data(), wide_length, nullptr, 0, nullptr, &lossy);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(932, 0, wide.data(), wide_length, out.data(), length, nullptr, &lossy);
    EXPECT_FALSE(lossy) << "not representable in code page 932: " << utf8;
    return out;
#else
    iconv_t converter = iconv_open("CP932", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        ADD_FAILURE() << "iconv cannot convert UTF-8 to CP932";
        return {};
    }
    std::string in = utf8;
    std::vector<char> out(in.size() * 2 + 4);
    char* source = in.data();
    std::size_t source_left = in.size();
    char* target = out.data();
    std::size_t target_left = out.size();
    const std::size_t result = iconv(converter, &source, &source_left, &target, &target_left);
    iconv_close(converter);
    if (result == static_cast<std::size_t>(-1)) {
        ADD_FAILURE() << "cannot convert to CP932: " << utf8;
        return {};
    }
    return std::string(out.data(), out.size() - target_left);
#endif
}

}  // namespace testing_support
