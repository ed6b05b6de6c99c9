// The calculator's view for the command line: the input and result fields are plain texts
// in a map.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "cycle/view.h"

namespace cli {

class CliView : public cycle::CalculatorView {
public:
    // A field never written reads as empty, as an empty edit field does.
    std::string Text(std::string_view field) const override;
    void SetText(std::string_view field, const std::string& text) override;

private:
    std::map<std::string, std::string, std::less<>> fields_;
};

}  // namespace cli
