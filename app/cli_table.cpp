// SPDX-License-Identifier: GPL-3.0-or-later
// The window's table and the pillar lines of tolvane-cli, laid out in terminal cells.
#include "app/cli_table.h"

#include <locale.h>
#include <wchar.h>

#include <algorithm>
#include <array>
#include <vector>

#include "cycle/names.h"

namespace cli {

namespace {

using cycle::ResultField;

// Kuhn's wcwidth for the wide characters: East Asian wide and fullwidth ranges.
bool IsWide(char32_t c) {
    return c >= 0x1100 &&
           (c <= 0x115f || c == 0x2329 || c == 0x232a ||
            (c >= 0x2e80 && c <= 0xa4cf && c != 0x303f) ||
            (c >= 0xac00 && c <= 0xd7a3) || (c >= 0xf900 && c <= 0xfaff) ||
            (c >= 0xfe30 && c <= 0xfe6f) || (c >= 0xff00 && c <= 0xff60) ||
            (c >= 0xffe0 && c <= 0xffe6) || (c >= 0x1f300 && c <= 0x1f64f) ||
            (c >= 0x1f900 && c <= 0x1f9ff) || (c >= 0x20000 && c <= 0x2fffd) ||
            (c >= 0x30000 && c <= 0x3fffd));
}

// The C library's wcwidth in a UTF-8 locale, whatever locale the program runs in (the
// output is UTF-8 always). Without such a locale: the wide ranges, no combining marks but
// the common diacritics.
std::size_t CodePointWidth(char32_t c) {
    static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    if (utf8 != static_cast<locale_t>(0)) {
        const locale_t previous = uselocale(utf8);
        const int w = ::wcwidth(static_cast<wchar_t>(c));
        uselocale(previous);
        return w > 0 ? static_cast<std::size_t>(w) : 0;
    }
    if (c < 0x20 || (c >= 0x7f && c < 0xa0) || (c >= 0x300 && c <= 0x36f)) return 0;
    return IsWide(c) ? 2 : 1;
}

// Cells between two columns of the window's table.
constexpr std::string_view Gap = "   ";
constexpr std::size_t PillarWidth = 7;  // "戊寅 60"

void PadTo(std::string& text, std::size_t width) {
    const std::size_t has = DisplayWidth(text);
    if (has < width) text.append(width - has, ' ');
}

std::string Padded(std::string text, std::size_t width) {
    PadTo(text, width);
    return text;
}

// A character of the window's glyph font: the real one for its letter; a text that is no
// glyph letter stays as it is.
std::string_view Character(std::string_view letter) {
    const std::string_view c = cycle::CharacterOfLetter(letter);
    return c.empty() ? letter : c;
}

// A glyph field and its name field in one cell: "己  6  fruchtbare Erde".
std::string GlyphCell(const CliView& view, ResultField glyph, ResultField name) {
    std::string cell(Character(view.Result(glyph)));
    const std::string& text = view.Result(name);
    if (!cell.empty() && !text.empty()) cell += "  ";
    return cell + text;
}

struct TableRow {
    std::string_view caption;
    std::string position;  // the hour has none
    ResultField stem, stemName, branch, branchName;
};

void WriteAligned(std::ostream& out, const std::vector<std::array<std::string, 4>>& rows) {
    std::array<std::size_t, 4> widths{};
    for (const auto& row : rows)
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], DisplayWidth(row[c]));
    // Where each column ends, in cells from the start of the line.
    std::array<std::size_t, 4> ends{};
    std::size_t end = 0;
    for (std::size_t c = 0; c < widths.size(); ++c) {
        end += widths[c];
        ends[c] = end;
        end += Gap.size();
    }
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            line += row[c];
            if (c + 1 == row.size()) break;
            PadTo(line, ends[c]);
            line += Gap;
        }
        // An empty last cell leaves no blanks at the end of the line.
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << '\n';
    }
}

}  // namespace

std::size_t DisplayWidth(std::string_view text) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            width += lead >= 0x20 && lead != 0x7f ? 1 : 0;
            ++i;
            continue;
        }
        const std::size_t length = (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xe ? 3
                                 : (lead >> 3) == 0x1e ? 4 : 0;
        char32_t c = lead & (0x7fu >> length);
        bool valid = length > 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xc0) == 0x80;
            c = c << 6 | (next & 0x3fu);
        }
        // A stray byte takes the one cell of the replacement character a terminal shows.
        width += valid ? CodePointWidth(c) : 1;
        i += valid ? length : 1;
    }
    return width;
}

void WriteWindowTable(std::ostream& out, const cycle::CycleInput& input, const CliView& view) {
    const TableRow rows[] = {
        {"Std.-Rhythmus", "", ResultField::StemSEdit, ResultField::StemSEdit2,
         ResultField::BranchSEdit, ResultField::BranchSEdit2},
        {"Tages-Rhythmus", view.Result(ResultField::T60Edit), ResultField::StemTEdit,
         ResultField::StemTEdit2, ResultField::BranchTEdit, ResultField::BranchTEdit2},
        {"Monats-Rhythmus", view.Result(ResultField::M60Edit), ResultField::StemMEdit,
         ResultField::StemMEdit2, ResultField::BranchMEdit, ResultField::BranchMEdit2},
        {"Jahres-Rhythmus", view.Result(ResultField::J60Edit), ResultField::StemJEdit,
         ResultField::StemJEdit2, ResultField::BranchJEdit, ResultField::BranchJEdit2},
    };
    std::vector<std::array<std::string, 4>> cells = {
        {"", "Periode 60", "himmlische Zeichen", "irdische Zeichen"}};
    for (const TableRow& r : rows) {
        cells.push_back({std::string(r.caption), r.position,
                         GlyphCell(view, r.stem, r.stemName),
                         GlyphCell(view, r.branch, r.branchName)});
    }
    out << cycle::DateText(input.day, input.month, input.year) << ", " << input.hour << " Uhr\n";
    WriteAligned(out, cells);
    out << view.Result(ResultField::JstLabel) << '\n' << view.Result(ResultField::SoLabel) << '\n';
}

std::size_t PillarDateWidth(const cycle::CycleInput& from, const cycle::CycleInput& to) {
    // "31.12." and the longer year: years between the two ends have no more digits.
    return 6 + std::max(std::to_string(from.year).size(), std::to_string(to.year).size());
}

std::string PillarHeader(std::size_t dateWidth) {
    std::string line = Padded("Datum", dateWidth);
    line += PillarGap;
    line += Padded("Uhr", PillarHourWidth);
    for (const char* pillar : {"Jahr", "Monat", "Tag"}) {
        line += PillarGap;
        line += Padded(pillar, PillarWidth);
    }
    return line + std::string(PillarGap) + "Stunde\n";
}

std::string PillarDateAndHour(const cycle::CycleInput& input, std::size_t dateWidth) {
    std::string text = Padded(cycle::DateText(input.day, input.month, input.year), dateWidth);
    text += PillarGap;
    text += Padded(std::to_string(input.hour), PillarHourWidth);
    return text + std::string(PillarGap);
}

std::string PillarCell(std::string_view stem, std::string_view branch, std::string_view position) {
    std::string cell(stem);
    cell += branch;
    cell += ' ';
    cell += position;
    PadTo(cell, PillarWidth);
    return cell + std::string(PillarGap);
}

void WritePillarLine(std::ostream& out, const cycle::CycleInput& input, const CliView& view,
                     std::size_t dateWidth) {
    auto pillar = [&view](ResultField stem, ResultField branch, ResultField position) {
        return PillarCell(Character(view.Result(stem)), Character(view.Result(branch)),
                          view.Result(position));
    };
    out << PillarDateAndHour(input, dateWidth)
        << pillar(ResultField::StemJEdit, ResultField::BranchJEdit, ResultField::J60Edit)
        << pillar(ResultField::StemMEdit, ResultField::BranchMEdit, ResultField::M60Edit)
        << pillar(ResultField::StemTEdit, ResultField::BranchTEdit, ResultField::T60Edit)
        << Character(view.Result(ResultField::BranchSEdit)) << '\n';
}

}  // namespace cli
