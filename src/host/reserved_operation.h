// What a reserved interface operation does: it raises the integer 0, which the
// host catches as an int.
//
// The raise must be one the host's compiler can catch. A g++ host catches a
// g++ throw; a host built with the platform's C++ compiler on Windows catches
// only an exception raised through the system runtime. Each module build
// links the one definition that fits the host it is for (reserved_*.cpp).
#pragma once

namespace ftv {

[[noreturn]] void raise_reserved_operation();

}  // namespace ftv
