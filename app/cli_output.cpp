// SPDX-License-Identifier: GPL-3.0-or-later
// Text and JSON output of tolvane-cli. The JSON is written by hand: its shape is fixed and
// small, and the program then needs no JSON library.
#include "app/cli_output.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "cycle/names.h"

namespace cli {

std::string JsonString(std::string_view text) {
    std::string s = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"': s += "\\\""; break;
        case '\\': s += "\\\\"; break;
        case '\b': s += "\\b"; break;
        case '\f': s += "\\f"; break;
        case '\n': s += "\\n"; break;
        case '\r': s += "\\r"; break;
        case '\t': s += "\\t"; break;
        default:
            if (u < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", u);
                s += buf;
            } else {
                s += c;  // bytes of UTF-8 sequences included
            }
        }
    }
    return s + "\"";
}

std::string JsonNumber(double x) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.17g", x);
    return buf;
}

namespace {

// Builds one compact object member by member, in the order they are added.
class JsonObject {
public:
    JsonObject& Add(std::string_view key, std::string_view rawValue) {
        text_ += text_.size() > 1 ? "," : "";
        text_ += JsonString(key);
        text_ += ':';
        text_ += rawValue;
        return *this;
    }
    JsonObject& Add(std::string_view key, std::int32_t value) {
        return Add(key, std::to_string(value));
    }
    std::string Close() const { return text_ + "}"; }

private:
    std::string text_ = "{";
};

std::string Date(std::int32_t day, std::int32_t month, std::int32_t year) {
    return JsonObject().Add("day", day).Add("month", month).Add("year", year).Close();
}

std::string Cycle(std::int32_t pos60, std::int32_t stem, std::int32_t branch) {
    return JsonObject()
        .Add("pos60", pos60)
        .Add("stem", stem)
        .Add("branch", branch)
        .Add("stemChar", JsonString(cycle::StemCharacter(stem)))
        .Add("branchChar", JsonString(cycle::BranchCharacter(branch)))
        .Close();
}

std::string Texts(const CliView& view) {
    JsonObject texts;
    for (const cycle::ResultField field : cycle::ResultFields) {
        texts.Add(cycle::NameOf(field), JsonString(view.Result(field)));
    }
    return texts.Close();
}

}  // namespace

std::string JsonLine(const cycle::CycleCalculator& c, const CliView& view) {
    const std::int32_t solsticeDay = cycle::WholeDay(c.SolsticeDate);
    const std::string input = JsonObject()
                                  .Add("hour", c.InputHour)
                                  .Add("day", c.InputDay)
                                  .Add("month", c.InputMonth)
                                  .Add("year", c.InputYear)
                                  .Close();
    return JsonObject()
        .Add("input", input)
        .Add("yearStart", Date(c.YearStartDay, c.YearStartMonth, c.YearStartYear))
        .Add("solstice", Date(solsticeDay, c.SolsticeDate.Month, c.SolsticeDate.Year))
        .Add("solsticeJD", JsonNumber(c.SolsticeJD))
        .Add("hour", JsonObject()
                         .Add("branch", c.HourBranch)
                         .Add("branchChar", JsonString(cycle::BranchCharacter(c.HourBranch)))
                         .Close())
        .Add("day", Cycle(c.DayPos60, c.DayStem, c.DayBranch))
        .Add("month", Cycle(c.MonthPos60, c.MonthStem, c.MonthBranch))
        .Add("year", Cycle(c.YearPos60, c.YearStem, c.YearBranch))
        .Add("texts", Texts(view))
        .Close();
}

void WriteNamedTexts(std::ostream& out, const CliView& view) {
    for (const cycle::ResultField field : cycle::ResultFields) {
        out << cycle::NameOf(field) << '\t' << view.Result(field) << '\n';
    }
}

void WriteTableHeader(std::ostream& out) {
    out << "Datum\tStunde";
    for (const std::string_view name : cycle::ResultFieldNames) out << '\t' << name;
    out << '\n';
}

void WriteTableRow(std::ostream& out, const cycle::CycleInput& input, const CliView& view) {
    out << input.day << '.' << input.month << '.' << input.year << '\t' << input.hour;
    for (const cycle::ResultField field : cycle::ResultFields) out << '\t' << view.Result(field);
    out << '\n';
}

}  // namespace cli
