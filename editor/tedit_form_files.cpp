// SPDX-License-Identifier: GPL-3.0-or-later
// The notes window's file commands, as short calls into its NotesSession, and what the
// session asks of the window: the text shown, the caption, the boxes and the file dialogs.
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QPalette>
#include <QStatusBar>
#include <QTextCursor>
#include <QTextEdit>

#include "editor/notes_file_names.h"
#include "editor/recovery_copy.h"
#include "editor/tedit_form.h"

namespace editor {

namespace {

bool IsRtf(const QString& name) { return IsRtfName(QFile::encodeName(name).toStdString()); }

bool IsTxt(const QString& name) {
    const std::string ext(FileExtension(QFile::encodeName(name).toStdString()));
    return ext.size() == 4 && QString::fromLatin1(ext.c_str()).compare(u".txt",
                                                                       Qt::CaseInsensitive) == 0;
}

// The file dialogs' filters: 1 all files, 2 text files, 3 RTF files.
const QStringList FileFilters = {
    QStringLiteral("alle Dateien   *.* (*)"),
    QStringLiteral("Text-Dateien   *.TXT (*.TXT *.txt)"),
    QStringLiteral("RTF-Dateien   *.RTF (*.RTF *.rtf)"),
};

int FilterIndexFor(const QString& name) { return IsRtf(name) ? 3 : IsTxt(name) ? 2 : 1; }

}  // namespace

platform::FileRequest TEditForm::FileDialogRequest(const QString& title) const {
    const QString& name = FileName();
    const qsizetype slash = name.lastIndexOf(u'/');
    return {title, name, slash < 0 ? QString() : name.left(slash), FileFilters,
            FilterIndexFor(name)};
}

bool TEditForm::SaveChanges() { return session_.SaveChanges() == NotesSession::Prompt::Go; }

// A file that cannot be read leaves name, caption, mode and text as they were, and the error
// goes to the general error handling.
void TEditForm::LoadFile(const QString& name) {
    if (session_.Load(name)) UpdateCursorPos();
    FollowModified();
}

void TEditForm::Open1Click() {
    platform::FileRequest request = FileDialogRequest(QStringLiteral("Datei öffnen"));
    const std::optional<QString> chosen =
        Modal([&] { return dialogs_.OpenFileName(this, request); });
    if (!chosen) return;
    // A new file opens at its start; reopening the same file returns to the remembered place.
    if (*chosen != FileName()) lastPos_ = 0;
    LoadFile(*chosen);
}

void TEditForm::New1Click() {
    lastPos_ = 0;
    LoadFile(UnnamedFile);
}

void TEditForm::Save1Click() {
    session_.Save();
    FollowModified();
}

void TEditForm::Saveas1Click() {
    session_.SaveAs();
    FollowModified();
}

// What the session asks of the window.

QTextDocument* TEditForm::Document() const { return editor_->document(); }

// A document just read or emptied: its caret at the remembered place, and only a rich text
// takes formatted text from the clipboard. A running command must not go on into it.
void TEditForm::Show(QTextDocument* document) {
    InstallDocument(document);
    QTextCursor caret(document);
    caret.setPosition(std::clamp(lastPos_, 0, document->characterCount() - 1));
    editor_->setTextCursor(caret);
    editor_->setAcceptRichText(!PlainText());
    textLength_ = document->characterCount() - 1;
    longCommand_.ClearStop();
    FollowModified();
}

void TEditForm::Named(const QString& name) { setWindowTitle(name); }

// The status bar is yellow while save-as runs, whatever way it ends.
void TEditForm::SavingAs(bool on) {
    QPalette palette = statusBar()->palette();
    palette.setColor(QPalette::Window, on ? QColor(Qt::yellow)
                                          : QApplication::palette(statusBar()).color(QPalette::Button));
    statusBar()->setPalette(palette);
}

void TEditForm::Loading(bool exists) {
    EnableConversions(true, true);
    if (!exists) return;
    longCommand_.Stop();
    QCoreApplication::processEvents();
}

platform::MessageButton TEditForm::Ask(platform::MessageKind kind, const QString& text,
                                       unsigned buttons) {
    return Modal([&] { return dialogs_.Message(this, kind, text, buttons); });
}

std::optional<QString> TEditForm::SaveName(const QString& title) {
    platform::FileRequest request = FileDialogRequest(title);
    return Modal([&] { return dialogs_.SaveFileName(this, request); });
}

}  // namespace editor
