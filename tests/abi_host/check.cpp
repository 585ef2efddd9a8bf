#include "check.h"

namespace {
u32 passed = 0;
u32 failed = 0;
}  // namespace

void check(bool ok, const char* what) {
    if (ok) {
        ++passed;
    } else {
        ++failed;
        printf("FAILED: %s\n", what);
    }
}

void checkf(bool ok, const char* format, i32 value) {
    if (ok) {
        ++passed;
        return;
    }
    ++failed;
    printf("FAILED: ");
    printf(format, value);
    printf("\n");
}

bool same_bits(const void* a, const void* b, size_t size) { return memcmp(a, b, size) == 0; }

bool same_text(const char* got, const char* expected) {
    if (got == nullptr || expected == nullptr) return got == expected;
    return strcmp(got, expected) == 0;
}

u32 finish() {
    printf("%u passed, %u failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
