// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing the section [Editor], and the window's settings as one value.
#include "editor/editor_settings.h"

#include <QAction>
#include <QFileInfo>
#include <QTextEdit>
#include <algorithm>
#include <string>

#include "editor/tedit_form.h"
#include "platform/qt/window_placement.h"

namespace editor {

namespace {

constexpr char Section[] = "Editor";

std::string Utf8(const QString& text) { return text.toStdString(); }

}  // namespace

EditorSettings ReadEditorSettings(const platform::IniDocument& settings,
                                  const QString& defaultNotesFile, EditorSettings from) {
    const EditorSettings defaults;
    const auto integer = [&](const char* key, int def) {
        return settings.ReadInteger(Section, key, def);
    };
    const auto text = [&](const char* key, const QString& def) {
        return QString::fromStdString(settings.ReadString(Section, key, Utf8(def)));
    };
    EditorSettings s = std::move(from);
    s.bounds = QRect(integer("Left", defaults.bounds.left()), integer("Top", defaults.bounds.top()),
                     integer("Width", defaults.bounds.width()),
                     integer("Height", defaults.bounds.height()));
    // No caret stands before the text's start.
    s.lastPos = std::max(0, integer("LastPos", 0));
    s.wordWrap = settings.ReadBool(Section, "WordWrap", defaults.wordWrap);
    const QString fileName = text("FileName", defaultNotesFile);
    s.fileName = QFileInfo::exists(fileName) ? fileName : defaultNotesFile;
    s.suchText = text("SuchText", QString());
    s.isBAK = settings.ReadBool(Section, "IsBAK", false);
    s.font.setFamily(text("FontName", DefaultFontName));
    // A size the font cannot take (0 or less) keeps the default.
    const int size = integer("FontSize", DefaultFontSize);
    s.font.setPointSize(size > 0 ? size : DefaultFontSize);
    return s;
}

std::vector<platform::IniEntry> EditorSettingsEntries(const EditorSettings& s) {
    const auto entry = [](const char* key, std::string value) {
        return platform::IniEntry{Section, key, std::move(value)};
    };
    const auto number = [](int value) { return std::to_string(value); };
    const auto flag = [](bool value) { return std::string(value ? "1" : "0"); };
    return {
        entry("Left", number(s.bounds.left())),
        entry("Top", number(s.bounds.top())),
        entry("Height", number(s.bounds.height())),
        entry("Width", number(s.bounds.width())),
        entry("LastPos", number(s.lastPos)),
        entry("WordWrap", flag(s.wordWrap)),
        entry("FileName", Utf8(s.fileName)),
        entry("SuchText", Utf8(s.suchText)),
        entry("IsBAK", flag(s.isBAK)),
        entry("FontName", Utf8(s.font.family())),
        entry("FontSize", number(s.font.pointSize())),
    };
}

void LoadEditorSettings(TEditForm& form, const platform::IniDocument& settings,
                        const QString& defaultNotesFile) {
    EditorSettings read = ReadEditorSettings(settings, defaultNotesFile, form.Settings());
    // A side shorter than the window needs for its menu, tool bar, a line and the status
    // line is damaged and gets its default.
    const QSize least = form.minimumSizeHint();
    const QRect defaults = EditorSettings().bounds;
    if (read.bounds.width() < least.width()) read.bounds.setWidth(defaults.width());
    if (read.bounds.height() < least.height()) read.bounds.setHeight(defaults.height());
    // Bounds that the screens do not show whole bring the window onto the nearest;
    // the stored ones are placed even where they are the window's bounds already.
    platform::ApplyStoredBounds(form, read.bounds.topLeft(), read.bounds.size());
    read.bounds = form.Settings().bounds;
    form.SetSettings(read);
}

std::vector<platform::IniEntry> SaveEditorSettings(const TEditForm& form) {
    return EditorSettingsEntries(form.Settings());
}

EditorSettings TEditForm::Settings() const {
    EditorSettings s;
    s.bounds = QRect(pos(), size());
    s.lastPos = lastPos_;
    s.wordWrap = WordWrap();
    s.fileName = FileName();
    s.suchText = suchText_;
    s.isBAK = isBAK_;
    s.font = dialogFont_;
    s.printMarginX = printMarginX_;
    s.printMarginY = printMarginY_;
    return s;
}

// Word wrap goes through the word-wrap command's way, with its scroll bars and check mark.
void TEditForm::SetSettings(const EditorSettings& s) {
    if (s.bounds != QRect(pos(), size()))
        platform::ApplyStoredBounds(*this, s.bounds.topLeft(), s.bounds.size());
    lastPos_ = s.lastPos;
    ShowWordWrap(s.wordWrap);
    session_.SetFileName(s.fileName);
    suchText_ = s.suchText;
    isBAK_ = s.isBAK;
    session_.SetBackups(s.isBAK);
    dialogFont_ = s.font;
    printMarginX_ = s.printMarginX;
    printMarginY_ = s.printMarginY;
}

}  // namespace editor
