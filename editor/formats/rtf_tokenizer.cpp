// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/formats/rtf_tokenizer.h"

#include <algorithm>
#include <limits>

namespace editor {

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Bytes that end a run of text.
bool EndsText(char c) {
    return c == '{' || c == '}' || c == '\\' || c == '\r' || c == '\n' || c == '\0';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

RtfToken RtfTokenizer::next() {
    while (pos_ < bytes_.size()) {
        const char c = bytes_[pos_];
        if (c == '\r' || c == '\n' || c == '\0') {
            ++pos_;
            continue;
        }
        RtfToken token;
        if (c == '{' || c == '}') {
            ++pos_;
            token.kind = c == '{' ? RtfTokenKind::GroupOpen : RtfTokenKind::GroupClose;
            return token;
        }
        if (c != '\\') {
            const std::size_t start = pos_;
            while (pos_ < bytes_.size() && !EndsText(bytes_[pos_])) ++pos_;
            token.kind = RtfTokenKind::Text;
            token.text = bytes_.substr(start, pos_ - start);
            return token;
        }
        if (++pos_ == bytes_.size()) break;  // a backslash at the very end is nothing
        const char symbol = bytes_[pos_];
        if (IsLetter(symbol)) return controlWord();
        ++pos_;
        if (symbol == '\'') return hexByte();
        if (symbol == '\\' || symbol == '{' || symbol == '}') {
            token.kind = RtfTokenKind::Text;
            token.text = bytes_.substr(pos_ - 1, 1);
            return token;
        }
        token.kind = RtfTokenKind::ControlSymbol;
        token.symbol = symbol;
        return token;
    }
    return RtfToken{};
}

// Letters, an optional signed number, and one blank that belongs to the word.
RtfToken RtfTokenizer::controlWord() {
    RtfToken token;
    token.kind = RtfTokenKind::ControlWord;
    const std::size_t start = pos_;
    while (pos_ < bytes_.size() && IsLetter(bytes_[pos_])) ++pos_;
    token.text = bytes_.substr(start, pos_ - start);
    bool negative = false;
    if (pos_ + 1 < bytes_.size() && bytes_[pos_] == '-' && IsDigit(bytes_[pos_ + 1])) {
        negative = true;
        ++pos_;
    }
    long long value = 0;
    for (; pos_ < bytes_.size() && IsDigit(bytes_[pos_]); ++pos_) {
        token.hasParameter = true;
        if (value < 10'000'000'000LL) value = value * 10 + (bytes_[pos_] - '0');
    }
    if (pos_ < bytes_.size() && bytes_[pos_] == ' ') ++pos_;
    value = std::min<long long>(value, std::numeric_limits<int>::max());
    token.parameter = static_cast<int>(negative ? -value : value);
    if (token.text == "bin") {
        // Binary data is never text, whatever bytes it holds.
        token.kind = RtfTokenKind::Binary;
        const std::size_t length = token.parameter > 0 ? static_cast<std::size_t>(token.parameter) : 0;
        token.text = bytes_.substr(pos_, length);  // fewer at the end of input
        pos_ += token.text.size();
    }
    return token;
}

// Two hex digits after \'. A damaged one goes with the digit read before the damage; the
// byte that is no digit starts the next token.
RtfToken RtfTokenizer::hexByte() {
    RtfToken token;
    token.kind = RtfTokenKind::HexByte;
    int value = 0;
    for (int digit = 0; digit < 2; ++digit) {
        const int hex = pos_ < bytes_.size() ? HexValue(bytes_[pos_]) : -1;
        if (hex < 0) return token;
        value = value * 16 + hex;
        ++pos_;
    }
    token.hasParameter = true;
    token.parameter = value;
    return token;
}

}  // namespace editor
