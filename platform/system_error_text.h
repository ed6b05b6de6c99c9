// SPDX-License-Identifier: GPL-3.0-or-later
// The system's text for an error number ("No space left on device"), in the user's language
// but always in UTF-8, the encoding of every other text the programs write: a locale with
// another character set (ISO-8859-1) would otherwise put two encodings into one line.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// strerror(err) in UTF-8.
std::string SystemErrorText(int err);

// `text` in the character set `codeset` (as nl_langinfo(CODESET) names it) as UTF-8; a
// byte sequence that does not convert becomes "?". ASCII and UTF-8 texts stay as they are.
std::string LocaleTextToUtf8(std::string_view text, const char* codeset);

}  // namespace platform
