// SPDX-License-Identifier: GPL-3.0-or-later
// The notes window: a tool bar, the text control and a status line with the caret's line
// and column. It edits one file at a time, as plain text or as RTF (by the extension); the
// bytes go through NotesFile, the disk through platform/safe_file. Its commands: find and
// replace, the DOS/Windows conversions, alignment, word wrap, font, printing, undo and the
// clipboard.
//
// Where what lives. The window only wires menus and dialogs to the classes named in
// brackets, which do the work; "owns" names the members a file alone changes.
//
//   tedit_form.cpp           creation, activation, keys, closing, the modified flag; owns
//                            dialogDepth_ (a box of this window is no deactivation); the
//                            deactivation and the file commands set lastPos_
//   tedit_form_menus.cpp     tool bar, menus, context menu, status bar; owns actions_
//   tedit_form_files.cpp     LoadFile, Open1Click, New1Click, Save1Click, Saveas1Click as
//                            calls into session_ (NotesSession, which owns the text's file,
//                            mode, disk stamp and recovery copy), and the window's side of
//                            NotesSessionHost: the document shown, caption, boxes, dialogs
//   tedit_form_status.cpp    UpdateCursorPos, EditorChange; owns the line counts
//                            (lineCountTimer_, countAllLines_, changedFrom_/To_); measures
//                            textLength_ after each change, as LoadFile after each load
//   tedit_form_find.cpp      Suchen1Click, Ersetzen1Click, Find, RepFind, StringTauschen
//                            (ReplaceRun, FindDialog); owns suchText_ and the two dialogs
//   tedit_form_convert.cpp   Ascii1Click, Ansi1Click, the close during a conversion
//                            (LineConversion)
//   tedit_form_format.cpp    alignment, Font1Click, undo, clipboard, delete (the whole text
//                            through WholeTextDelete); owns dialogFont_
//   tedit_form_wordwrap.cpp  Wordwrap1Click: word wrap, scroll bars, check mark
//   tedit_form_print.cpp     Print1Click, Printersetup1Click (GetPrintMargins); owns printer_
//   editor_settings.cpp      Settings, SetSettings: the kept state as one value; isBAK_ and
//                            the print margins change only there
//
// The long commands, replace and the two conversions, let events through while they run.
// They share longCommand_ (LongCommand): one at a time, stopped by a load, an emptying or a
// close, and asking after every pass of the event loop whether they may go on. While one
// runs the text takes no edits (RefuseEdits).
#pragma once

#include <QFont>
#include <QMainWindow>
#include <QTimer>
#include <QString>
#include <functional>
#include <map>
#include <optional>
#include <memory>
#include <string>
#include <string_view>

#include "editor/editor_settings.h"
#include "editor/line_conversion.h"
#include "editor/long_command.h"
#include "editor/notes_session.h"
#include "editor/whole_text_delete.h"
#include "platform/qt/dialogs.h"
#include "platform/safe_file.h"

class QAction;
class QLabel;
class QMenu;
class QPrinter;
class QTextCursor;
class QTextEdit;

namespace editor {

class FindDialog;

class TEditForm : public QMainWindow, private NotesSessionHost {
public:
    explicit TEditForm(platform::Dialogs& dialogs, QWidget* parent = nullptr);
    ~TEditForm() override;

    // The file commands.
    void LoadFile(const QString& name);
    void Open1Click();
    void New1Click();
    void Save1Click();
    void Saveas1Click();
    void Exit1Click();
    // The save prompt for a modified text; false when the user cancelled or the text could
    // not be saved (whoever asked must then stop, or the text would be lost).
    bool SaveChanges();

    // Refreshes: the status line, the text's margins, the "&Datei" menu.
    void UpdateCursorPos();
    void SetEditRect();
    void File1Click();
    void EditorChange();

    // True when the window may close (asks to save a modified text).
    bool FormCloseQuery();
    // The replace that runs goes no further (the program is about to end).
    void StopLongCommand() {
        if (longCommand_.Running()) longCommand_.Stop();
    }

    // Find and replace: the modeless dialogs and their buttons.
    void Suchen1Click();
    void Ersetzen1Click();
    void Find();
    void RepFind();
    void StringTauschen();

    // The whole text from the DOS to the Windows character set and back.
    void Ascii1Click();
    void Ansi1Click();

    // Formatting: `item` is one of the three alignment items.
    void AlignClick(QAction* item);
    void Character1Click();
    void Wordwrap1Click();
    void Font1Click();

    // The edit commands.
    void Edit1Click();
    void Undo1Click();
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    void Delete1Click();
    void Selectall1Click();

    // Printing on the printer chosen in the print or the printer setup dialog.
    void Print1Click();
    void Printersetup1Click();

    // What the settings file keeps, and the print margins, as one value.
    EditorSettings Settings() const;
    void SetSettings(const EditorSettings& settings);

    // State the calculator window and the commands read.
    const QString& FileName() const { return session_.FileName(); }
    bool Converting() const { return longCommand_.Runs(LongCommand::Kind::Conversion); }
    bool StopConversion() const { return longCommand_.StopRequested(); }
    std::int32_t TextLength() const { return textLength_; }
    bool PlainText() const { return session_.PlainText(); }
    bool Modified() const;
    bool WordWrap() const;
    // The printer of the print and printer setup dialogs (made on first use).
    QPrinter& Printer();

    // The recovery copy of a modified text (no folder set: none).
    RecoveryCopy& Recovery() { return session_.Recovery(); }

    // The widgets, for tests.
    QTextEdit* Editor() const { return editor_; }
    QAction* Action(std::string_view name) const;
    QLabel* StatusPanel(int index) const { return index == 0 ? panel1_ : panel2_; }
    QMenu* ContextMenu() const { return contextMenu_; }
    FindDialog* FindDialog1() const { return findDialog_; }
    FindDialog* ReplaceDialog1() const { return replaceDialog_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FormCreate();
    void BuildToolBar();
    void BuildMenus();
    void BuildContextMenu();
    void BuildStatusBar();
    QAction* AddAction(const char* name, const QString& text, const QString& hint,
                       void (TEditForm::*handler)());
    void FormActivate();
    void FormDeactivate();
    void FormKeyDown(QKeyEvent* event);
    void FitStatusPanel();
    void NoteChangedBlocks(int position, int added);
    void CountChangedLines();
    void CountAllLines();
    void ScheduleCountAllLines();
    void SetModified(bool modified);
    void FollowModified();
    // Runs a modal dialog; the window losing the focus to it is no deactivation.
    template <class Call>
    auto Modal(Call call) {
        struct Leave {
            int& depth;
            ~Leave() { --depth; }
        } leave{++dialogDepth_};
        return call();
    }
    void ShowWordWrap(bool on);
    void InstallDocument(QTextDocument* document);
    void UsePlainLayout(QTextDocument* document);
    void ShowDocument(QTextDocument* document);
    void ShowKept(QTextDocument* document);
    // Select all + delete (or cut: `copy`): the text hidden whole (WholeTextDelete); false
    // when the selection is not the whole text, the text holds pictures, lists or tables or
    // takes no edits. `fill` puts in the text that replaces it, in the same step for undo.
    bool DeleteWholeText(bool copy, const std::function<void(QTextCursor&)>& fill = {});
    // A key typed or plain text pasted over the whole text, the same way.
    bool TypeOverWholeText(const QString& text);
    bool PasteOverWholeText(const QString& text);
    // NotesSessionHost: what the text's session asks of the window.
    QTextDocument* Document() const override;
    void Show(QTextDocument* document) override;
    void Named(const QString& name) override;
    void Loading(bool exists) override;
    platform::MessageButton Ask(platform::MessageKind kind, const QString& text,
                                unsigned buttons) override;
    std::optional<QString> SaveName(const QString& title) override;
    void SavingAs(bool on) override;
    platform::FileRequest FileDialogRequest(const QString& title) const;
    void EnableConversions(bool ascii, bool ansi);

    // Find and replace.
    FindDialog* MakeFindDialog(bool replace);
    QWidget* BoxOwner(const FindDialog& dialog);
    void FindNext(const FindDialog& dialog);
    bool SearchNext(const FindDialog& dialog, QTextCursor& selection);
    void ShowNotFound(const FindDialog& dialog);
    void Tell(const FindDialog& dialog, const QString& message);

    // The conversions.
    void Convert(Charset way);
    void StopConversionOnClose();

    // While a long command runs the text takes no edits.
    void RefuseEdits(bool refuse);
    QFont SelectionFont() const;
    void PrintText(QPrinter& printer);

    platform::Dialogs& dialogs_;
    QTextEdit* editor_ = nullptr;
    QLabel* panel1_ = nullptr;
    QLabel* panel2_ = nullptr;
    QMenu* contextMenu_ = nullptr;
    std::map<std::string, QAction*, std::less<>> actions_;
    // The displayed lines of each paragraph, kept in the document's blocks for the status
    // line: the changed paragraphs at once; all of them after a load or a resize, once the
    // layout has settled (the document's height stays the same for a moment).
    QTimer lineCountTimer_;
    bool countAllLines_ = false;
    int dialogDepth_ = 0;
    int changedFrom_ = -1;
    int changedTo_ = -1;

    QString suchText_;
    std::int32_t lastPos_ = 0;
    bool isBAK_ = false;
    std::int32_t textLength_ = 0;
    QFont dialogFont_;
    std::int32_t printMarginX_ = 0;
    std::int32_t printMarginY_ = 0;
    std::unique_ptr<QPrinter> printer_;
    FindDialog* findDialog_ = nullptr;
    FindDialog* replaceDialog_ = nullptr;
    // The conversion or the replace that runs now.
    LongCommand longCommand_;
    WholeTextDelete wholeTextDelete_;
    // The text's file, mode, disk stamp and recovery copy (after the control it reads).
    NotesSession session_{*this};
};

}  // namespace editor
