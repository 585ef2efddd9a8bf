// Saying in words what is wrong below the level of JSON's grammar: a number
// JSON cannot hold, a word that is not true, false or null, a string that is
// not closed, a byte that is not UTF-8. The JSON library finds these too, but
// tells them with the raw bytes it read; this scan finds the first one itself
// so that an error message can name it and its place without quoting input.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace ftv_cli {

struct SyntaxFault {
    std::size_t offset;  // 0-based byte offset where the faulty token or byte starts
    std::string what;
};

// The first fault in the tokens of text, read left to right; none when every
// token is well formed (the fault, if any, is then in how they are arranged).
std::optional<SyntaxFault> first_token_fault(const std::string& text);

// The length of the UTF-8 sequence starting at text[at], or 0 when the bytes
// there are not UTF-8 (overlong forms and surrogates included).
std::size_t utf8_length(const std::string& text, std::size_t at);

}  // namespace ftv_cli
