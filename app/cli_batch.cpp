// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the rows of a range of days directly into one buffer.
#include "app/cli_batch.h"

#include <array>
#include <charconv>
#include <stdexcept>
#include <vector>

#include "app/cli_output.h"
#include "app/cli_table.h"
#include "cycle/names.h"
#include "cycle/view.h"

namespace cli {

namespace {

constexpr std::size_t KindCount = 8;

// The texts a piece of each kind can show, by index (the dates excepted).
std::vector<std::string> TextsOfKind(cycle::PieceKind kind) {
    std::vector<std::string> texts;
    switch (kind) {
    case cycle::PieceKind::Empty: texts.push_back(""); break;
    case cycle::PieceKind::Position:
        for (int p = 0; p < 60; ++p) texts.push_back(std::to_string(p + 1));
        break;
    case cycle::PieceKind::StemLetter:
        for (int s = 0; s < 10; ++s) texts.push_back(cycle::StemLetter(s));
        break;
    case cycle::PieceKind::StemName:
        for (int s = 0; s < 10; ++s) texts.push_back(cycle::StemText(s));
        break;
    case cycle::PieceKind::BranchLetter:
        for (int b = 0; b < 12; ++b) texts.push_back(cycle::BranchLetter(b));
        break;
    case cycle::PieceKind::BranchName:
        for (int b = 0; b < 12; ++b) texts.push_back(cycle::BranchText(b));
        break;
    case cycle::PieceKind::YearStart:
    case cycle::PieceKind::Solstice: break;
    }
    return texts;
}

// For every field and every text it can show: the whole JSON member with the comma before
// it, and the whole table cell with its tab, so that a row copies one piece per field.
struct FieldTables {
    using ByKind = std::array<std::vector<ShortText>, KindCount>;
    std::array<ByKind, cycle::ResultFieldCount> json, table;
    std::array<std::string, cycle::ResultFieldCount> keys;  // ,"Name":
    // The cycle objects {"pos60":p,"stem":p mod 10,"branch":p mod 12,"stemChar":…} in two
    // pieces, the numbers and the characters, and the pillar cells "戊寅 15".
    std::array<ShortText, 60> cycles, cycleChars, pillars;
    // The end of the hour object, ,"branchChar":"子", and the hour's pillar with the line end.
    std::array<ShortText, 12> hourChars, hourPillars;

    FieldTables() {
        for (std::size_t f = 0; f < cycle::ResultFieldCount; ++f) {
            keys[f] = (f > 0 ? "," : "") + JsonString(cycle::ResultFieldNames[f]) + ":";
            for (std::size_t kind = 0; kind < KindCount; ++kind) {
                for (const std::string& t : TextsOfKind(static_cast<cycle::PieceKind>(kind))) {
                    json[f][kind].push_back(ShortText::From(keys[f] + JsonString(t)));
                    table[f][kind].push_back(ShortText::From("\t" + t));
                }
            }
        }
        for (int p = 0; p < 60; ++p) {
            const std::string_view stem = cycle::StemCharacter(p % 10);
            const std::string_view branch = cycle::BranchCharacter(p % 12);
            cycles[p] = ShortText::From("{\"pos60\":" + std::to_string(p) + ",\"stem\":" +
                                        std::to_string(p % 10) + ",\"branch\":" +
                                        std::to_string(p % 12));
            cycleChars[p] = ShortText::From(",\"stemChar\":" + JsonString(stem) +
                                            ",\"branchChar\":" + JsonString(branch) + "}");
            pillars[p] = ShortText::From(PillarCell(stem, branch, std::to_string(p + 1)));
        }
        for (int b = 0; b < 12; ++b) {
            const std::string_view branch = cycle::BranchCharacter(b);
            hourChars[b] = ShortText::From(",\"branchChar\":" + JsonString(branch));
            hourPillars[b] = ShortText::From(std::string(branch) + "\n");
        }
    }
};

const FieldTables& Tables() {
    static const FieldTables tables;
    return tables;
}

}  // namespace

ShortText ShortText::From(std::string_view text) {
    if (text.size() > Capacity) throw std::logic_error("text too long for a row piece");
    ShortText t{};
    std::memcpy(t.bytes, text.data(), text.size());
    t.size = static_cast<std::uint8_t>(text.size());
    return t;
}

BatchWriter::BatchWriter(std::ostream& out, OutputFormat format, std::size_t dateWidth)
    : out_(out),
      format_(format),
      dateWidth_(dateWidth),
      buffer_(std::make_unique<char[]>(FlushAt + RowRoom)) {}

BatchWriter::~BatchWriter() = default;

void BatchWriter::Flush() {
    out_.write(buffer_.get(), static_cast<std::streamsize>(used_));
    used_ = 0;
}

void BatchWriter::AppendInt(int value) {
    char* const at = buffer_.get() + used_;
    if (value >= 0 && value < 10) {
        *at = static_cast<char>('0' + value);
        ++used_;
        return;
    }
    const auto [end, ec] = std::to_chars(at, at + 16, value);
    used_ = static_cast<std::size_t>(end - buffer_.get());
}

void BatchWriter::PadFrom(std::size_t start, std::size_t width) {
    const std::size_t written = used_ - start;
    if (written >= width) return;
    std::memset(buffer_.get() + used_, ' ', width - written);
    used_ += width - written;
}

void BatchWriter::Header() {
    if (format_ == OutputFormat::Json) return;
    if (format_ == OutputFormat::Table) {
        Append(PillarHeader(dateWidth_));
        return;
    }
    Append("Datum\tStunde");
    for (const std::string_view name : cycle::ResultFieldNames) {
        Append("\t");
        Append(name);
    }
    Append("\n");
}

// The year-start and solstice texts change a few times a year; they are made anew only then.
void BatchWriter::Refresh(const cycle::CycleCalculator& c) {
    Dated& y = yearStart_;
    if (!y.valid || y.day != c.YearStartDay || y.month != c.YearStartMonth ||
        y.year != c.YearStartYear) {
        y = {c.YearStartDay, c.YearStartMonth, c.YearStartYear, 0, true, {}, {}, {}};
        y.text = cycle::YearStartText(y.day, y.month, y.year);
        y.quoted = JsonString(y.text);
    }
    Dated& s = solstice_;
    const int day = cycle::WholeDay(c.SolsticeDate);
    if (!s.valid || s.jd != c.SolsticeJD || s.day != day || s.month != c.SolsticeDate.Month ||
        s.year != c.SolsticeDate.Year) {
        s = {day, c.SolsticeDate.Month, c.SolsticeDate.Year, c.SolsticeJD, true, {}, {}, {}};
        s.text = cycle::SolsticeText(s.day, s.month, s.year);
        s.quoted = JsonString(s.text);
        s.jdText = JsonNumber(s.jd);
    }
}

void BatchWriter::Row(const cycle::CycleCalculator& c) {
    Refresh(c);
    switch (format_) {
    case OutputFormat::Json: JsonRow(c); break;
    case OutputFormat::Fields: FieldsRow(c); break;
    case OutputFormat::Table: PillarRow(c); break;
    }
    if (used_ >= FlushAt) Flush();
}

void BatchWriter::AppendDateObject(int day, int month, int year) {
    Append("{\"day\":");
    AppendInt(day);
    Append(",\"month\":");
    AppendInt(month);
    Append(",\"year\":");
    AppendInt(year);
    Append("}");
}

// One field of a row: its JSON member (with the comma before it) or its table cell.
void BatchWriter::AppendField(std::size_t field, const cycle::ResultPiece& piece) {
    if (piece.kind == cycle::PieceKind::YearStart || piece.kind == cycle::PieceKind::Solstice) {
        const Dated& date = piece.kind == cycle::PieceKind::YearStart ? yearStart_ : solstice_;
        if (format_ == OutputFormat::Json) {
            Append(Tables().keys[field]);
            Append(date.quoted);
        } else {
            Append("\t");
            Append(date.text);
        }
        return;
    }
    const FieldTables& t = Tables();
    const auto& byKind = format_ == OutputFormat::Json ? t.json[field] : t.table[field];
    Append(byKind[static_cast<std::size_t>(piece.kind)].at(static_cast<std::size_t>(piece.index)));
}

void BatchWriter::JsonRow(const cycle::CycleCalculator& c) {
    const FieldTables& t = Tables();
    Append("{\"input\":{\"hour\":");
    AppendInt(c.InputHour);
    Append(",\"day\":");
    AppendInt(c.InputDay);
    Append(",\"month\":");
    AppendInt(c.InputMonth);
    Append(",\"year\":");
    AppendInt(c.InputYear);
    Append("},\"yearStart\":");
    AppendDateObject(yearStart_.day, yearStart_.month, yearStart_.year);
    Append(",\"solstice\":");
    AppendDateObject(solstice_.day, solstice_.month, solstice_.year);
    Append(",\"solsticeJD\":");
    Append(solstice_.jdText);
    Append(",\"hour\":{\"branch\":");
    AppendInt(c.HourBranch);
    Append(t.hourChars.at(c.HourBranch));
    // Stem and branch are a cycle position taken modulo 10 and 12, so the table of
    // positions holds every cycle object.
    Append("},\"day\":");
    Append(t.cycles.at(c.DayPos60));
    Append(t.cycleChars.at(c.DayPos60));
    Append(",\"month\":");
    Append(t.cycles.at(c.MonthPos60));
    Append(t.cycleChars.at(c.MonthPos60));
    Append(",\"year\":");
    Append(t.cycles.at(c.YearPos60));
    Append(t.cycleChars.at(c.YearPos60));
    Append(",\"texts\":{");
    const cycle::ResultPieces pieces = c.Pieces();
    for (std::size_t i = 0; i < cycle::ResultFieldCount; ++i) AppendField(i, pieces[i]);
    Append("}}\n");
}

void BatchWriter::FieldsRow(const cycle::CycleCalculator& c) {
    AppendInt(c.InputDay);
    Append(".");
    AppendInt(c.InputMonth);
    Append(".");
    AppendInt(c.InputYear);
    Append("\t");
    AppendInt(c.InputHour);
    const cycle::ResultPieces pieces = c.Pieces();
    for (std::size_t i = 0; i < cycle::ResultFieldCount; ++i) AppendField(i, pieces[i]);
    Append("\n");
}

void BatchWriter::PillarRow(const cycle::CycleCalculator& c) {
    const FieldTables& t = Tables();
    std::size_t start = used_;
    AppendInt(c.InputDay);
    Append(".");
    AppendInt(c.InputMonth);
    Append(".");
    AppendInt(c.InputYear);
    PadFrom(start, dateWidth_);
    Append(PillarGap);
    start = used_;
    AppendInt(c.InputHour);
    PadFrom(start, PillarHourWidth);
    Append(PillarGap);
    Append(t.pillars.at(c.YearPos60));
    Append(t.pillars.at(c.MonthPos60));
    Append(t.pillars.at(c.DayPos60));
    Append(t.hourPillars.at(c.HourBranch));
}

}  // namespace cli
