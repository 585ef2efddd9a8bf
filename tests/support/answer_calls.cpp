#include "answer_calls.h"

#include <cstdint>
#include <cstring>
#include <utility>

#include "geometry/primitives.h"
#include "slots.h"

namespace testing_support {

namespace {

using fixed_answers::Answer;
using fixed_answers::Of;
using fixed_answers::Operation;

// The call with leading arguments, then count 32-bit words, then the reserved pointer.
template <class Result, class... Leading, std::size_t... I>
Result call_words(void* object, std::size_t slot, std::index_sequence<I...>, Leading... leading) {
    return call_slot<Result, Leading..., decltype(std::uint32_t(I))..., void*>(
        object, slot, leading..., std::uint32_t(0x11111111u * (I + 1))..., nullptr);
}

template <class Result, class... Leading>
Result call_with(void* object, std::size_t slot, int words, Leading... leading) {
    switch (words) {
        case 0: return call_words<Result>(object, slot, std::make_index_sequence<0>{}, leading...);
        case 1: return call_words<Result>(object, slot, std::make_index_sequence<1>{}, leading...);
        case 2: return call_words<Result>(object, slot, std::make_index_sequence<2>{}, leading...);
        case 3: return call_words<Result>(object, slot, std::make_index_sequence<3>{}, leading...);
        case 4: return call_words<Result>(object, slot, std::make_index_sequence<4>{}, leading...);
        case 5: return call_words<Result>(object, slot, std::make_index_sequence<5>{}, leading...);
        default: return call_words<Result>(object, slot, std::make_index_sequence<9>{}, leading...);
    }
}

template <class Result>
Result call(void* object, const Operation& operation) {
    const std::size_t slot = slot_of(operation);
    if (!operation.position_first) return call_with<Result>(object, slot, operation.arguments);
    const ftv::Vec3 position = {-100, 200, -300};
    return call_with<Result>(object, slot, operation.arguments - 1, &position);
}

}  // namespace

std::size_t slot_of(const Operation& operation) {
    return operation.of == Of::plugin ? plugin_slot(static_cast<std::size_t>(operation.number))
                                      : own_slot(static_cast<std::size_t>(operation.number));
}

std::string wrong_answer(void* component, const Operation& operation) {
    switch (operation.answer) {
        case Answer::integer: {
            const std::int32_t got = call<std::int32_t>(component, operation);
            return got == operation.value ? "" : "answered " + std::to_string(got);
        }
        case Answer::boolean: {
            const bool got = call<bool>(component, operation);
            return got == (operation.value != 0) ? "" : got ? "answered true" : "answered false";
        }
        case Answer::nothing:
            call<void>(component, operation);
            return "";
        case Answer::record: {
            std::uint8_t record[32], expected[32];
            std::memset(record, 0xA5, sizeof record);
            std::memset(expected, 0xA5, sizeof expected);
            expected[operation.offset] = static_cast<std::uint8_t>(operation.value);
            const std::uint8_t* got =
                call_with<std::uint8_t*>(component, slot_of(operation), operation.arguments - 1, &record[0]);
            if (got != record) return "answered another address than the record's";
            for (std::size_t i = 0; i < sizeof record; ++i)
                if (record[i] != expected[i]) return "left byte " + std::to_string(i) + " at " + std::to_string(record[i]);
            return "";
        }
    }
    return "unknown answer";
}

}  // namespace testing_support
