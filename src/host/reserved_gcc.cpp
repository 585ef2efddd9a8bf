// Reserved operations for a host built with g++ (and every Linux host): the
// language's own throw of the integer 0.
#include <cstdint>

#include "host/reserved_operation.h"

namespace ftv {

void raise_reserved_operation() { throw std::int32_t(0); }

}  // namespace ftv
