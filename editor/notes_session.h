// SPDX-License-Identifier: GPL-3.0-or-later
// One text's life in the notes window, without any widget: its file name and format, the
// file on disk as it was read or last saved, the modified and the saving states, load,
// save, save as, and its recovery copy. The window shows the text and asks the questions;
// the session reaches it only through NotesSessionHost.
#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

#include "editor/formats/notes_file.h"
#include "platform/qt/dialogs.h"
#include "platform/recovery_file.h"
#include "platform/safe_file.h"

class QTextDocument;

namespace editor {

class RecoveryCopy;
struct RecoveryCopySnapshot;

// Name of a text that has no file yet.
inline const QString UnnamedFile = QStringLiteral("Unbekannt");

// What the session needs of the window that shows its text.
class NotesSessionHost {
public:
    virtual ~NotesSessionHost() = default;
    // The document the window shows now.
    virtual QTextDocument* Document() const = 0;
    // Shows a document just read, restored or emptied, in the session's mode.
    virtual void Show(QTextDocument* document) = 0;
    // The text now belongs to `name` (the window's caption).
    virtual void Named(const QString& name) = 0;
    // A file is about to be read (`exists`) or the text emptied: whatever runs on the text
    // stops.
    virtual void Loading(bool exists) = 0;
    // A modal box of the window: the button chosen.
    virtual platform::MessageButton Ask(platform::MessageKind kind, const QString& text,
                                        unsigned buttons) = 0;
    // The save dialog, titled `title`, preset from the current name: nothing on Cancel.
    virtual std::optional<QString> SaveName(const QString& title) = 0;
    // Save-as runs (the window's status bar is yellow meanwhile).
    virtual void SavingAs(bool on) = 0;
};

class NotesSession : public QObject {
public:
    explicit NotesSession(NotesSessionHost& host);
    ~NotesSession() override;

    const QString& FileName() const { return fileName_; }
    // The name kept by the settings file; nothing is read.
    void SetFileName(const QString& name) { fileName_ = name; }
    bool PlainText() const { return plainText_; }
    bool Modified() const;
    void SetModified(bool modified);
    // Each save first keeps the old file as its backup.
    void SetBackups(bool on) { backups_ = on; }
    // True while a save and its boxes run.
    bool Saving() const { return saving_ > 0; }

    // The save prompt for a modified text: Go (saved, dropped or unmodified), Cancel, or
    // Unsaved when the save failed (whoever asked must then stop, or the text would be lost;
    // only a close, which merely hides the window, goes on).
    enum class Prompt { Go, Cancel, Unsaved };
    Prompt SaveChanges();
    // Asks to save a modified text, then reads `name` or empties the text for a name with
    // no file, and offers a recovery copy of it. False: nothing changed (Cancel, or a save
    // that failed). A file that cannot be read throws, with name, mode and text as they were.
    bool Load(const QString& name);
    // "&Speichern": the text under its name; an unnamed text goes to SaveAs.
    void Save();
    // "Speichern &unter...": the text under a name the user chooses, read back from there.
    void SaveAs();

    // The recovery copy of a modified text (no folder set: none).
    RecoveryCopy& Recovery() { return *recovery_; }

private:
    struct DiskFile {
        QString name;
        platform::FileStamp stamp;
    };
    platform::MessageButton SavePrompt();
    bool Confirm(const QString& text);
    void ReadFile(const QString& name);
    bool Read(const QString& name);
    void OfferRecovery(const QString& name);
    bool WriteFile(const QString& target, bool plainText);
    void Restore(platform::FoundRecovery copy);
    std::optional<RecoveryCopySnapshot> RecoverySnapshot() const;

    NotesSessionHost& host_;
    NotesFile notesFile_;
    // The file on disk as the text was read from it or last saved to it, so that a change
    // by another program since is noticed before a save overwrites it.
    DiskFile disk_;
    QString fileName_;
    bool plainText_ = true;
    bool backups_ = false;
    int saving_ = 0;
    std::unique_ptr<RecoveryCopy> recovery_;
};

}  // namespace editor
