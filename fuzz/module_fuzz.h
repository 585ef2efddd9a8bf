// What the fuzz targets that drive the module share: a failed check stops the
// run with its reason, and the module is loaded once, before fuzzing starts,
// so that its coverage counts. Included by exactly one file of each target.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "host_objects/module_loader.h"

namespace fuzz_support {

[[noreturn]] inline void fail(const std::string& what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
    std::abort();
}

inline refhost::LoadedModule& module() {
    static refhost::LoadedModule loaded(FTV_MODULE_PATH);
    return loaded;
}

}  // namespace fuzz_support

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz_support::module();
    return 0;
}
