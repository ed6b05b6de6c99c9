// SPDX-License-Identifier: GPL-3.0-or-later
// The notes window: creation, its window events (activation, keys, closing) and the
// modified flag that the save commands follow.
#include "editor/tedit_form.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QPrinter>
#include <QResizeEvent>
#include <QTextEdit>

#include "editor/find_dialog.h"
#include "editor/notes_edit.h"
#include "editor/plain_notes_layout.h"
#include "editor/recovery_copy.h"
#include "platform/qt/application.h"

namespace editor {

TEditForm::TEditForm(platform::Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent),
      dialogs_(dialogs),
      longCommand_([this] { return editor_->document(); },
                   [this](bool running) { RefuseEdits(running); }),
      wholeTextDelete_([this] { return editor_->document(); },
                       [this](QTextDocument* document) { ShowKept(document); }) {
    setObjectName(QStringLiteral("EditForm"));
    FormCreate();
}

// A change not yet in the recovery copy goes there before the program ends: the end's
// Save As may have been cancelled.
TEditForm::~TEditForm() { session_.Recovery().Flush(); }

void TEditForm::FormCreate() {
    auto* editor = new NotesEdit(this);
    editor_ = editor;
    editor_->setObjectName(QStringLiteral("Editor"));
    editor_->setAccessibleName(QStringLiteral("Notiztext"));
    editor_->setAcceptRichText(false);
    editor_->setFrameShape(QFrame::NoFrame);
    editor_->setLineWrapMode(QTextEdit::WidgetWidth);
    editor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor_->setContextMenuPolicy(Qt::CustomContextMenu);
    editor_->installEventFilter(this);  // the window sees every key before the control
    editor->OnPasteOverAll([this](const QString& text) {
        bool done = false;
        platform::RunGuarded([&] { done = PasteOverWholeText(text); });
        return done;
    });
    setCentralWidget(editor_);
    dialogFont_ = editor_->font();

    BuildToolBar();
    BuildMenus();
    BuildContextMenu();
    BuildStatusBar();

    // A long text is laid out piece by piece; its lines are counted once that has settled.
    lineCountTimer_.setSingleShot(true);
    lineCountTimer_.setInterval(100);
    connect(&lineCountTimer_, &QTimer::timeout, this, [this] {
        platform::RunGuarded([this] {
            countAllLines_ = false;
            CountAllLines();
            UpdateCursorPos();
        });
    });
    connect(editor_, &QTextEdit::textChanged, this,
            [this] { platform::RunGuarded([this] { EditorChange(); }); });
    connect(editor_, &QTextEdit::textChanged, this, [this] { session_.Recovery().Changed(); });
    connect(editor_, &QTextEdit::cursorPositionChanged, this,
            [this] { platform::RunGuarded([this] { UpdateCursorPos(); }); });
    InstallDocument(new QTextDocument(editor_));
    setWindowTitle(QStringLiteral("Untitled"));
    resize(560, 400);
    FollowModified();
}

bool TEditForm::Modified() const { return session_.Modified(); }

void TEditForm::SetModified(bool modified) {
    session_.SetModified(modified);
    FollowModified();
}

// "SaveBtn" and "&Speichern" are enabled exactly while the text is modified, so that F2
// does nothing for an unchanged text.
void TEditForm::FollowModified() {
    Action("SaveBtn")->setEnabled(Modified());
    Action("Save1")->setEnabled(Modified());
}

void TEditForm::File1Click() { Action("Save1")->setEnabled(Modified()); }

// Puts a freshly read document into the control; the previous one is deleted with it (and
// a text a delete hid behind it).
// A plain text gets the dialog's font and the layout of equal lines before the control sees
// it, so that the text is laid out once.
void TEditForm::InstallDocument(QTextDocument* document) {
    if (PlainText()) {
        document->setDefaultFont(dialogFont_);
        UsePlainLayout(document);
    }
    // The control may delete its previous document itself; what is left goes here.
    const QPointer<QTextDocument> old = editor_->document();
    ShowDocument(document);
    if (old && old != document) delete old.data();
}

void TEditForm::UsePlainLayout(QTextDocument* document) {
    auto* layout = new PlainNotesLayout(document);
    layout->KeepInView(static_cast<NotesEdit*>(editor_));
    document->setDocumentLayout(layout);
}

void TEditForm::ShowDocument(QTextDocument* document) {
    document->setParent(editor_);
    editor_->setDocument(document);
    connect(document, &QTextDocument::modificationChanged, this, [this](bool modified) {
        platform::RunGuarded([this, modified] {
            FollowModified();
            if (!modified) WholeTextDelete::Saved(*editor_->document());
        });
    });
    connect(document, &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { NoteChangedBlocks(position, added); });
    // A plain text's layout counts in the background after long changes as well.
    const bool counts = dynamic_cast<PlainNotesLayout*>(document->documentLayout()) != nullptr;
    connect(document->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
            [this, counts] {
                if (countAllLines_ || counts) lineCountTimer_.start();
            });
    changedFrom_ = changedTo_ = -1;
    ScheduleCountAllLines();
}

// A document that a delete of the whole text hid, or the empty one it showed, in place of
// the one shown now (which stays, hidden, unheard and uncounted). The caret goes to the
// end, as after an undo of the delete.
void TEditForm::ShowKept(QTextDocument* document) {
    QTextDocument* hidden = editor_->document();
    hidden->disconnect(this);
    hidden->documentLayout()->disconnect(this);
    if (auto* layout = dynamic_cast<PlainNotesLayout*>(hidden->documentLayout()))
        layout->HoldChanges(true);
    auto* layout = dynamic_cast<PlainNotesLayout*>(document->documentLayout());
    if (layout) {
        layout->HoldChanges(false);
        layout->KeepCounts(true);  // the control lays the whole text out anew
    }
    ShowDocument(document);
    if (layout) layout->KeepCounts(false);
    QTextCursor caret(document);
    caret.movePosition(QTextCursor::End);
    editor_->setTextCursor(caret);
}

// A stop request raised during a conversion holds until that conversion has ended.
void TEditForm::FormActivate() {
    SetEditRect();
    longCommand_.ClearStop();
}

// Reopening the window returns to the place where the user left it.
// A box of this window taking the focus is no deactivation: "&Neu" and "&Öffnen" set the
// place before the save prompt.
void TEditForm::FormDeactivate() {
    if (dialogDepth_ == 0) lastPos_ = editor_->textCursor().position();
}

void TEditForm::SetEditRect() {
    static_cast<NotesEdit*>(editor_)->SetFormattingMargins(3, 2);
    FitStatusPanel();
}

void TEditForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange)
        platform::RunGuarded([this] { isActiveWindow() ? FormActivate() : FormDeactivate(); });
    QMainWindow::changeEvent(event);
}

void TEditForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    platform::RunGuarded([this] { UpdateCursorPos(); });
}

void TEditForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    platform::RunGuarded([this, event] {
        SetEditRect();
        if (event->size().width() != event->oldSize().width()) ScheduleCountAllLines();
    });
}

// Escape closes the window (through the close query); other keys reach the control.
void TEditForm::FormKeyDown(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) close();
}

// The control ignores Escape, which would then come to the window a second time and ask
// its question twice; it ends here.
bool TEditForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editor_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        platform::RunGuarded([&] { FormKeyDown(key); });
        if (key->key() == Qt::Key_Escape) return true;
        // Delete, Backspace, cut and a character typed over the whole text take the quick
        // way.
        const bool erase = (key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace) &&
                           key->modifiers() == Qt::NoModifier;
        const QString typed = NotesEdit::TypedText(*key);
        bool done = false;
        if (erase || key->matches(QKeySequence::Cut))
            platform::RunGuarded([&] { done = DeleteWholeText(!erase); });
        else if (!typed.isEmpty() && editor_->textCursor().hasSelection())
            platform::RunGuarded([&] { done = TypeOverWholeText(typed); });
        if (done) return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TEditForm::keyPressEvent(QKeyEvent* event) {
    platform::RunGuarded([&] { FormKeyDown(event); });
    QMainWindow::keyPressEvent(event);
}

void TEditForm::Exit1Click() { close(); }

// (The hourglass of a load is always taken back by the time the window can close.)
bool TEditForm::FormCloseQuery() {
    if (Converting()) {
        StopConversionOnClose();
        return false;
    }
    // Cancel changes nothing: a replace that runs goes on. Otherwise the replace goes no
    // further than the close. Closing only hides the window: a text that could not be saved
    // stays in memory and is asked about again on the next load.
    if (session_.SaveChanges() == NotesSession::Prompt::Cancel) return false;
    StopLongCommand();
    return true;
}

// Closing hides the window, and the find and replace dialogs with it; text and state stay
// for the next showing.
void TEditForm::closeEvent(QCloseEvent* event) {
    bool close = false;
    platform::RunGuarded([&] { close = FormCloseQuery(); });
    if (!close) {
        event->ignore();
        return;
    }
    for (FindDialog* dialog : {findDialog_, replaceDialog_})
        if (dialog) dialog->close();
    event->accept();
}

}  // namespace editor
