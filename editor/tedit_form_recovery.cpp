// SPDX-License-Identifier: GPL-3.0-or-later
// The notes window's recovery copy: the snapshot of a modified text that the copy is made
// from, and the offer of a copy when its file is loaded.
#include <QDateTime>
#include <QFile>
#include <QTextCursor>
#include <QTextEdit>

#include "editor/recovery_copy.h"
#include "editor/tedit_form.h"

namespace editor {

// Taken on the UI thread at the moment of the copy, as little as needed: a plain text's raw
// characters, a rich text's document cloned; the bytes are made on the writer's thread.
std::optional<RecoveryCopySnapshot> TEditForm::RecoverySnapshot() const {
    if (!Modified() || fileName_.isEmpty() || fileName_ == UnnamedFile) return std::nullopt;
    RecoveryCopySnapshot snapshot;
    platform::RecoveryRecord& record = snapshot.record;
    record.notesFile = platform::FullNotesPath(QFile::encodeName(fileName_).toStdString());
    record.plainText = plainText_;
    if (disk_.name == fileName_) record.notesStamp = disk_.stamp;
    const QTextDocument* document = editor_->document();
    if (plainText_) {
        snapshot.text = [raw = document->toRawText(), layout = notesFile_.plainTextLayout()] {
            return PlainTextFormat::EncodeRawText(raw, layout).toStdString();
        };
    } else {
        std::shared_ptr<QTextDocument> copy(document->clone());
        // Bound to no thread, so that the writer may use and delete it.
        copy->moveToThread(nullptr);
        snapshot.text = [copy] { return RtfFormat().write(*copy).toStdString(); };
    }
    return snapshot;
}

// A copy of the file just loaded: Yes shows its text, modified, and leaves the file as it is
// until the user saves; No deletes it.
void TEditForm::OfferRecovery(const QString& name) {
    if (name == UnnamedFile) return;
    std::optional<platform::FoundRecovery> found = recovery_->Find(name);
    if (!found) return;
    const QDateTime written = QDateTime::fromMSecsSinceEpoch(found->writtenNs / 1'000'000);
    QString text = QStringLiteral("Für %1 gibt es ungesicherte Änderungen vom %2. "
                                  "Wiederherstellen?")
                       .arg(name, written.toString(QStringLiteral("dd.MM.yyyy hh:mm")));
    if (platform::NotesFileChanged(found->record))
        text += QStringLiteral(" Die Datei wurde inzwischen geändert.");
    const bool restore = Modal([&] {
                             return dialogs_.Message(this, platform::MessageKind::Confirm, text,
                                                     platform::ButtonYes | platform::ButtonNo);
                         }) == platform::ButtonYes;
    if (!restore) {
        recovery_->Discard(name);
        return;
    }
    const std::string& bytes = found->record.text;
    auto* document = new QTextDocument(this);
    try {
        notesFile_.read(
            QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())),
            found->record.plainText, *document);
    } catch (...) {
        delete document;
        throw;
    }
    plainText_ = found->record.plainText;
    InstallDocument(document);
    QTextCursor caret(document);
    caret.setPosition(std::clamp(lastPos_, 0, document->characterCount() - 1));
    editor_->setTextCursor(caret);
    editor_->setAcceptRichText(!plainText_);
    textLength_ = document->characterCount() - 1;
    SetModified(true);
    // Written again against the file as it is now, which the user has been told about.
    recovery_->Changed();
}

}  // namespace editor
