// SPDX-License-Identifier: GPL-3.0-or-later
// The tokenizer of our RTF reader: splits the bytes of an RTF file into braces, control
// words, control symbols, \'hh bytes, \bin data and runs of text. It knows nothing of what
// the words mean; the reader interprets the tokens.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace editor {

enum class RtfTokenKind : std::uint8_t {
    End,            // no bytes left
    GroupOpen,      // {
    GroupClose,     // }
    ControlWord,    // \name or \nameN: `text` is the name, `parameter` the number
    ControlSymbol,  // \ and one byte that is no letter: `symbol`
    HexByte,        // \'hh: `parameter` is the byte; `hasParameter` is false when damaged
    Binary,         // \binN and the N bytes after it (fewer at the end of input): `text`
    Text,           // bytes of text, never empty; \\, \{ and \} come as a text of one byte
};

// Views into the tokenizer's bytes: valid as long as those bytes are.
struct RtfToken {
    RtfTokenKind kind = RtfTokenKind::End;
    bool hasParameter = false;
    char symbol = 0;
    int parameter = 0;
    std::string_view text;
};

class RtfTokenizer {
public:
    explicit RtfTokenizer(std::string_view bytes) : bytes_(bytes) {}

    // The next token; End for ever once the bytes are used up. Line ends and NUL bytes
    // between tokens are not part of the text and are dropped. A control word eats the one
    // blank after it; its parameter is a signed number, capped at ±2147483647.
    RtfToken next();

private:
    RtfToken controlWord();
    RtfToken hexByte();

    std::string_view bytes_;
    std::size_t pos_ = 0;
};

}  // namespace editor
