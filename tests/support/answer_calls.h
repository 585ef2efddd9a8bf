// Calling the operations with fixed answers (fixed_answers.h) by slot, as a
// host does, and telling whether they answered as tabled.
#pragma once

#include <string>

#include "fixed_answers.h"

namespace testing_support {

// The slot of an operation of the table.
std::size_t slot_of(const fixed_answers::Operation& operation);

// Calls the operation on the component with made-up arguments (a record or
// a position first where it takes one) and the reserved pointer; empty when
// it answered as the table says and changed nothing else of the record,
// else what it did.
std::string wrong_answer(void* component, const fixed_answers::Operation& operation);

}  // namespace testing_support
