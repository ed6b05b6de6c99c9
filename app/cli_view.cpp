// The command line's field map.
#include "app/cli_view.h"

namespace cli {

std::string CliView::Text(std::string_view field) const {
    const auto it = fields_.find(field);
    return it == fields_.end() ? std::string() : it->second;
}

void CliView::SetText(std::string_view field, const std::string& text) {
    fields_.insert_or_assign(std::string(field), text);
}

}  // namespace cli
