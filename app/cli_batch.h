// SPDX-License-Identifier: GPL-3.0-or-later
// The output of a range of days, written straight from the calculator's numbers: every
// piece of a row comes from a table made once (the texts of the fields, the cycle objects,
// the pillars) or is kept from the day before (the year-start and solstice texts), so a row
// costs no allocation and a few dozen short copies. The rows are the same bytes as
// JsonLine, WriteTableRow and WritePillarLine give for one calculation.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "app/cli_args.h"
#include "cycle/calculator.h"

namespace cli {

// A short text kept inline, copied with one fixed-size move.
struct ShortText {
    static constexpr std::size_t Capacity = 56;
    char bytes[Capacity];
    std::uint8_t size = 0;

    static ShortText From(std::string_view text);
};

class BatchWriter {
public:
    // `dateWidth`: the date column of the pillar lines (PillarDateWidth).
    BatchWriter(std::ostream& out, OutputFormat format, std::size_t dateWidth = 0);
    ~BatchWriter();

    void Header();
    // One row from the calculator's last ComputeCycles.
    void Row(const cycle::CycleCalculator& calc);
    // Hands what is buffered to the stream.
    void Flush();

private:
    // The year-start or the solstice of the rows, kept while it stays the same.
    struct Dated {
        int day = 0, month = 0, year = 0;
        double jd = 0;
        bool valid = false;
        std::string text;    // as shown
        std::string quoted;  // as a JSON string
        std::string jdText;  // the solstice instant, for JSON
    };

    // The buffer always has room for a whole row: rows are far shorter than RowRoom.
    void Append(std::string_view s) {
        std::memcpy(buffer_.get() + used_, s.data(), s.size());
        used_ += s.size();
    }
    template <std::size_t N>
    void Append(const char (&literal)[N]) {
        std::memcpy(buffer_.get() + used_, literal, N - 1);
        used_ += N - 1;
    }
    void Append(const ShortText& t) {
        std::memcpy(buffer_.get() + used_, t.bytes, ShortText::Capacity);
        used_ += t.size;
    }
    void AppendInt(int value);
    // Blanks up to `width` bytes after `start`, for plain ASCII text.
    void PadFrom(std::size_t start, std::size_t width);
    void AppendDateObject(int day, int month, int year);
    void AppendField(std::size_t field, const cycle::ResultPiece& piece);
    void JsonRow(const cycle::CycleCalculator& c);
    void FieldsRow(const cycle::CycleCalculator& c);
    void PillarRow(const cycle::CycleCalculator& c);
    void Refresh(const cycle::CycleCalculator& c);

    static constexpr std::size_t FlushAt = 1 << 16;
    static constexpr std::size_t RowRoom = 1 << 13;
    std::ostream& out_;
    OutputFormat format_;
    std::size_t dateWidth_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    Dated yearStart_, solstice_;
};

}  // namespace cli
