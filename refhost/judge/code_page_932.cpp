#include "judge/code_page_932.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <vector>

namespace refhost {

namespace {

#ifdef _WIN32
// Through UTF-16, refusing what either code cannot hold.
std::optional<std::string> convert(const std::string& text, UINT from, UINT to) {
    const int wide_length = MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, text.data(), int(text.size()), nullptr, 0);
    if (wide_length == 0 && !text.empty()) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(wide_length), L'\0');
    MultiByteToWideChar(from, 0, text.data(), int(text.size()), wide.data(), wide_length);
    BOOL lossy = FALSE;
    BOOL* lossy_flag = to == CP_UTF8 ? nullptr : &lossy;  // UTF-8 holds everything, and refuses the flag
    const int length = WideCharToMultiByte(to, 0, wide.data(), wide_length, nullptr, 0, nullptr, lossy_flag);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(to, 0, wide.data(), wide_length, out.data(), length, nullptr, lossy_flag);
    if (lossy) return std::nullopt;
    return out;
}
constexpr UINT kUtf8 = CP_UTF8, kCp932 = 932;
#else
std::optional<std::string> convert(const std::string& text, const char* from, const char* to) {
    iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string in = text;
    std::vector<char> out(in.size() * 4 + 4);
    char* source = in.data();
    std::size_t source_left = in.size();
    char* target = out.data();
    std::size_t target_left = out.size();
    const std::size_t result = iconv(converter, &source, &source_left, &target, &target_left);
    iconv_close(converter);
    if (result == static_cast<std::size_t>(-1)) return std::nullopt;
    return std::string(out.data(), out.size() - target_left);
}
constexpr const char* kUtf8 = "UTF-8";
constexpr const char* kCp932 = "CP932";
#endif

}  // namespace

std::optional<std::string> cp932_from_utf8(const std::string& utf8) { return convert(utf8, kUtf8, kCp932); }

std::optional<std::string> utf8_from_cp932(const std::string& cp932) { return convert(cp932, kCp932, kUtf8); }

}  // namespace refhost
