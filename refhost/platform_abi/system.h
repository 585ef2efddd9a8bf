// What this freestanding host takes from the system, declared by hand: it is
// built with the platform's C++ compiler (clang for i686-pc-windows-msvc)
// without headers or a C runtime start-up, and imports only kernel32.dll and
// msvcrt.dll (kernel32.def, msvcrt.def).
#pragma once

using u8 = unsigned char;
using u16 = unsigned short;
using u32 = unsigned int;
using i32 = int;
using size_t = decltype(sizeof 0);

static_assert(sizeof(void*) == 4 && sizeof(u32) == 4 && sizeof(u16) == 2, "32-bit Windows");

extern "C" {
__declspec(dllimport) void* __stdcall LoadLibraryA(const char* name);
__declspec(dllimport) void* __stdcall GetProcAddress(void* module, const char* name);
__declspec(dllimport) const char* __stdcall GetCommandLineA();
__declspec(dllimport) __declspec(noreturn) void __stdcall ExitProcess(u32 code);
__declspec(dllimport) int __cdecl printf(const char* format, ...);
__declspec(dllimport) int __cdecl strcmp(const char* a, const char* b);
__declspec(dllimport) size_t __cdecl strlen(const char* text);
__declspec(dllimport) int __cdecl memcmp(const void* a, const void* b, size_t size);
__declspec(dllimport) void* __cdecl memcpy(void* to, const void* from, size_t size);
__declspec(dllimport) void* __cdecl memset(void* to, int value, size_t size);
}

inline void* operator new(size_t, void* place) noexcept { return place; }

// The head of the thread's chain of structured-exception registrations.
inline void* exception_chain() {
    void* head;
    __asm__ volatile("movl %%fs:0, %0" : "=r"(head));
    return head;
}
