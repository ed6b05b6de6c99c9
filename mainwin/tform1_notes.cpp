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

// A notes file that is gone gives way to the default notes file. The window is shown
// whatever the load did: after Cancel in its save prompt it keeps the text as it was, and a
// file that could not be read has had its error shown.
void TForm1::MenuNotizenClick() {
    if (!editForm_) return;
    if (!QFileInfo::exists(editForm_->FileName())) {
        editor::EditorSettings settings = editForm_->Settings();
        settings.fileName = defaultNotesFile_;
        editForm_->SetSettings(settings);
    }
    platform::RunGuarded([this] { editForm_->LoadFile(editForm_->FileName()); });
    editForm_->show();
    editForm_->raise();
    editForm_->activateWindow();
}

}  // namespace mainwin
