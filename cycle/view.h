// SPDX-License-Identifier: GPL-3.0-or-later
// The calculator's narrow window onto its front ends: the texts of the four input fields
// in, the texts of the result fields out, and a busy indication while it computes. The
// window, the command-line front end and the tests implement it. The fields are named
// once, here: the window's controls and the command line's JSON keys take these names.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace cycle {

// Input fields: hour, day, month, year.
enum class InputField { SEdit, TEdit, MEdit, JEdit };

inline constexpr std::array<InputField, 4> InputFields = {InputField::SEdit, InputField::TEdit,
                                                          InputField::MEdit, InputField::JEdit};
inline constexpr std::array<std::string_view, 4> InputFieldNames = {"SEdit", "TEdit", "MEdit",
                                                                    "JEdit"};

// The result fields, in the order in which they are written and emptied.
enum class ResultField {
    JstLabel, SoLabel, T60Edit, M60Edit, J60Edit,
    StemSEdit, StemTEdit, StemMEdit, StemJEdit,
    StemSEdit2, StemTEdit2, StemMEdit2, StemJEdit2,
    BranchSEdit, BranchTEdit, BranchMEdit, BranchJEdit,
    BranchSEdit2, BranchTEdit2, BranchMEdit2, BranchJEdit2,
};

inline constexpr std::size_t ResultFieldCount = 21;

inline constexpr std::array<std::string_view, ResultFieldCount> ResultFieldNames = {
    "JstLabel",     "SoLabel",      "T60Edit",      "M60Edit",      "J60Edit",
    "StemSEdit",    "StemTEdit",    "StemMEdit",    "StemJEdit",    "StemSEdit2",
    "StemTEdit2",   "StemMEdit2",   "StemJEdit2",   "BranchSEdit",  "BranchTEdit",
    "BranchMEdit",  "BranchJEdit",  "BranchSEdit2", "BranchTEdit2", "BranchMEdit2",
    "BranchJEdit2",
};

inline constexpr std::array<ResultField, ResultFieldCount> ResultFields = [] {
    std::array<ResultField, ResultFieldCount> all{};
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<ResultField>(i);
    return all;
}();

constexpr std::size_t IndexOf(InputField f) { return static_cast<std::size_t>(f); }
constexpr std::size_t IndexOf(ResultField f) { return static_cast<std::size_t>(f); }
constexpr std::string_view NameOf(InputField f) { return InputFieldNames[IndexOf(f)]; }
constexpr std::string_view NameOf(ResultField f) { return ResultFieldNames[IndexOf(f)]; }

class CalculatorView {
public:
    virtual ~CalculatorView() = default;

    // The current text of an input field, UTF-8.
    virtual std::string Text(InputField field) const = 0;
    // Sets the text of a result field, UTF-8.
    virtual void SetText(ResultField field, const std::string& text) = 0;
    // Called with true before the searches run and with false when they end, however
    // they end; a window shows the busy cursor meanwhile.
    virtual void SetBusy(bool /*busy*/) {}
};

}  // namespace cycle
