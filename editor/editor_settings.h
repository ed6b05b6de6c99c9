// SPDX-License-Identifier: GPL-3.0-or-later
// The notes window's settings as one value: what the section [Editor] of the settings file
// keeps from one run to the next, and the print margins. Read into the hidden window on the
// calculator window's first activation, written by the calculator's end command.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <cstdint>
#include <vector>

#include "platform/ini_file.h"

namespace editor {

class TEditForm;

struct EditorSettings {
    // Left, Top, Width, Height of the window, shown or not; applied through
    // platform::ApplyStoredBounds, which brings a window partly or wholly off the screens
    // onto the nearest, no larger than it.
    QRect bounds{0, 0, 579, 402};
    std::int32_t lastPos = 0;      // the caret's place when the window was last left
    bool wordWrap = true;
    QString fileName;
    QString suchText;  // the last text searched for
    bool isBAK = false;  // each save keeps the old file as a backup
    // The font of the font dialog, also the font of every plain-text file; only its face
    // and size are kept.
    QFont font;
    // The page margins of printing in millimetres, X left and right, Y top and bottom; not
    // kept in the file.
    std::int32_t printMarginX = 0;
    std::int32_t printMarginY = 0;
};

// The default font's face and size.
inline const QString DefaultFontName = QStringLiteral("Arial");
constexpr int DefaultFontSize = 10;

// `from` with the keys of [Editor] read over it; a missing key or a value that does not
// convert gives its default. A file name that names no existing file gives
// `defaultNotesFile`. The print margins stay as they are.
EditorSettings ReadEditorSettings(const platform::IniDocument& settings,
                                  const QString& defaultNotesFile, EditorSettings from);

// The eleven keys in the order they are written.
std::vector<platform::IniEntry> EditorSettingsEntries(const EditorSettings& settings);

// The window's side: read into it, and written from it.
void LoadEditorSettings(TEditForm& form, const platform::IniDocument& settings,
                        const QString& defaultNotesFile);
std::vector<platform::IniEntry> SaveEditorSettings(const TEditForm& form);

}  // namespace editor
