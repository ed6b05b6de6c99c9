// Writing the rows of a range of days directly into one buffer.
#include "app/cli_batch.h"

#include <charconv>
#include <vector>

#include "app/cli_output.h"
#include "cycle/names.h"
#include "cycle/view.h"

namespace cli {

namespace {

constexpr std::size_t FlushAt = 1 << 16;

// Every text a row can show apart from the two dates, as shown and as a JSON string.
struct Text {
    std::string shown, quoted;
};

Text MakeText(std::string shown) {
    std::string quoted = JsonString(shown);
    return {std::move(shown), std::move(quoted)};
}

struct Texts {
    std::vector<Text> positions;  // index p: the number p + 1
    std::vector<Text> stemLetters, stemNames, branchLetters, branchNames;
    Text empty = MakeText("");

    Texts() {
        for (int p = 0; p < 60; ++p) positions.push_back(MakeText(std::to_string(p + 1)));
        for (int s = 0; s < 10; ++s) {
            stemLetters.push_back(MakeText(cycle::StemLetter(s)));
            stemNames.push_back(MakeText(cycle::StemText(s)));
        }
        for (int b = 0; b < 12; ++b) {
            branchLetters.push_back(MakeText(cycle::BranchLetter(b)));
            branchNames.push_back(MakeText(cycle::BranchText(b)));
        }
    }
};

const Texts& AllTexts() {
    static const Texts texts;
    return texts;
}

// The keys of the JSON "texts" object, each with its colon: "\"JstLabel\":".
const std::array<std::string, cycle::ResultFieldCount>& TextKeys() {
    static const auto keys = [] {
        std::array<std::string, cycle::ResultFieldCount> k;
        for (std::size_t i = 0; i < k.size(); ++i) k[i] = JsonString(cycle::ResultFieldNames[i]) + ":";
        return k;
    }();
    return keys;
}

}  // namespace

BatchWriter::BatchWriter(std::ostream& out, bool json) : out_(out), json_(json) {
    buffer_.reserve(FlushAt + 4096);
}

BatchWriter::~BatchWriter() = default;

void BatchWriter::Flush() {
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
}

void BatchWriter::AppendInt(int value) {
    char digits[16];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
    buffer_.append(digits, end);
}

void BatchWriter::Header() {
    if (json_) return;
    Append("Datum\tStunde");
    for (const std::string_view name : cycle::ResultFieldNames) {
        Append("\t");
        Append(name);
    }
    Append("\n");
}

const BatchWriter::Cached& BatchWriter::YearStart(const cycle::CycleCalculator& c) {
    Cached& y = yearStart_;
    if (!y.valid || y.day != c.YearStartDay || y.month != c.YearStartMonth ||
        y.year != c.YearStartYear) {
        y = {c.YearStartDay, c.YearStartMonth, c.YearStartYear, 0, true, {}, {}, {}};
        y.text = cycle::YearStartText(y.day, y.month, y.year);
        y.quoted = JsonString(y.text);
    }
    return y;
}

const BatchWriter::Cached& BatchWriter::Solstice(const cycle::CycleCalculator& c) {
    Cached& s = solstice_;
    const int day = cycle::WholeDay(c.SolsticeDate);
    if (!s.valid || s.jd != c.SolsticeJD || s.day != day || s.month != c.SolsticeDate.Month ||
        s.year != c.SolsticeDate.Year) {
        s = {day, c.SolsticeDate.Month, c.SolsticeDate.Year, c.SolsticeJD, true, {}, {}, {}};
        s.text = cycle::SolsticeText(s.day, s.month, s.year);
        s.quoted = JsonString(s.text);
        s.jdText = JsonNumber(s.jd);
    }
    return s;
}

void BatchWriter::Row(const cycle::CycleCalculator& c) {
    if (json_) JsonRow(c);
    else TableRow(c);
    if (buffer_.size() >= FlushAt) Flush();
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

void BatchWriter::AppendCycle(int pos60, int stem, int branch) {
    Append("{\"pos60\":");
    AppendInt(pos60);
    Append(",\"stem\":");
    AppendInt(stem);
    Append(",\"branch\":");
    AppendInt(branch);
    Append("}");
}

// The text of a piece from the tables, shown or as a JSON string.
std::string_view BatchWriter::Lookup(const cycle::ResultPiece& piece, const Cached& yearStart,
                                     const Cached& solstice, bool quoted) {
    const Texts& t = AllTexts();
    const Text* text = &t.empty;
    switch (piece.kind) {
    case cycle::PieceKind::Empty: break;
    case cycle::PieceKind::YearStart: return quoted ? yearStart.quoted : yearStart.text;
    case cycle::PieceKind::Solstice: return quoted ? solstice.quoted : solstice.text;
    case cycle::PieceKind::Position: text = &t.positions.at(piece.index); break;
    case cycle::PieceKind::StemLetter: text = &t.stemLetters.at(piece.index); break;
    case cycle::PieceKind::StemName: text = &t.stemNames.at(piece.index); break;
    case cycle::PieceKind::BranchLetter: text = &t.branchLetters.at(piece.index); break;
    case cycle::PieceKind::BranchName: text = &t.branchNames.at(piece.index); break;
    }
    return quoted ? text->quoted : text->shown;
}

void BatchWriter::JsonRow(const cycle::CycleCalculator& c) {
    const Cached& ys = YearStart(c);
    const Cached& so = Solstice(c);
    Append("{\"input\":{\"hour\":");
    AppendInt(c.InputHour);
    Append(",\"day\":");
    AppendInt(c.InputDay);
    Append(",\"month\":");
    AppendInt(c.InputMonth);
    Append(",\"year\":");
    AppendInt(c.InputYear);
    Append("},\"yearStart\":");
    AppendDateObject(ys.day, ys.month, ys.year);
    Append(",\"solstice\":");
    AppendDateObject(so.day, so.month, so.year);
    Append(",\"solsticeJD\":");
    Append(so.jdText);
    Append(",\"hour\":{\"branch\":");
    AppendInt(c.HourBranch);
    Append("},\"day\":");
    AppendCycle(c.DayPos60, c.DayStem, c.DayBranch);
    Append(",\"month\":");
    AppendCycle(c.MonthPos60, c.MonthStem, c.MonthBranch);
    Append(",\"year\":");
    AppendCycle(c.YearPos60, c.YearStem, c.YearBranch);
    const cycle::ResultPieces pieces = c.Pieces();
    const auto& keys = TextKeys();
    Append(",\"texts\":{");
    for (std::size_t i = 0; i < cycle::ResultFieldCount; ++i) {
        if (i > 0) Append(",");
        Append(keys[i]);
        Append(Lookup(pieces[i], ys, so, true));
    }
    Append("}}\n");
}

void BatchWriter::TableRow(const cycle::CycleCalculator& c) {
    const Cached& ys = YearStart(c);
    const Cached& so = Solstice(c);
    AppendInt(c.InputDay);
    Append(".");
    AppendInt(c.InputMonth);
    Append(".");
    AppendInt(c.InputYear);
    Append("\t");
    AppendInt(c.InputHour);
    const cycle::ResultPieces pieces = c.Pieces();
    for (const cycle::ResultPiece& piece : pieces) {
        Append("\t");
        Append(Lookup(piece, ys, so, false));
    }
    Append("\n");
}

}  // namespace cli
