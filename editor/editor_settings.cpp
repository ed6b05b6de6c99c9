// Reading and writing the section [Editor].
#include "editor/editor_settings.h"

#include <QFileInfo>
#include <QTextEdit>
#include <string>

#include "editor/tedit_form.h"
#include "platform/qt/window_placement.h"

namespace editor {

namespace {

constexpr char Section[] = "Editor";

std::string Utf8(const QString& text) { return text.toStdString(); }

}  // namespace

void LoadEditorSettings(TEditForm& form, const platform::IniDocument& settings,
                        const QString& defaultNotesFile) {
    using D = EditorDefaults;
    const auto integer = [&](const char* key, int def) {
        return settings.ReadInteger(Section, key, def);
    };
    const auto text = [&](const char* key, const QString& def) {
        return QString::fromStdString(settings.ReadString(Section, key, Utf8(def)));
    };
    // Bounds that leave no screen holding the title bar bring the window onto the nearest.
    platform::ApplyStoredBounds(form, {integer("Left", D::Left), integer("Top", D::Top)},
                                {integer("Width", D::Width), integer("Height", D::Height)});
    form.SetLastPos(integer("LastPos", 0));
    // The word-wrap command flips the wrap back to the value read, and sets the scroll bars
    // and the check mark with it.
    const bool wordWrap = settings.ReadBool(Section, "WordWrap", D::WordWrap);
    form.SetWordWrap(!wordWrap);
    form.Wordwrap1Click();
    const QString fileName = text("FileName", defaultNotesFile);
    form.SetFileName(QFileInfo::exists(fileName) ? fileName : defaultNotesFile);
    form.SetSuchText(text("SuchText", QString()));
    form.SetIsBAK(settings.ReadBool(Section, "IsBAK", false));
    QFont font = form.DialogFont();
    font.setFamily(text("FontName", D::FontName));
    // A size the font cannot take (0 or less) keeps the default.
    const int size = integer("FontSize", D::FontSize);
    font.setPointSize(size > 0 ? size : D::FontSize);
    form.SetDialogFont(font);
}

std::vector<platform::IniEntry> SaveEditorSettings(const TEditForm& form) {
    const auto entry = [](const char* key, std::string value) {
        return platform::IniEntry{Section, key, std::move(value)};
    };
    const auto number = [](int value) { return std::to_string(value); };
    const auto flag = [](bool value) { return std::string(value ? "1" : "0"); };
    return {
        entry("Left", number(form.pos().x())),
        entry("Top", number(form.pos().y())),
        entry("Height", number(form.height())),
        entry("Width", number(form.width())),
        entry("LastPos", number(form.LastPos())),
        entry("WordWrap", flag(form.WordWrap())),
        entry("FileName", Utf8(form.FileName())),
        entry("SuchText", Utf8(form.SuchText())),
        entry("IsBAK", flag(form.IsBAK())),
        entry("FontName", Utf8(form.DialogFont().family())),
        entry("FontSize", number(form.DialogFont().pointSize())),
    };
}

}  // namespace editor
