#include "json_syntax.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace ftv_cli {

namespace {

std::string hex_byte(unsigned char byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_word(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_'; }

int hex_value(char c) {
    if (is_digit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

class Scan {
public:
    explicit Scan(const std::string& text) : text_(text) {}

    std::optional<SyntaxFault> run() {
        // A byte order mark may open the file.
        if (text_.compare(0, 3, "\xEF\xBB\xBF") == 0) at_ = 3;
        while (at_ < text_.size() && !fault_) {
            const char c = text_[at_];
            if (is_space(c) || c == '{' || c == '}' || c == '[' || c == ']' || c == ':' || c == ',') {
                ++at_;
            } else if (c == '"') {
                string();
            } else if (c == '-' || is_digit(c)) {
                number();
            } else if (std::isalpha(static_cast<unsigned char>(c)) != 0) {
                word(at_);
            } else {
                stray();
            }
        }
        return fault_;
    }

private:
    void fail(std::size_t offset, std::string what) { fault_ = SyntaxFault{offset, std::move(what)}; }

    void string() {
        const std::size_t start = at_++;
        while (at_ < text_.size()) {
            const auto c = static_cast<unsigned char>(text_[at_]);
            if (c == '"') {
                ++at_;
                return;
            }
            if (c < 0x20) return fail(at_, "a control character (" + hex_byte(c) + ") in a string must be escaped");
            if (c == '\\') {
                if (!escape()) return;
                continue;
            }
            const std::size_t n = utf8_length(text_, at_);
            if (n == 0) return fail(at_, "a byte that is not UTF-8 (" + hex_byte(c) + ") in a string");
            at_ += n;
        }
        fail(start, "a string that is not closed before the end of the file");
    }

    // A four-digit \u escape at at_, or -1.
    long unicode_escape() {
        if (text_.compare(at_, 2, "\\u") != 0 || at_ + 6 > text_.size()) return -1;
        long value = 0;
        for (std::size_t i = at_ + 2; i < at_ + 6; ++i) {
            const int digit = hex_value(text_[i]);
            if (digit < 0) return -1;
            value = value * 16 + digit;
        }
        return value;
    }

    bool escape() {
        const std::size_t start = at_;
        if (at_ + 1 >= text_.size()) {
            fail(start, "a string that is not closed before the end of the file");
            return false;
        }
        const char kind = text_[at_ + 1];
        if (kind != 'u') {
            if (std::string("\"\\/bfnrt").find(kind) == std::string::npos) {
                fail(start, "an escape that is not one of \\\" \\\\ \\/ \\b \\f \\n \\r \\t \\u");
                return false;
            }
            at_ += 2;
            return true;
        }
        const long first = unicode_escape();
        if (first < 0) {
            fail(start, "a \\u escape without four hex digits");
            return false;
        }
        at_ += 6;
        if (first >= 0xDC00 && first <= 0xDFFF) {
            fail(start, "a \\u escape of a low surrogate without a high one before it");
            return false;
        }
        if (first >= 0xD800 && first <= 0xDBFF) {
            const long second = unicode_escape();
            if (second < 0xDC00 || second > 0xDFFF) {
                fail(start, "a \\u escape of a high surrogate without a low one after it");
                return false;
            }
            at_ += 6;
        }
        return true;
    }

    void number() {
        const std::size_t start = at_;
        if (text_[at_] == '-') {
            ++at_;
            if (at_ < text_.size() && std::isalpha(static_cast<unsigned char>(text_[at_])) != 0) return word(start);
            if (at_ >= text_.size() || !is_digit(text_[at_]))
                return fail(start, "an invalid number: no digit after the minus sign");
        }
        if (text_[at_] == '0' && at_ + 1 < text_.size() && is_digit(text_[at_ + 1]))
            return fail(start, "an invalid number: a leading zero");
        while (at_ < text_.size() && is_digit(text_[at_])) ++at_;
        if (at_ < text_.size() && text_[at_] == '.') {
            ++at_;
            if (at_ >= text_.size() || !is_digit(text_[at_]))
                return fail(start, "an invalid number: no digit after the decimal point");
            while (at_ < text_.size() && is_digit(text_[at_])) ++at_;
        }
        if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
            ++at_;
            if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-')) ++at_;
            if (at_ >= text_.size() || !is_digit(text_[at_]))
                return fail(start, "an invalid number: no digit in the exponent");
            while (at_ < text_.size() && is_digit(text_[at_])) ++at_;
        }
        // Beyond every float a scene holds, as the reader would say of any such number.
        const double value = std::strtod(text_.substr(start, at_ - start).c_str(), nullptr);
        if (std::isinf(value)) fail(start, "number out of the float range");
    }

    // A word at at_; start is where its token began (before a minus sign).
    void word(std::size_t start) {
        const bool signed_word = start != at_;
        std::size_t end = at_;
        while (end < text_.size() && is_word(text_[end])) ++end;
        std::string lower;
        for (std::size_t i = at_; i < end; ++i) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(text_[i])));
        const std::string exact = text_.substr(at_, end - at_);
        at_ = end;
        if (!signed_word && (exact == "true" || exact == "false" || exact == "null")) return;
        if (lower == "nan" || lower == "inf" || lower == "infinity")
            return fail(start, "an invalid number: JSON has no NaN or infinity");
        fail(start, "a word that is not true, false or null (a text is written in double quotes)");
    }

    void stray() {
        const auto c = static_cast<unsigned char>(text_[at_]);
        if (c == '\'') return fail(at_, "a text in single quotes (JSON writes texts in double quotes)");
        if (c == '/') return fail(at_, "a comment (JSON has none)");
        if (c == '.' || c == '+') return fail(at_, "an invalid number: a number starts with a digit or a minus sign");
        if (c >= 0x80) {
            if (utf8_length(text_, at_) == 0) return fail(at_, "a byte that is not UTF-8 (" + hex_byte(c) + ")");
            return fail(at_, "a character outside a string (a text is written in double quotes)");
        }
        fail(at_, "a character that cannot begin a JSON value (" + hex_byte(c) + ")");
    }

    const std::string& text_;
    std::size_t at_ = 0;
    std::optional<SyntaxFault> fault_;
};

}  // namespace

std::size_t utf8_length(const std::string& text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : 0x100u; };
    const unsigned lead = byte(at);
    // The second byte's range depends on the lead (no overlong forms, no
    // surrogates, nothing past U+10FFFF); later bytes are 80..BF.
    std::size_t length = 0;
    unsigned low = 0x80, high = 0xBF;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead == 0xE0) length = 3, low = 0xA0;
    else if (lead == 0xED) length = 3, high = 0x9F;
    else if (lead >= 0xE1 && lead <= 0xEF) length = 3;
    else if (lead == 0xF0) length = 4, low = 0x90;
    else if (lead >= 0xF1 && lead <= 0xF3) length = 4;
    else if (lead == 0xF4) length = 4, high = 0x8F;
    else return 0;
    if (byte(at + 1) < low || byte(at + 1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
    return length;
}

std::optional<SyntaxFault> first_token_fault(const std::string& text) { return Scan(text).run(); }

}  // namespace ftv_cli
