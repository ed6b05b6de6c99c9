// SPDX-License-Identifier: GPL-3.0-or-later
// The kinds of content our reader cannot keep.
#include "editor/formats/rtf_unkept.h"

#include <utility>

namespace editor {

QString UnkeptKind(std::string_view destination) {
    static constexpr std::pair<std::string_view, const char*> kKinds[] = {
        {"object", "eingebettete Objekte"},
        {"shp", "Zeichnungen"},  // one that showed nothing
        {"shpgrp", "Zeichnungen"},
        {"do", "Zeichnungen"},
        {"header", "Kopf- und Fußzeilen"},
        {"headerl", "Kopf- und Fußzeilen"},
        {"headerr", "Kopf- und Fußzeilen"},
        {"headerf", "Kopf- und Fußzeilen"},
        {"footer", "Kopf- und Fußzeilen"},
        {"footerl", "Kopf- und Fußzeilen"},
        {"footerr", "Kopf- und Fußzeilen"},
        {"footerf", "Kopf- und Fußzeilen"},
        {"annotation", "Kommentare"},
        {"mmath", "Formeln"},
    };
    for (const auto& [name, kind] : kKinds) {
        if (name == destination) return QString::fromUtf8(kind);
    }
    return {};
}

}  // namespace editor
