// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the RTF tokenizer alone on any bytes. Every token must move on (so the
// reader always ends), its bytes must lie in the input after those of the token before, a
// text run must hold no byte that ends one, and a \'hh byte must be a byte.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "editor/formats/rtf_tokenizer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    editor::RtfTokenizer tokenizer(bytes);
    const char* seen = bytes.data();  // the end of the last token's bytes
    std::size_t count = 0;
    for (editor::RtfToken token = tokenizer.next(); token.kind != editor::RtfTokenKind::End;
         token = tokenizer.next()) {
        if (++count > size) __builtin_trap();  // a token that took no byte
        if (token.text.data() != nullptr) {
            if (token.text.data() < seen || token.text.data() + token.text.size() > bytes.data() + size) {
                __builtin_trap();
            }
            seen = token.text.data() + token.text.size();
        }
        switch (token.kind) {
        case editor::RtfTokenKind::Text:
            if (token.text.empty()) __builtin_trap();
            if (token.text.size() > 1 && token.text.find_first_of(std::string_view("{}\\\r\n\0", 6)) !=
                                             std::string_view::npos) {
                __builtin_trap();
            }
            break;
        case editor::RtfTokenKind::ControlWord:
            if (token.text.empty() || token.text == "bin") __builtin_trap();
            break;
        case editor::RtfTokenKind::HexByte:
            if (token.hasParameter && (token.parameter < 0 || token.parameter > 255)) __builtin_trap();
            break;
        default: break;
        }
    }
    if (tokenizer.next().kind != editor::RtfTokenKind::End) __builtin_trap();
    return 0;
}
