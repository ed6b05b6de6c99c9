// SPDX-License-Identifier: GPL-3.0-or-later
// The calculator window. Its three bands: the input bar (hour, day, month, year), the
// results area (rows hour, day, month, year; columns "Periode 60", stems, branches) and
// the status line with the year start and the winter solstice. It runs the calculator on
// activation, on the Return key, on a click on any field and on every clock tick.
#pragma once

#include <QMainWindow>
#include <QDateTime>
#include <QStringList>
#include <QTimer>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "cycle/calculator.h"
#include "mainwin/activation.h"
#include "mainwin/settings.h"
#include "platform/ini_file.h"
#include "platform/qt/dialogs.h"

class QAction;
class QFrame;
class QHBoxLayout;
class QLabel;
class QLineEdit;

namespace editor {
class TEditForm;
}

namespace mainwin {

// The eight fields that show stems and branches as glyphs.
inline constexpr const char* GlyphFieldNames[] = {"StemSEdit",   "StemTEdit",   "StemMEdit",
                                                  "StemJEdit",   "BranchSEdit", "BranchTEdit",
                                                  "BranchMEdit", "BranchJEdit"};

// The local date and time; tests put in any instant.
using ClockSource = std::function<QDateTime()>;

class TForm1 : public QMainWindow, private cycle::CalculatorView {
public:
    // `programFile`: the program's full path. The term files and the glyph font lie beside
    // it or in the installation's data folder; the settings file lies beside it when its
    // folder is writable, else in the user's configuration folder (platform/locations.h).
    // `arguments`: the command line without the program name.
    TForm1(platform::Dialogs& dialogs, const QString& programFile, QStringList arguments,
           ClockSource clock = &QDateTime::currentDateTime);
    ~TForm1() override;

    // Creation: settings, glyph font, the check for the term files, caption, layout.
    // False when the term files are missing: the program then ends without showing a window.
    bool FormCreate();

    // The notes window, which the notes command opens, the settings fill and the end of
    // the program asks about; coming back from it activates this window again.
    void SetEditForm(editor::TEditForm* editForm);

    void FormActivate();
    // True when the key was a command (Return, Escape, F1) that the key's receiver must not
    // see again.
    bool FormKeyDown(QKeyEvent* event);
    void EditClick();
    void ReadCommandLine();
    void ReadClock();

    void MenuClockClick();
    void Timer1Timer();
    void MenuUhrSpeedClick();
    void MenuMoonSpeedClick();
    void MenuSymbolSizeClick();
    // The two check-mark items: their menu actions are checkable, so the mark is already
    // inverted when these run.
    void MenuAutoFontClick();
    void MenuEndMsgClick();
    void MenuInfoClick();
    void MenuNotizenClick();
    void MenuEndeClick();

    void LoadDeferredSettings();
    void SaveSettings();
    bool InstallGlyphFont(const QString& path);
    void RemoveGlyphFont();
    void ApplyGlyphFont();

    // State, read by tests and by the program entry.
    bool ClockRunning() const { return timerEnabled_; }
    std::uint32_t TimerInterval() const { return timerInterval_; }
    std::int32_t SymbolSize() const { return symbolSize_; }
    bool AutoFont() const;
    bool EndMsg() const;
    bool FontInstalled() const { return fontInstalled_; }
    bool Ended() const { return ending_; }
    QString SettingsPath() const { return QString::fromStdString(settings_.Path().string()); }
    const QString& DefaultNotesFile() const { return defaultNotesFile_; }
    cycle::CycleCalculator& Calculator() { return calc_; }
    QLineEdit* Field(std::string_view name) const;
    QLabel* Label(std::string_view name) const;
    QAction* Action(std::string_view name) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // cycle::CalculatorView
    std::string Text(cycle::InputField field) const override;
    void SetText(cycle::ResultField field, const std::string& text) override;
    void SetBusy(bool busy) override;

    void BuildLayout();
    void BuildResultColumns(QHBoxLayout* columns);
    void BindResultFields();
    void BuildMenus();
    void SizeFields();
    void FitToContent();
    // Takes `edit` as the field `name`.
    QLineEdit* AddField(std::string_view name, QLineEdit* edit);
    QLineEdit* Input(cycle::InputField field) const { return inputs_[cycle::IndexOf(field)]; }
    void SetInputsReadOnly(bool readOnly);
    void PaintInputs(bool clockRunning);
    void WriteInputs();
    void SetTimerEnabled(bool enabled);
    void SetTimerInterval(std::uint32_t ms);
    bool FormClose();
    bool RefuseWhileConverting();
    void EndEventLoop();
    void SaveModifiedNotes();
    void OnFocusWindowChanged();
    std::optional<std::int32_t> AskNumber(const QString& prompt, std::int32_t current,
                                          std::int32_t low, std::int32_t high);
    void ShowMessage(platform::MessageKind kind, const QString& text);

    platform::Dialogs& dialogs_;
    QString programFile_;
    QString dataFolder_;  // the term files and the glyph font, with a final "/"
    QString defaultNotesFile_;
    QStringList arguments_;
    ClockSource clock_;
    platform::IniFile settings_;
    cycle::CycleCalculator calc_;
    ActivationTracker activation_;
    editor::TEditForm* editForm_ = nullptr;

    bool firstActivation_ = true;
    bool fontInstalled_ = false;
    int fontHandle_ = -1;
    QString installedFontPath_;
    std::int32_t symbolSize_ = 33;
    bool ending_ = false;

    QTimer timer1_;
    bool timerEnabled_ = false;
    std::uint32_t timerInterval_ = 10000;

    std::map<std::string, QLineEdit*, std::less<>> fields_;
    std::map<std::string, QLabel*, std::less<>> labels_;
    std::map<std::string, QAction*, std::less<>> actions_;
    std::array<QLineEdit*, 4> inputs_{};
    // Each result field is an edit field or, for the two dates, a label.
    struct ResultWidget {
        QLineEdit* edit = nullptr;
        QLabel* label = nullptr;
    };
    std::array<ResultWidget, cycle::ResultFieldCount> results_{};
    std::vector<QWidget*> rowWidgets_;  // everything in the four rows
    std::vector<QWidget*> headings_;    // the column headings
};

}  // namespace mainwin
