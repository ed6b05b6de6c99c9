// SPDX-License-Identifier: GPL-3.0-or-later
// The calculator's view for the command line: the result texts in an array by field. The
// command line hands the calculator numbers, so the input fields are never read.
#pragma once

#include <array>
#include <string>

#include "cycle/view.h"

namespace cli {

class CliView : public cycle::CalculatorView {
public:
    std::string Text(cycle::InputField) const override { return {}; }
    void SetText(cycle::ResultField field, const std::string& text) override {
        results_[cycle::IndexOf(field)] = text;
    }

    const std::string& Result(cycle::ResultField field) const {
        return results_[cycle::IndexOf(field)];
    }

private:
    std::array<std::string, cycle::ResultFieldCount> results_;
};

}  // namespace cli
