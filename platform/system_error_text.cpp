// SPDX-License-Identifier: GPL-3.0-or-later
// The system's error texts decoded from the locale's character set with glibc's iconv.
#include "platform/system_error_text.h"

#include <iconv.h>
#include <langinfo.h>

#include <cerrno>
#include <cstring>

namespace platform {

namespace {

bool IsAscii(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) > 0x7F) return false;
    return true;
}

}  // namespace

std::string LocaleTextToUtf8(std::string_view text, const char* codeset) {
    const std::string_view set = codeset ? codeset : "";
    if (IsAscii(text) || set == "UTF-8" || set == "utf8") return std::string(text);
    const iconv_t cd = ::iconv_open("UTF-8", codeset);
    std::string out;
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        for (const char c : text) out += static_cast<unsigned char>(c) > 0x7F ? '?' : c;
        return out;
    }
    std::string in(text);
    char* from = in.data();
    std::size_t left = in.size();
    char buffer[256];
    while (left > 0) {
        char* to = buffer;
        std::size_t room = sizeof buffer;
        const std::size_t done = ::iconv(cd, &from, &left, &to, &room);
        out.append(buffer, static_cast<std::size_t>(to - buffer));
        if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // A byte the character set does not know, or a sequence cut short.
            out += '?';
            ++from;
            --left;
        }
    }
    ::iconv_close(cd);
    return out;
}

std::string SystemErrorText(int err) {
    return LocaleTextToUtf8(std::strerror(err), ::nl_langinfo(CODESET));
}

}  // namespace platform
