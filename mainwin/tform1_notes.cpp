// SPDX-License-Identifier: GPL-3.0-or-later
// The notes command: the notes window opens on its file, read afresh from the disk each
// time.
#include <QFileInfo>

#include "editor/tedit_form.h"
#include "mainwin/tform1.h"
#include "platform/qt/application.h"

namespace mainwin {

void TForm1::SetEditForm(editor::TEditForm* editForm) {
    editForm_ = editForm;
    activation_.SetEditorWindow(editForm);
}

// A notes file that is gone gives way to the default notes file, but only once the text
// that came from it has been offered for saving under its own name: the default notes file
// must never receive another file's text. The window is shown whatever the load did: after
// Cancel in its save prompt, or a save that failed, it keeps the text as it was, and a file
// that could not be read has had its error shown.
void TForm1::MenuNotizenClick() {
    if (!editForm_) return;
    platform::RunGuarded([this] {
        if (!QFileInfo::exists(editForm_->FileName())) {
            if (!editForm_->SaveChanges()) return;
            // Saving may have made the file again.
            if (!QFileInfo::exists(editForm_->FileName())) {
                editor::EditorSettings settings = editForm_->Settings();
                settings.fileName = defaultNotesFile_;
                editForm_->SetSettings(settings);
            }
        }
        editForm_->LoadFile(editForm_->FileName());
    });
    editForm_->show();
    editForm_->raise();
    editForm_->activateWindow();
}

}  // namespace mainwin
