// SPDX-License-Identifier: GPL-3.0-or-later
// The notes window's file commands: load, open, new, save, save as, backups, the save
// prompt, the question before overwriting a file another program changed. Bytes go through
// NotesFile, the disk through platform/safe_file.
#include <QApplication>
#include <QFile>
#include <QPalette>
#include <QStatusBar>
#include <QTextCursor>
#include <QTextEdit>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "editor/notes_file_names.h"
#include "editor/notes_path.h"
#include "editor/recovery_copy.h"
#include "editor/tedit_form.h"
#include "platform/safe_file.h"

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

// The largest notes file read. The whole text lives in one document, whose load and layout
// take time and memory in proportion: a 64 MiB plain text (some 860,000 lines) opens in
// about 5 s and takes some 400 MB, and the window stays quick to edit it. That is far
// beyond any notes a person writes; anything larger is almost surely no notes file, and
// would take ever longer and more memory on every F1.
constexpr std::size_t MaxNotesBytes = std::size_t{64} << 20;

// Why a notes file could not be read, for the error box that names it.
QString ReadFailure(platform::ReadStatus status, int error) {
    switch (status) {
    case platform::ReadStatus::Missing:
        return QStringLiteral("nicht gefunden");
    case platform::ReadStatus::TooLong:
        return QStringLiteral("größer als 64 MiB, zu groß für den Notizeditor");
    case platform::ReadStatus::Folder:
        return QStringLiteral("ein Ordner, keine Datei");
    case platform::ReadStatus::Fifo:
        return QStringLiteral("eine benannte Pipe (FIFO), keine Datei");
    case platform::ReadStatus::Device:
        return QStringLiteral("ein Gerät, keine Datei");
    default:
        break;
    }
    switch (error) {
    case EACCES:
    case EPERM:
        return QStringLiteral("keine Leseberechtigung");
    case ELOOP:
        return QStringLiteral("eine Schleife symbolischer Verweise");
    case EIO:
        return QStringLiteral("Ein-/Ausgabefehler");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

// The hourglass for as long as a load runs.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

platform::FileRequest TEditForm::FileDialogRequest(const QString& title) const {
    const qsizetype slash = fileName_.lastIndexOf(u'/');
    return {title, fileName_, slash < 0 ? QString() : fileName_.left(slash), FileFilters,
            FilterIndexFor(fileName_)};
}

platform::MessageButton TEditForm::SavePrompt() {
    return Modal([this] {
        return dialogs_.Message(this, platform::MessageKind::Confirm, fileName_ + " speichern ?",
                                platform::ButtonYes | platform::ButtonNo | platform::ButtonCancel);
    });
}

// Asks whether to save a modified text. False when the operation that asked must stop:
// on Cancel, and when the text could not be saved (it would otherwise be lost).
bool TEditForm::SaveChanges() {
    if (!Modified()) return true;
    switch (SavePrompt()) {
    case platform::ButtonYes:
        Save1Click();
        return !Modified();
    case platform::ButtonNo:
        SetModified(false);
        recovery_->Discard(fileName_);
        return true;
    default:
        return false;
    }
}

// Reads the file into a new document, so that the text shown stays until the file has been
// read whole; the mode comes from the extension.
void TEditForm::ReadIntoEditor(const QString& name) {
    longCommand_.Stop();
    QCoreApplication::processEvents();
    std::string bytes;
    const platform::FileRead read = platform::ReadRegularFile(PathOf(name), MaxNotesBytes, bytes);
    if (read.status != platform::ReadStatus::Ok) {
        throw std::runtime_error(
            (name + ": Lesefehler – " + ReadFailure(read.status, read.error)).toStdString());
    }
    const bool plainText = !IsRtf(name);
    auto* document = new QTextDocument(this);
    try {
        notesFile_.read(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())),
                        plainText, *document);
    } catch (...) {
        delete document;
        throw;
    }
    plainText_ = plainText;
    disk_ = {name, read.stamp};
    InstallDocument(document);
    QTextCursor caret(document);
    caret.setPosition(std::clamp(lastPos_, 0, document->characterCount() - 1));
    editor_->setTextCursor(caret);
    // A running command must not go on into the text just read.
    longCommand_.ClearStop();
}

// A file that exists is read; a name with no file empties the editor, which keeps its mode,
// and the first save creates the file. A file that cannot be read leaves name, caption,
// mode and text as they were, and the error goes to the general error handling.
void TEditForm::LoadFile(const QString& name) {
    if (!SaveChanges()) return;
    const QString oldName = fileName_;
    const QString oldCaption = windowTitle();
    const bool oldMode = plainText_;
    const NotesFile oldFile = notesFile_;
    const DiskFile oldDisk = disk_;
    fileName_ = name;
    setWindowTitle(name);
    EnableConversions(true, true);
    {
        WaitCursor wait;
        std::error_code ec;
        try {
            if (std::filesystem::exists(PathOf(name), ec)) {
                ReadIntoEditor(name);
            } else {
                InstallDocument(new QTextDocument(this));
                notesFile_.startNew();
                disk_ = {name, platform::FileStamp{}};
            }
        } catch (...) {
            fileName_ = oldName;
            setWindowTitle(oldCaption);
            plainText_ = oldMode;
            notesFile_ = oldFile;
            disk_ = oldDisk;
            throw;
        }
    }
    // A plain-text file shows in the font chosen in the font dialog (given to it on
    // installing); only a rich text takes formatted text from the clipboard.
    editor_->setAcceptRichText(!plainText_);
    textLength_ = editor_->document()->characterCount() - 1;
    SetModified(false);
    OfferRecovery(name);
    UpdateCursorPos();
}

void TEditForm::Open1Click() {
    platform::FileRequest request = FileDialogRequest(QStringLiteral("Datei öffnen"));
    const std::optional<QString> chosen =
        Modal([&] { return dialogs_.OpenFileName(this, request); });
    if (!chosen) return;
    // A new file opens at its start; reopening the same file returns to the remembered place.
    if (*chosen != fileName_) lastPos_ = 0;
    LoadFile(*chosen);
}

void TEditForm::New1Click() {
    lastPos_ = 0;
    LoadFile(UnnamedFile);
    // An emptied editor keeps no copy of the text it held.
    if (fileName_ == UnnamedFile && !Modified()) recovery_->Discard(QString());
}

void TEditForm::MakeBackup(const QString& name) {
    const auto file = platform::ResolveLinks(PathOf(name));
    if (file) platform::MakeBackup(*file, BackupName(file->string()));
}

bool TEditForm::ConfirmOverwrite() {
    return Modal([this] {
               return dialogs_.Message(this, platform::MessageKind::Confirm,
                                       fileName_ + " wurde inzwischen von einem anderen "
                                                   "Programm geändert. Trotzdem speichern?",
                                       platform::ButtonYes | platform::ButtonNo);
           }) == platform::ButtonYes;
}

// Writes the text under FileName. A file that another program changed since it was read
// or last saved here is overwritten only when the user agrees. A failed write leaves the
// old file as it was and the text still counted as unsaved; so does No to that question.
void TEditForm::WriteFile() {
    // Content the reader could not keep is dropped only when the user agrees, once a text.
    if (const QString unkept = notesFile_.unkept(); !unkept.isEmpty()) {
        const QString question =
            QStringLiteral("%1 enthält Inhalte, die der Notizeditor nicht erhalten kann (%2). "
                           "Beim Speichern gehen sie verloren. Trotzdem speichern?")
                .arg(disk_.name.isEmpty() ? fileName_ : disk_.name, unkept);
        if (Modal([&] {
                return dialogs_.Message(this, platform::MessageKind::Confirm, question,
                                        platform::ButtonYes | platform::ButtonNo);
            }) != platform::ButtonYes) {
            return;
        }
        notesFile_.acceptLoss();
    }
    const bool wasModified = Modified();
    SetModified(false);
    platform::ReplaceOptions options;
    if (disk_.name == fileName_) options.expected = disk_.stamp;
    // The backup lies beside the real file, also when the name is a link.
    if (isBAK_) options.backupName = [](const std::filesystem::path& file) {
        return std::filesystem::path(BackupName(file.string()));
    };
    platform::ReplaceStatus status = platform::ReplaceStatus::Failed;
    try {
        const QByteArray bytes = notesFile_.write(*editor_->document(), plainText_);
        const std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        platform::ReplaceResult result = platform::ReplaceFile(PathOf(fileName_), text, options);
        if (result.status == platform::ReplaceStatus::Changed) {
            if (!ConfirmOverwrite()) {
                SetModified(wasModified);
                return;
            }
            options.expected.reset();
            result = platform::ReplaceFile(PathOf(fileName_), text, options);
        }
        status = result.status;
        if (status == platform::ReplaceStatus::Ok) {
            disk_ = {fileName_, result.stamp};
            recovery_->Discard(fileName_);
        }
    } catch (const std::exception&) {
        status = platform::ReplaceStatus::Failed;
    }
    if (status == platform::ReplaceStatus::Ok) return;
    Modal([this] {
        return dialogs_.Message(this, platform::MessageKind::Error, fileName_ + ": Schreibfehler",
                                platform::ButtonOk);
    });
    SetModified(wasModified);
}

void TEditForm::Save1Click() {
    if (fileName_.isEmpty() || fileName_ == UnnamedFile)
        Saveas1Click();
    else
        WriteFile();
    FollowModified();
}

namespace {

// The status bar is yellow while save-as runs, whatever way it ends.
class YellowStatusBar {
public:
    explicit YellowStatusBar(QStatusBar* bar) : bar_(bar) { Paint(Qt::yellow); }
    ~YellowStatusBar() { Paint(QApplication::palette(bar_).color(QPalette::Button)); }

private:
    void Paint(const QColor& colour) {
        QPalette palette = bar_->palette();
        palette.setColor(QPalette::Window, colour);
        bar_->setPalette(palette);
    }
    QStatusBar* bar_;
};

}  // namespace

// Saves under a new name, converting between plain text and RTF when the extension changes
// and the user agrees, and reads the file back so that the editor shows what was written.
void TEditForm::Saveas1Click() {
    YellowStatusBar yellow(statusBar());
    platform::FileRequest request = FileDialogRequest(fileName_ + " speichern als");
    const std::optional<QString> chosen =
        Modal([&] { return dialogs_.SaveFileName(this, request); });
    if (!chosen) return;
    const bool wasRtf = IsRtf(fileName_);
    fileName_ = *chosen;
    setWindowTitle(*chosen);
    const bool toRtf = IsRtf(*chosen);
    const auto ask = [this](const char* text) {
        return Modal([&] {
                   return dialogs_.Message(this, platform::MessageKind::Confirm,
                                           QString::fromUtf8(text),
                                           platform::ButtonYes | platform::ButtonNo);
               }) == platform::ButtonYes;
    };
    if (wasRtf && !toRtf) {
        if (ask("RTF -> TXT-Konvertierung?")) plainText_ = true;
    } else if (!wasRtf && toRtf) {
        if (ask("TXT -> RTF-Konvertierung?")) plainText_ = false;
    }
    Save1Click();
    // A text that could not be written stays in the editor, still unsaved.
    if (Modified()) return;
    LoadFile(*chosen);
}

}  // namespace editor
