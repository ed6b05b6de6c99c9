// The notes window's section [Editor] of the settings file: read into the hidden window on
// the calculator window's first activation, written by the calculator's end command.
#pragma once

#include <QString>
#include <vector>

#include "platform/ini_file.h"

namespace editor {

class TEditForm;

// The default values of the keys that are not the file name.
struct EditorDefaults {
    static constexpr int Left = 0;
    static constexpr int Top = 0;
    static constexpr int Height = 402;
    static constexpr int Width = 579;
    static constexpr bool WordWrap = true;
    static constexpr int FontSize = 10;
    static inline const QString FontName = QStringLiteral("Arial");
};

// Bounds, caret place, word wrap, file name, search text, backup switch and base font from
// `settings`; a missing key or a value that does not convert gives its default. A file name
// that names no existing file gives `defaultNotesFile`.
void LoadEditorSettings(TEditForm& form, const platform::IniDocument& settings,
                        const QString& defaultNotesFile);

// The eleven keys in the order they are written; the bounds are the window's, shown or not.
std::vector<platform::IniEntry> SaveEditorSettings(const TEditForm& form);

}  // namespace editor
