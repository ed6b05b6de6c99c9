// SPDX-License-Identifier: GPL-3.0-or-later
// A calculator front end for tests: input texts set by the test, result texts recorded.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "cycle/view.h"

namespace testing_support {

class FakeView : public cycle::CalculatorView {
public:
    std::string Text(cycle::InputField field) const override {
        const auto it = inputs.find(std::string(cycle::NameOf(field)));
        return it == inputs.end() ? std::string() : it->second;
    }
    void SetText(cycle::ResultField field, const std::string& text) override {
        results[std::string(cycle::NameOf(field))] = text;
        writes.emplace_back(cycle::NameOf(field));
    }
    void SetBusy(bool busy) override { busyCalls.push_back(busy); }

    void SetInput(const std::string& hour, const std::string& day, const std::string& month,
                  const std::string& year) {
        inputs["SEdit"] = hour;
        inputs["TEdit"] = day;
        inputs["MEdit"] = month;
        inputs["JEdit"] = year;
    }
    void SetInput(int hour, int day, int month, int year) {
        SetInput(std::to_string(hour), std::to_string(day), std::to_string(month),
                 std::to_string(year));
    }
    const std::string& Result(const std::string& field) { return results[field]; }

    std::map<std::string, std::string> inputs;
    std::map<std::string, std::string> results;
    std::vector<std::string> writes;
    std::vector<bool> busyCalls;
};

}  // namespace testing_support
