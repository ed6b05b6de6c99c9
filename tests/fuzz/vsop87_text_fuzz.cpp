// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the VSOP87 text parser of tolvane-mkterms and the encoding of what it accepts.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>

#include "tools/mkterms/vsop87_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    namespace mk = tolvane::mkterms;
    try {
        mk::Vsop87Body body = mk::ParseVsop87(in, "fuzz.ear");
        const int record = mk::RecordFor(body, body.code >= 1 && body.code <= 8
                                                   ? std::nullopt
                                                   : std::optional<int>(3));
        const mk::TermFiles files = mk::BuildTermFiles({{record, std::move(body)}});
        if (files.ndx.size() != 9 * 72 || files.dat.size() % 24 != 0) __builtin_trap();
    } catch (const mk::Vsop87Error&) {
    }
    return 0;
}
