// SPDX-License-Identifier: GPL-3.0-or-later
// tolvane-mkterms: turns VSOP87 text files into the term files PLANETS.NDX and PLANETS.DAT.
// Every build runs it, so it says nothing unless something is wrong.
#include <charconv>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "tools/mkterms/vsop87_text.h"

namespace {

constexpr const char* Usage =
    "Usage: tolvane-mkterms [--record N] --out-dir DIR FILE...\n"
    "\n"
    "Reads the series of one body from each FILE (VSOP87 ASCII format, version D for\n"
    "heliocentric L, B, R of the date, e.g. VSOP87D.ear) and writes PLANETS.NDX and\n"
    "PLANETS.DAT into DIR. Each body goes to the index record of its body code\n"
    "(1 Mercury .. 8 Neptune, Earth 3); the terms of several files follow one another\n"
    "in the order given.\n"
    "\n"
    "  --out-dir DIR  folder for PLANETS.NDX and PLANETS.DAT (created if missing)\n"
    "  --record N     put the body into record N (0..8); needed for body codes 0 and 9,\n"
    "                 allowed with a single FILE only\n"
    "  --help         show this text\n"
    "\n"
    "Each FILE must be a regular file of at most 64 MB. Both term files are checked\n"
    "before either is replaced; on any error nothing is written and the exit status is 1.\n";

struct Options {
    bool help = false;
    std::optional<int> record;
    std::filesystem::path outDir;
    std::vector<std::filesystem::path> files;
};

int ParseRecord(std::string_view text) {
    int value = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < 0 ||
        value > 8) {
        throw std::runtime_error("--record needs a number 0..8, not \"" + std::string(text) + "\"");
    }
    return value;
}

Options ParseArguments(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--out-dir" && hasValue) {
            options.outDir = argv[++i];
        } else if (arg == "--record" && hasValue) {
            options.record = ParseRecord(argv[++i]);
        } else if (arg.starts_with("-")) {
            throw std::runtime_error("unknown option or missing value: " + std::string(arg) +
                                     " (see --help)");
        } else {
            options.files.emplace_back(arg);
        }
    }
    if (options.help) return options;
    if (options.outDir.empty()) throw std::runtime_error("--out-dir DIR is missing (see --help)");
    if (options.files.empty()) throw std::runtime_error("no input file given (see --help)");
    if (options.record && options.files.size() > 1) {
        throw std::runtime_error("--record is allowed with a single input file only");
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    namespace mk = tolvane::mkterms;
    try {
        const Options options = ParseArguments(argc, argv);
        if (options.help) {
            std::cout << Usage;
            return 0;
        }
        std::vector<mk::PlacedBody> bodies;
        for (const auto& file : options.files) {
            mk::Vsop87Body body = mk::ReadVsop87File(file);
            const int record = mk::RecordFor(body, options.record);
            bodies.push_back({record, std::move(body)});
        }
        mk::WriteTermFiles(options.outDir, mk::BuildTermFiles(bodies));
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "tolvane-mkterms: " << error.what() << '\n';
        return 1;
    }
}
