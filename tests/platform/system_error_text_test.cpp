// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/system_error_text.h"

namespace {

// The system's texts come in the locale's character set; every line the programs write is
// UTF-8.
TEST(SystemErrorText, DecodedFromTheLocalesCharacterSet) {
    const struct {
        const char* text;
        const char* codeset;
        const char* utf8;
    } cases[] = {
        {"Kein Platz mehr auf dem Ger\xe4t", "ISO-8859-1", "Kein Platz mehr auf dem Gerät"},
        {"Gerät", "UTF-8", "Gerät"},
        {"Ger\xe4t", "ANSI_X3.4-1968", "Ger?t"},  // a byte the character set lacks
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::LocaleTextToUtf8(c.text, c.codeset), c.utf8) << c.codeset;
}

}  // namespace
