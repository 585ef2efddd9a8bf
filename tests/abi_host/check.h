// Checks and their tally. Every check prints a line when it fails; the run
// ends with the closing line "N passed, N failed".
#pragma once

#include "system.h"

void check(bool ok, const char* what);
void checkf(bool ok, const char* format, i32 value);  // format takes one %d
bool same_bits(const void* a, const void* b, size_t size);
bool same_text(const char* got, const char* expected);  // null matches only null
// Prints the tally; the exit code is 0 only when nothing failed.
u32 finish();
