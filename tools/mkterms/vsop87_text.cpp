// SPDX-License-Identifier: GPL-3.0-or-later
// Parser for the VSOP87 ASCII series and the encoder of the term files PLANETS.NDX and
// PLANETS.DAT (layout in vsop87_text.h).
#include "tools/mkterms/vsop87_text.h"

#include <unistd.h>

#include <bit>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string_view>
#include <system_error>

#include "platform/safe_file.h"

namespace tolvane::mkterms {
namespace {

constexpr int Variables = 3;    // L, B, R
constexpr int Powers = 6;       // t^0 .. t^5
constexpr int BodyRecords = 9;  // index records, one per body code 0..8

std::string SeriesName(int variable, int power) {
    std::string name(1, "LBR"[variable - 1]);
    name += std::to_string(power);
    return name;
}

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string_view> Tokens(std::string_view line) {
    std::vector<std::string_view> tokens;
    while (!(line = Trim(line)).empty()) {
        const auto end = std::min(line.find_first_of(" \t"), line.size());
        tokens.push_back(line.substr(0, end));
        line.remove_prefix(end);
    }
    return tokens;
}

// Whole-field parse; from_chars keeps the result independent of the locale.
template <typename T>
std::optional<T> ParseNumber(std::string_view field) {
    field = Trim(field);
    T value{};
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (field.empty() || ec != std::errc() || end != field.data() + field.size()) return {};
    return value;
}

struct Header {
    int variable = 0;
    int power = 0;
    int count = 0;
    std::string version;
    std::string name;
};

// Reads the text line by line: a header, then exactly as many term lines as it
// announces, and so on; blank lines are allowed only between series.
class Parser {
public:
    explicit Parser(const std::string& source) { body_.source = source; }

    void Take(std::string_view line) {
        ++lineNo_;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (missing_ > 0) return AddTerm(line);
        if (Trim(line).empty()) return;
        if (IsHeader(line)) return StartSeries(ParseHeader(line));
        if (body_.series.empty()) Fail("term line before any series header");
        Fail("series header expected: the series " + CurrentName() + " (header on line " +
             std::to_string(headerLine_) + ") has all its " +
             std::to_string(body_.series.back().terms.size()) + " terms already");
    }

    Vsop87Body Finish() {
        if (missing_ > 0) {
            ++lineNo_;
            Fail("term line expected, but the file ends" + MissingText());
        }
        if (body_.series.empty()) throw Vsop87Error(body_.source + ": no series found");
        return std::move(body_);
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw Vsop87Error(body_.source + ":" + std::to_string(lineNo_) + ": " + what);
    }

    static bool IsHeader(std::string_view line) {
        const auto tokens = Tokens(line);
        return !tokens.empty() && tokens.front() == "VSOP87";
    }

    // " VSOP87 VERSION D4    EARTH     VARIABLE 1 (LBR)       *T**0    559 TERMS ..."
    Header ParseHeader(std::string_view line) const {
        const auto tokens = Tokens(line);
        Header header;
        std::size_t i = 1;
        if (i + 1 < tokens.size() && tokens[i] == "VERSION") {
            header.version = tokens[i + 1];
            i += 2;
        }
        for (; i < tokens.size() && tokens[i] != "VARIABLE"; ++i) {
            if (!header.name.empty()) header.name += ' ';
            header.name += tokens[i];
        }
        const auto variable =
            i + 1 < tokens.size() ? ParseNumber<int>(tokens[i + 1]) : std::nullopt;
        if (!variable || *variable < 1 || *variable > Variables) {
            Fail("series header: the variable after VARIABLE must be 1, 2 or 3");
        }
        i += 2;
        while (i < tokens.size() && !tokens[i].starts_with("*T**")) ++i;
        const auto power = i < tokens.size() ? ParseNumber<int>(tokens[i].substr(4)) : std::nullopt;
        if (!power || *power < 0 || *power >= Powers) {
            Fail("series header: the power of t after *T** must be 0..5");
        }
        const auto count = i + 1 < tokens.size() ? ParseNumber<int>(tokens[i + 1]) : std::nullopt;
        if (!count || *count < 0 || i + 2 >= tokens.size() || tokens[i + 2] != "TERMS") {
            Fail("series header: the number of terms (\"... N TERMS\") is missing");
        }
        header.variable = *variable;
        header.power = *power;
        header.count = *count;
        return header;
    }

    void StartSeries(const Header& header) {
        bool& seen = seen_[header.variable - 1][header.power];
        if (seen) {
            Fail("the series " + SeriesName(header.variable, header.power) + " appears twice");
        }
        seen = true;
        if (body_.series.empty()) {
            body_.version = header.version;
            body_.name = header.name;
        }
        body_.series.push_back({header.variable, header.power, {}});
        missing_ = header.count;
        headerLine_ = lineNo_;
    }

    // Fortran (1x,4i1,i5,12i3,f15.11,2f18.11,f14.11,f20.11); A, B, C are the last three.
    void AddTerm(std::string_view line) {
        constexpr std::size_t TermLineLength = 131;  // the trailing blank may be missing
        if (IsHeader(line)) Fail("term line expected, but a series header follows" + MissingText());
        if (line.size() < TermLineLength) {
            Fail("term line expected, found a line of " + std::to_string(line.size()) +
                 " characters instead of 132" + MissingText());
        }
        for (std::size_t column = 1; column <= 4; ++column) {
            if (line[column] < '0' || line[column] > '9') {
                Fail("term line: columns 2-5 must be digits");
            }
        }
        const Vsop87Series& series = body_.series.back();
        if (line[3] - '0' != series.variable || line[4] - '0' != series.power) {
            Fail("term line for variable " + std::string(1, line[3]) + " power " +
                 std::string(1, line[4]) + " (columns 4-5) in the series " + CurrentName() +
                 " (header on line " + std::to_string(headerLine_) + ")");
        }
        const int code = line[2] - '0';
        if (body_.code < 0) body_.code = code;
        if (code != body_.code) {
            Fail("term line for body " + std::to_string(code) +
                 " (column 3), but the lines before are for body " + std::to_string(body_.code));
        }
        body_.series.back().terms.push_back({Field(line, 79, 18, "A (columns 80-97)"),
                                             Field(line, 97, 14, "B (columns 98-111)"),
                                             Field(line, 111, 20, "C (columns 112-131)")});
        --missing_;
    }

    double Field(std::string_view line, std::size_t offset, std::size_t width,
                 const char* what) const {
        const auto text = line.substr(offset, width);
        const auto value = ParseNumber<double>(text);
        if (!value || !std::isfinite(*value)) {
            Fail(std::string("term line: ") + what + " is not a number: \"" +
                 std::string(Trim(text)) + "\"");
        }
        return *value;
    }

    std::string CurrentName() const {
        return SeriesName(body_.series.back().variable, body_.series.back().power);
    }

    std::string MissingText() const {
        const auto& series = body_.series.back();
        return "; the series " + CurrentName() + " (header on line " +
               std::to_string(headerLine_) + ") has " + std::to_string(series.terms.size()) +
               " of its " +
               std::to_string(series.terms.size() + static_cast<std::size_t>(missing_)) + " terms";
    }

    Vsop87Body body_;
    int lineNo_ = 0;
    int missing_ = 0;  // term lines the current header still owes
    int headerLine_ = 0;
    bool seen_[Variables][Powers] = {};
};

void StoreLe(std::vector<std::uint8_t>& out, std::size_t at, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void AppendLe(std::vector<std::uint8_t>& out, double value) {
    out.resize(out.size() + sizeof(double));
    StoreLe(out, out.size() - sizeof(double), std::bit_cast<std::uint64_t>(value), sizeof(double));
}

// The body's series in index order (L0..L5, B0..B5, R0..R5); absent series stay null.
std::array<const Vsop87Series*, Variables * Powers> SeriesSlots(const Vsop87Body& body) {
    std::array<const Vsop87Series*, Variables * Powers> slots{};
    for (const auto& series : body.series) {
        if (series.variable < 1 || series.variable > Variables || series.power < 0 ||
            series.power >= Powers) {
            throw Vsop87Error(body.source + ": series with variable " +
                              std::to_string(series.variable) + " and power " +
                              std::to_string(series.power) + " has no place in the index");
        }
        auto& slot =
            slots[static_cast<std::size_t>((series.variable - 1) * Powers + series.power)];
        if (slot) {
            throw Vsop87Error(body.source + ": the series " +
                              SeriesName(series.variable, series.power) + " appears twice");
        }
        slot = &series;
    }
    return slots;
}

std::string Describe(int code) {
    constexpr const char* Names[] = {
        "Sun",     "Mercury", "Venus",  "Earth",   "Mars",
        "Jupiter", "Saturn",  "Uranus", "Neptune", "Earth-Moon barycentre"};
    if (code < 0) return "unknown, the file has no term lines";
    if (code > 9) return std::to_string(code);
    return std::to_string(code) + " (" + Names[code] + ")";
}

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    // Writing to or closing a stream that failed to open only sets its failbit.
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + path.string() + ": " + std::strerror(errno));
    }
}

// A missing file or a regular file in a folder we may write to can be replaced by rename.
void CheckReplaceable(const std::filesystem::path& target) {
    std::error_code error;
    const auto type = std::filesystem::symlink_status(target, error).type();
    if (type != std::filesystem::file_type::not_found &&
        type != std::filesystem::file_type::regular) {
        throw std::runtime_error("cannot replace " + target.string() + ": " +
                                 (type == std::filesystem::file_type::directory
                                      ? "it is a folder"
                                      : "it is not a regular file"));
    }
    if (::access(target.parent_path().c_str(), W_OK | X_OK) != 0) {
        throw std::runtime_error("cannot replace " + target.string() + ": " +
                                 std::strerror(errno));
    }
}

void Rename(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code error;
    std::filesystem::rename(from, to, error);
    if (error) throw std::runtime_error("cannot replace " + to.string() + ": " + error.message());
}

}  // namespace

std::size_t Vsop87Body::TermCount() const {
    std::size_t count = 0;
    for (const auto& s : series) count += s.terms.size();
    return count;
}

Vsop87Body ParseVsop87(std::istream& in, const std::string& name) {
    Parser parser(name);
    for (std::string line; std::getline(in, line);) parser.Take(line);
    if (in.bad()) throw Vsop87Error(name + ": read error");
    return parser.Finish();
}

Vsop87Body ReadVsop87File(const std::filesystem::path& path) {
    // The largest published VSOP87 file (VSOP87.jup) has about 6 MB; a FIFO or /dev/zero
    // must neither hang the tool nor fill the memory.
    constexpr std::size_t MaxInputSize = 64 << 20;
    std::string bytes;
    switch (platform::ReadRegularFile(path, MaxInputSize, bytes).status) {
    case platform::ReadStatus::Ok:
        break;
    case platform::ReadStatus::Missing:
        throw Vsop87Error("cannot open " + path.string() + ": no such file");
    case platform::ReadStatus::TooLong:
        throw Vsop87Error("cannot read " + path.string() + ": larger than 64 MB, which no "
                          "VSOP87 file is");
    case platform::ReadStatus::Folder:
    case platform::ReadStatus::Fifo:
    case platform::ReadStatus::Device:
    case platform::ReadStatus::Unusable:
        throw Vsop87Error("cannot read " + path.string() + ": not a readable regular file");
    }
    std::istringstream in(std::move(bytes));
    return ParseVsop87(in, path.filename().string());
}

int RecordFor(const Vsop87Body& body, std::optional<int> requested) {
    if (requested) {
        if (*requested < 0 || *requested >= BodyRecords) {
            throw Vsop87Error("--record must be 0..8");
        }
        return *requested;
    }
    if (body.code < 1 || body.code >= BodyRecords) {
        throw Vsop87Error(body.source + ": body code " + Describe(body.code) +
                          " has no record of its own; give --record N (0..8)");
    }
    return body.code;
}

TermFiles BuildTermFiles(const std::vector<PlacedBody>& bodies) {
    constexpr std::size_t MaxTermsPerBody = 2637;  // the engine's buffer for one body
    constexpr std::size_t RecordBytes = Variables * Powers * 4;
    // With every record full the term numbers still fit the uint16 Start and Count.
    static_assert(BodyRecords * MaxTermsPerBody <= 0xFFFF);

    TermFiles files;
    files.ndx.assign(BodyRecords * RecordBytes, 0);
    std::array<const Vsop87Body*, BodyRecords> placed{};
    std::size_t next = 0;  // record number of the next term in PLANETS.DAT
    for (const auto& [record, body] : bodies) {
        if (record < 0 || record >= BodyRecords) {
            throw Vsop87Error(body.source + ": record " + std::to_string(record) + " is not 0..8");
        }
        if (placed[record]) {
            throw Vsop87Error(placed[record]->source + " and " + body.source +
                              " both go to record " + std::to_string(record));
        }
        placed[record] = &body;
        if (body.TermCount() > MaxTermsPerBody) {
            throw Vsop87Error(body.source + ": body " + Describe(body.code) + " has " +
                              std::to_string(body.TermCount()) +
                              " terms; the program holds at most " +
                              std::to_string(MaxTermsPerBody));
        }
        const auto slots = SeriesSlots(body);
        for (std::size_t slot = 0; slot < slots.size(); ++slot) {
            const std::size_t count = slots[slot] ? slots[slot]->terms.size() : 0;
            const std::size_t at = record * RecordBytes + slot * 4;
            StoreLe(files.ndx, at, next, 2);
            StoreLe(files.ndx, at + 2, count, 2);
            for (std::size_t i = 0; i < count; ++i) {
                for (double value : slots[slot]->terms[i]) AppendLe(files.dat, value);
            }
            next += count;
        }
    }
    return files;
}

void WriteTermFiles(const std::filesystem::path& dir, const TermFiles& files) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) throw std::runtime_error("cannot create " + dir.string() + ": " + error.message());
    const auto ndx = dir / "PLANETS.NDX";
    const auto dat = dir / "PLANETS.DAT";
    // Both must be replaceable before either is replaced, or a failure would leave a new
    // PLANETS.DAT beside an old PLANETS.NDX.
    for (const auto& target : {ndx, dat}) CheckReplaceable(target);
    const auto ndxTemp = dir / "PLANETS.NDX.tmp";
    const auto datTemp = dir / "PLANETS.DAT.tmp";
    try {
        WriteFile(ndxTemp, files.ndx);
        WriteFile(datTemp, files.dat);
        Rename(datTemp, dat);
        Rename(ndxTemp, ndx);
    } catch (...) {
        std::filesystem::remove(ndxTemp, error);
        std::filesystem::remove(datTemp, error);
        throw;
    }
}

}  // namespace tolvane::mkterms
