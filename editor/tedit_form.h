// The notes window: a tool bar, the text control and a status line with the caret's line
// and column. It edits one file at a time, as plain text or as RTF (by the extension); the
// bytes go through NotesFile, the disk through platform/safe_file. Its commands: find and
// replace, the DOS/Windows conversions, alignment, word wrap, font, printing, undo and the
// clipboard.
#pragma once

#include <QFont>
#include <QMainWindow>
#include <QTimer>
#include <QString>
#include <map>
#include <optional>
#include <memory>
#include <string>
#include <string_view>

#include "editor/formats/notes_file.h"
#include "platform/qt/dialogs.h"
#include "platform/safe_file.h"

class QAction;
class QLabel;
class QMenu;
class QPrinter;
class QTextCursor;
class QTextEdit;

namespace editor {

class EditBatch;
class FindDialog;
class RecoveryCopy;
struct RecoveryCopySnapshot;

// Name of a text that has no file yet.
inline const QString UnnamedFile = QStringLiteral("Unbekannt");

class TEditForm : public QMainWindow {
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
    void MakeBackup(const QString& name);
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

    // State shared with the calculator window and the settings.
    const QString& FileName() const { return fileName_; }
    void SetFileName(const QString& name) { fileName_ = name; }
    const QString& SuchText() const { return suchText_; }
    void SetSuchText(const QString& text) { suchText_ = text; }
    std::int32_t LastPos() const { return lastPos_; }
    void SetLastPos(std::int32_t pos) { lastPos_ = pos; }
    bool IsBAK() const { return isBAK_; }
    void SetIsBAK(bool on) { isBAK_ = on; }
    bool Converting() const { return converting_; }
    bool StopConversion() const { return stopConversion_; }
    std::int32_t TextLength() const { return textLength_; }
    bool PlainText() const { return plainText_; }
    bool Modified() const;
    // The font of the font dialog, also the font of every plain-text file.
    const QFont& DialogFont() const { return dialogFont_; }
    void SetDialogFont(const QFont& font) { dialogFont_ = font; }
    // The control's word wrap alone; Wordwrap1Click flips it with scroll bars and check mark.
    bool WordWrap() const;
    void SetWordWrap(bool on);
    // The page margins of printing in millimetres: X left and right, Y top and bottom.
    std::int32_t PrintMarginX() const { return printMarginX_; }
    void SetPrintMarginX(std::int32_t mm) { printMarginX_ = mm; }
    std::int32_t PrintMarginY() const { return printMarginY_; }
    void SetPrintMarginY(std::int32_t mm) { printMarginY_ = mm; }
    // The printer of the print and printer setup dialogs (made on first use).
    QPrinter& Printer();

    // The recovery copy of a modified text (no folder set: none).
    RecoveryCopy& Recovery() { return *recovery_; }

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
    platform::MessageButton SavePrompt();
    // Runs a modal dialog; the window losing the focus to it is no deactivation.
    template <class Call>
    auto Modal(Call call) {
        struct Leave {
            int& depth;
            ~Leave() { --depth; }
        } leave{++dialogDepth_};
        return call();
    }
    void InstallDocument(QTextDocument* document);
    // The recovery copy: what it is to hold, and the offer of one when a file is loaded.
    std::optional<RecoveryCopySnapshot> RecoverySnapshot() const;
    void OfferRecovery(const QString& name);
    void ReadIntoEditor(const QString& name);
    void WriteFile();
    bool ConfirmOverwrite();
    platform::FileRequest FileDialogRequest(const QString& title) const;
    void EnableConversions(bool ascii, bool ansi);

    // Find and replace.
    FindDialog* MakeFindDialog(bool replace);
    QWidget* BoxOwner();
    void FindNext(const FindDialog& dialog);
    bool SearchNext(const FindDialog& dialog, QTextCursor& selection);
    void ShowNotFound(const QString& text);
    int FindInText(const QString& text, int start, int end, bool wholeWord, bool matchCase) const;
    bool SelectionIsHit(const FindDialog& dialog, const QTextCursor& selection) const;
    void ReplaceSelection(QTextCursor& edit, QTextCursor& selection, const QString& text);

    // The conversions.
    enum class Conversion { OemToAnsi, AnsiToOem };
    void Convert(Conversion way);
    void ConvertLine(int line, Conversion way, EditBatch& batch, QTextCursor& caret);
    void StopConversionOnClose();

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

    NotesFile notesFile_;
    // The file on disk as the text was read from it or last saved to it, so that a change
    // by another program since is noticed before a save overwrites it.
    struct DiskFile {
        QString name;
        platform::FileStamp stamp;
    };
    DiskFile disk_;
    QString fileName_;
    QString suchText_;
    std::int32_t lastPos_ = 0;
    bool isBAK_ = false;
    bool converting_ = false;
    bool stopConversion_ = false;
    std::int32_t textLength_ = 0;
    bool plainText_ = true;
    QFont dialogFont_;
    std::int32_t printMarginX_ = 0;
    std::int32_t printMarginY_ = 0;
    std::unique_ptr<QPrinter> printer_;
    FindDialog* findDialog_ = nullptr;
    FindDialog* replaceDialog_ = nullptr;
    bool replacing_ = false;
    EditBatch* conversionBatch_ = nullptr;  // the running conversion's open edits
    std::unique_ptr<RecoveryCopy> recovery_;
};

}  // namespace editor
