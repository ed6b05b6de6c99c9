// SPDX-License-Identifier: GPL-3.0-or-later
// One text's life: load, save, save as, the save prompt, the question before overwriting a
// file another program changed, and the recovery copy. Bytes go through NotesFile, the disk
// through platform/safe_file.
#include "editor/notes_session.h"

#include <QDateTime>
#include <QFile>
#include <QCursor>
#include <QGuiApplication>
#include <QTextDocument>
#include <malloc.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "editor/document_snapshot.h"
#include "editor/formats/plain_text_format.h"
#include "editor/formats/rtf_format.h"
#include "editor/notes_file_names.h"
#include "editor/notes_path.h"
#include "editor/recovery_copy.h"

namespace editor {

namespace {

bool IsRtf(const QString& name) { return IsRtfName(QFile::encodeName(name).toStdString()); }

// The largest notes file read (and kept as a recovery copy). The whole text lives in one
// document, whose load and layout take time and memory in proportion: a 64 MiB plain text
// (some 860,000 lines) opens in some 5 s of CPU and takes some 270 MB, and the window stays
// quick to edit it. That is far beyond any notes a person writes; anything larger is almost surely
// no notes file, and would take ever longer and more memory on every F1.
using platform::MaxNotesBytes;

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
    WaitCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
};

}  // namespace

NotesSession::NotesSession(NotesSessionHost& host)
    : host_(host), recovery_(std::make_unique<RecoveryCopy>([this] { return RecoverySnapshot(); })) {
    // A rich text's paragraphs are read ahead in steps of a few milliseconds, so that no
    // snapshot has to read them all at once.
    recovery_->SetReadAhead(
        [this] { return plainText_ || DocumentSnapshot::ReadAhead(*host_.Document(), 5); });
}

NotesSession::~NotesSession() = default;

bool NotesSession::Modified() const { return host_.Document()->isModified(); }

void NotesSession::SetModified(bool modified) { host_.Document()->setModified(modified); }

platform::MessageButton NotesSession::SavePrompt() {
    return host_.Ask(platform::MessageKind::Confirm, fileName_ + " speichern ?",
                     platform::ButtonYes | platform::ButtonNo | platform::ButtonCancel);
}

bool NotesSession::Confirm(const QString& text) {
    return host_.Ask(platform::MessageKind::Confirm, text,
                     platform::ButtonYes | platform::ButtonNo) == platform::ButtonYes;
}

NotesSession::Prompt NotesSession::SaveChanges() {
    if (!Modified()) return Prompt::Go;
    switch (SavePrompt()) {
    case platform::ButtonYes:
        Save();
        return Modified() ? Prompt::Unsaved : Prompt::Go;
    case platform::ButtonNo:
        SetModified(false);
        recovery_->Discard();
        return Prompt::Go;
    default:
        return Prompt::Cancel;
    }
}

// Reads the file into a new document, so that the text shown stays until the file has been
// read whole; the mode comes from the extension.
void NotesSession::ReadFile(const QString& name) {
    std::string bytes;
    const platform::FileRead read = platform::ReadRegularFile(PathOf(name), MaxNotesBytes, bytes);
    if (read.status != platform::ReadStatus::Ok) {
        throw std::runtime_error(
            (name + ": Lesefehler – " + ReadFailure(read.status, read.error)).toStdString());
    }
    const bool plainText = !IsRtf(name);
    auto document = std::make_unique<QTextDocument>();
    notesFile_.readTaking(std::move(bytes), plainText, *document);
    plainText_ = plainText;
    disk_ = {name, read.stamp};
    host_.Show(document.release());
    // What the read passed through (the bytes, the decoded text, the arrays the document
    // outgrew) lies free in the heap, scattered between what stays: it goes back to the
    // system (10 MB of notes: 70 MB resident afterwards, not 86).
    malloc_trim(0);
}

// A file that exists is read; a name with no file empties the editor, which keeps its mode,
// and the first save creates the file. A file that cannot be read leaves name, mode and
// text as they were, and the error goes to the general error handling.
bool NotesSession::Load(const QString& name) {
    if (SaveChanges() != Prompt::Go) return false;
    Read(name);
    OfferRecovery(name);
    return true;
}

bool NotesSession::Read(const QString& name) {
    const QString oldName = fileName_;
    const bool oldMode = plainText_;
    const NotesFile oldFile = notesFile_;
    const DiskFile oldDisk = disk_;
    fileName_ = name;
    host_.Named(name);
    WaitCursor wait;
    std::error_code ec;
    try {
        const bool exists = std::filesystem::exists(PathOf(name), ec);
        host_.Loading(exists);
        if (exists) {
            ReadFile(name);
        } else {
            notesFile_.startNew();
            disk_ = {name, platform::FileStamp{}};
            host_.Show(new QTextDocument);
        }
    } catch (...) {
        fileName_ = oldName;
        // Before the first load the window's caption named no file; now it names the one
        // the text still belongs to.
        host_.Named(oldName.isEmpty() ? UnnamedFile : oldName);
        plainText_ = oldMode;
        notesFile_ = oldFile;
        disk_ = oldDisk;
        throw;
    }
    SetModified(false);
    return true;
}

// Writes the text under FileName. A file that another program changed since it was read
// or last saved here is overwritten only when the user agrees. The text counts as modified
// until the file is written: a failed write, or No to a question, leaves the old file as it
// was, the text unsaved and a copy of it written at once. No copy is removed while the save
// and its boxes run.
//
// Each question before the write is one Confirm in the order the user meets them; a No
// refuses the save as the changed-file question does. `target` and `plainText` become the
// text's name and mode only once it is written there.
bool NotesSession::WriteFile(const QString& target, bool plainText) {
    struct Saving {
        NotesSession& session;
        Saving(NotesSession& s) : session(s) {
            ++session.saving_;
            session.recovery_->Hold(true);
        }
        ~Saving() {
            if (--session.saving_ == 0) session.recovery_->Hold(false);
        }
    } saving(*this);
    // Content the reader could not keep is dropped only when the user agrees, once a text.
    if (const QString unkept = notesFile_.unkept(); !unkept.isEmpty()) {
        if (!Confirm(QStringLiteral("%1 enthält Inhalte, die der Notizeditor nicht erhalten "
                                    "kann (%2). Beim Speichern gehen sie verloren. Trotzdem "
                                    "speichern?")
                         .arg(disk_.name.isEmpty() ? fileName_ : disk_.name, unkept))) {
            recovery_->WriteNow();
            return false;
        }
        notesFile_.acceptLoss();
    }
    platform::ReplaceOptions options;
    if (disk_.name == target) options.expected = disk_.stamp;
    // The backup lies beside the real file, also when the name is a link.
    if (backups_) options.backupName = [](const std::filesystem::path& file) {
        return std::filesystem::path(BackupName(file.string()));
    };
    platform::ReplaceStatus status = platform::ReplaceStatus::Failed;
    try {
        const QByteArray bytes = notesFile_.write(*host_.Document(), plainText);
        const std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        platform::ReplaceResult result = platform::ReplaceFile(PathOf(target), text, options);
        if (result.status == platform::ReplaceStatus::Changed) {
            if (!Confirm(target + " wurde inzwischen von einem anderen Programm geändert. "
                                  "Trotzdem speichern?")) {
                recovery_->WriteNow();
                return false;
            }
            options.expected.reset();
            result = platform::ReplaceFile(PathOf(target), text, options);
        }
        status = result.status;
        if (status == platform::ReplaceStatus::Ok) {
            fileName_ = target;
            plainText_ = plainText;
            disk_ = {target, result.stamp};
            SetModified(false);
            recovery_->Discard();
            return true;
        }
    } catch (const std::exception&) {
        status = platform::ReplaceStatus::Failed;
    }
    // The copy first: the box may stay open for long, and the program may not outlive it.
    recovery_->WriteNow();
    host_.Ask(platform::MessageKind::Error, target + ": Schreibfehler", platform::ButtonOk);
    return false;
}

void NotesSession::Save() {
    if (fileName_.isEmpty() || fileName_ == UnnamedFile)
        SaveAs();
    else
        (void)WriteFile(fileName_, plainText_);
}

// Saves under a new name, converting between plain text and RTF when the extension changes
// and the user agrees, and reads the file back so that the editor shows what was written.
void NotesSession::SaveAs() {
    struct Yellow {
        NotesSessionHost& host;
        ~Yellow() { host.SavingAs(false); }
    } yellow{host_};
    host_.SavingAs(true);
    const std::optional<QString> chosen = host_.SaveName(fileName_ + " speichern als");
    if (!chosen) {
        // The end of the program may follow: the text as it is now stays in the copy.
        if (Modified()) recovery_->WriteNow();
        return;
    }
    const bool wasRtf = IsRtf(fileName_);
    host_.Named(*chosen);
    const bool toRtf = IsRtf(*chosen);
    bool plainText = plainText_;
    if (wasRtf && !toRtf) {
        if (Confirm(QStringLiteral("RTF -> TXT-Konvertierung?"))) plainText = true;
    } else if (!wasRtf && toRtf) {
        if (Confirm(QStringLiteral("TXT -> RTF-Konvertierung?"))) plainText = false;
    }
    if (WriteFile(*chosen, plainText)) {
        Load(*chosen);
        return;
    }
    // Nothing was written there: the text, still unsaved, stays with the file it came
    // from, and so do its copy and the name the settings keep.
    host_.Named(fileName_.isEmpty() ? UnnamedFile : fileName_);
}

// Taken on the UI thread at the moment of the copy, as little as needed: a plain text's raw
// characters, a rich text's characters and runs of formats; the bytes are made on the
// writer's thread. A text without a name is kept too.
std::optional<RecoveryCopySnapshot> NotesSession::RecoverySnapshot() const {
    if (!Modified()) return std::nullopt;
    RecoveryCopySnapshot snapshot;
    platform::RecoveryRecord& record = snapshot.record;
    if (!fileName_.isEmpty() && fileName_ != UnnamedFile)
        record.notesFile = platform::FullNotesPath(QFile::encodeName(fileName_).toStdString());
    record.plainText = plainText_;
    if (disk_.name == fileName_) record.notesStamp = disk_.stamp;
    const QTextDocument* document = host_.Document();
    if (plainText_) {
        // The characters go into the encoding, which changes them in place.
        snapshot.text = [raw = document->toRawText(), layout = notesFile_.plainTextLayout()]() mutable {
            return PlainTextFormat::EncodeRawText(std::move(raw), layout).toStdString();
        };
    } else {
        snapshot.text = [copy = std::make_shared<const DocumentSnapshot>(*document)] {
            return RtfFormat().write(*copy->Rebuild()).toStdString();
        };
    }
    return snapshot;
}

// The copies that earlier runs left of the file just loaded, newest first, then those of
// texts without a name: Yes shows the copy's text, modified, and leaves the file as it is
// until the user saves (the other copies wait for a later load); No deletes it and offers
// the next.
void NotesSession::OfferRecovery(const QString& name) {
    if (name == UnnamedFile) return;
    std::vector<platform::FoundRecovery> found =
        recovery_->Unheld(platform::FullNotesPath(QFile::encodeName(name).toStdString()));
    std::vector<platform::FoundRecovery> unnamed = recovery_->Unheld({});
    std::move(unnamed.begin(), unnamed.end(), std::back_inserter(found));
    for (platform::FoundRecovery& copy : found) {
        const QString written = QDateTime::fromMSecsSinceEpoch(copy.writtenNs / 1'000'000)
                                    .toString(QStringLiteral("dd.MM.yyyy hh:mm"));
        const bool named = !copy.record.notesFile.empty();
        QString text = named ? QStringLiteral("Für %1 gibt es ungesicherte Änderungen vom %2. "
                                              "Wiederherstellen?")
                                   .arg(name, written)
                             : QStringLiteral("Es gibt ungesicherte Notizen ohne Namen vom %1. "
                                              "Wiederherstellen?")
                                   .arg(written);
        if (named && platform::NotesFileChanged(copy.record))
            text += QStringLiteral(" Die Datei wurde inzwischen geändert.");
        if (copy.cutOff) text += QStringLiteral(" Die Kopie ist unvollständig.");
        if (!Confirm(text)) {
            recovery_->Delete(std::move(copy));
            continue;
        }
        Restore(std::move(copy));
        return;
    }
}

void NotesSession::Restore(platform::FoundRecovery copy) {
    const std::string& bytes = copy.record.text;
    auto document = std::make_unique<QTextDocument>();
    notesFile_.read(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())),
                    copy.record.plainText, *document);
    if (copy.record.notesFile.empty()) {
        fileName_ = UnnamedFile;
        disk_ = {};
        host_.Named(UnnamedFile);
    }
    plainText_ = copy.record.plainText;
    host_.Show(document.release());
    SetModified(true);
    // The copy is this text's now; written again against the file as it is now, which the
    // user has been told about.
    recovery_->Adopt(std::move(copy));
    recovery_->Changed();
}

}  // namespace editor
