// The notes window: a tool bar, the text control and a status line with the caret's line
// and column. It edits one file at a time, as plain text or as RTF (by the extension); the
// bytes go through NotesFile, the disk through notes_file_io. Find and replace, the
// conversions, formatting and printing are items of its menus that are not active yet.
#pragma once

#include <QFont>
#include <QMainWindow>
#include <QTimer>
#include <QString>
#include <map>
#include <string>
#include <string_view>

#include "editor/notes_file.h"
#include "platform/qt/dialogs.h"

class QAction;
class QLabel;
class QMenu;
class QTextEdit;

namespace editor {

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

    // Refreshes: the status line, the text's margins, the "&Datei" menu.
    void UpdateCursorPos();
    void SetEditRect();
    void File1Click();
    void EditorChange();

    // True when the window may close (asks to save a modified text).
    bool FormCloseQuery();

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
    const QFont& DialogFont() const { return dialogFont_; }
    void SetDialogFont(const QFont& font) { dialogFont_ = font; }
    // The control's word wrap alone; Wordwrap1Click flips it with scroll bars and check mark.
    bool WordWrap() const;
    void SetWordWrap(bool on);
    void Wordwrap1Click();

    // The widgets, for tests.
    QTextEdit* Editor() const { return editor_; }
    QAction* Action(std::string_view name) const;
    QLabel* StatusPanel(int index) const { return index == 0 ? panel1_ : panel2_; }
    QMenu* ContextMenu() const { return contextMenu_; }

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
    // The save prompt; false when the user cancelled or the text could not be saved.
    bool SaveChanges();
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
    void ReadIntoEditor(const QString& name);
    void WriteFile();
    platform::FileRequest FileDialogRequest(const QString& title) const;

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
    QString fileName_;
    QString suchText_;
    std::int32_t lastPos_ = 0;
    bool isBAK_ = false;
    bool converting_ = false;
    bool stopConversion_ = false;
    std::int32_t textLength_ = 0;
    bool plainText_ = true;
    QFont dialogFont_;
};

}  // namespace editor
