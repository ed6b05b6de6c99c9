// The calculator's narrow window onto its front ends: the texts of the four input fields
// in, the texts of the result fields out, and a busy indication while it computes. The
// window, the command-line front end and the tests implement it.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace cycle {

// Input fields: hour, day, month, year.
inline constexpr std::string_view SEdit = "SEdit";
inline constexpr std::string_view TEdit = "TEdit";
inline constexpr std::string_view MEdit = "MEdit";
inline constexpr std::string_view JEdit = "JEdit";

// The result fields in the order in which they are written and emptied.
inline constexpr std::array<std::string_view, 21> ResultFields = {
    "JstLabel",     "SoLabel",      "T60Edit",      "M60Edit",      "J60Edit",
    "StemSEdit",    "StemTEdit",    "StemMEdit",    "StemJEdit",    "StemSEdit2",
    "StemTEdit2",   "StemMEdit2",   "StemJEdit2",   "BranchSEdit",  "BranchTEdit",
    "BranchMEdit",  "BranchJEdit",  "BranchSEdit2", "BranchTEdit2", "BranchMEdit2",
    "BranchJEdit2",
};

class CalculatorView {
public:
    virtual ~CalculatorView() = default;

    // The current text of an input field (SEdit, TEdit, MEdit, JEdit), UTF-8.
    virtual std::string Text(std::string_view field) const = 0;
    // Sets the text of a result field, UTF-8.
    virtual void SetText(std::string_view field, const std::string& text) = 0;
    // Called with true before the searches run and with false when they end, however
    // they end; a window shows the busy cursor meanwhile.
    virtual void SetBusy(bool /*busy*/) {}
};

}  // namespace cycle
