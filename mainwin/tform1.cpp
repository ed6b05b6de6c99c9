// SPDX-License-Identifier: GPL-3.0-or-later
// The calculator window: construction, the result fields as the calculator's view, and
// creation (settings, glyph font, term files).
#include "mainwin/tform1.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QWindow>
#include <stdexcept>

#include "astro/term_files.h"
#include "cycle/names.h"
#include "mainwin/glyph_field.h"
#include "platform/locations.h"
#include "platform/qt/application.h"
#include "platform/qt/window_placement.h"

namespace mainwin {

namespace {

QString FolderOf(const QString& programFile) {
    return QFileInfo(programFile).absolutePath() + "/";
}

// Beside the program, or in the installation's data folder.
QString DataFolderOf(const QString& programFile) {
    return QString::fromStdString(platform::DataFolder(FolderOf(programFile).toStdString()));
}

// Beside a portable copy, else in the user's configuration folder.
std::filesystem::path SettingsFileOf(const QString& programFile) {
    return platform::SettingsFile(QFileInfo(programFile).absoluteFilePath().toStdString());
}

// Beside a portable copy, else in the user's data folder.
QString NotesFileOf(const QString& programFile) {
    return QString::fromStdString(
        platform::DefaultNotesFile(QFileInfo(programFile).absoluteFilePath().toStdString())
            .string());
}

}  // namespace

TForm1::TForm1(platform::Dialogs& dialogs, const QString& programFile, QStringList arguments,
               ClockSource clock)
    : dialogs_(dialogs),
      programFile_(QFileInfo(programFile).absoluteFilePath()),
      dataFolder_(DataFolderOf(programFile)),
      defaultNotesFile_(NotesFileOf(programFile)),
      arguments_(std::move(arguments)),
      clock_(std::move(clock)),
      settings_(SettingsFileOf(programFile)),
      calc_(*this, dataFolder_.toStdString()),
      activation_(this) {
    setObjectName(QStringLiteral("Form1"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    timer1_.setInterval(static_cast<int>(timerInterval_));
    connect(&timer1_, &QTimer::timeout, this,
            [this] { platform::RunGuarded([this] { Timer1Timer(); }); });
    BuildMenus();
    BuildLayout();
    BindResultFields();
    // The activation handler runs through the event queue, so that an error in its
    // calculation reaches the application's error handling like any other.
    connect(qApp, &QGuiApplication::focusWindowChanged, this,
            [this] { platform::RunGuarded([this] { OnFocusWindowChanged(); }); });
}

TForm1::~TForm1() = default;

QLineEdit* TForm1::AddField(std::string_view name, QLineEdit* edit) {
    edit->setObjectName(QString::fromUtf8(name.data(), static_cast<int>(name.size())));
    edit->installEventFilter(this);
    fields_.emplace(std::string(name), edit);
    return edit;
}

QLineEdit* TForm1::Field(std::string_view name) const {
    const auto it = fields_.find(name);
    return it == fields_.end() ? nullptr : it->second;
}

QLabel* TForm1::Label(std::string_view name) const {
    const auto it = labels_.find(name);
    return it == labels_.end() ? nullptr : it->second;
}

QAction* TForm1::Action(std::string_view name) const {
    const auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

// The calculator's fields are bound to their controls once, by name; a name without a
// control is a programming error that shows at the first start, not a silent no-op.
void TForm1::BindResultFields() {
    for (const cycle::InputField f : cycle::InputFields) {
        inputs_[cycle::IndexOf(f)] = Field(cycle::NameOf(f));
        if (!Input(f)) throw std::logic_error("no control for " + std::string(cycle::NameOf(f)));
    }
    for (const cycle::ResultField f : cycle::ResultFields) {
        ResultWidget& w = results_[cycle::IndexOf(f)];
        w.edit = Field(cycle::NameOf(f));
        w.label = Label(cycle::NameOf(f));
        if (!w.edit && !w.label)
            throw std::logic_error("no control for " + std::string(cycle::NameOf(f)));
    }
}

std::string TForm1::Text(cycle::InputField field) const {
    return Input(field)->text().toStdString();
}

void TForm1::SetText(cycle::ResultField field, const std::string& text) {
    const QString value = QString::fromStdString(text);
    const ResultWidget& w = results_[cycle::IndexOf(field)];
    if (w.edit) {
        if (auto* glyph = dynamic_cast<GlyphField*>(w.edit)) {
            glyph->SetGlyph(value, QString::fromUtf8(cycle::CharacterOfLetter(text)));
        } else {
            w.edit->setText(value);
            w.edit->setCursorPosition(0);
        }
    } else {
        w.label->setText(value);
    }
}

void TForm1::SetBusy(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

bool TForm1::FormCreate() {
    firstActivation_ = true;
    fontInstalled_ = false;

    const MainSettings s = ReadCreationSettings(settings_);
    calc_.SetMoonSpeed(s.MoonSpeed);
    symbolSize_ = s.SymbolSize;
    Action("MenuAutoFont")->setChecked(s.AutoFont);
    Action("MenuEndMsg")->setChecked(s.EndMsg);

    if (s.AutoFont) {
        const QString fontFile = dataFolder_ + "Vivar01.TTF";
        if (!QFileInfo::exists(fontFile)) {
            ShowMessage(platform::MessageKind::Warning, fontFile + " nicht gefunden");
        } else if (InstallGlyphFont(fontFile)) {
            fontInstalled_ = true;
        } else {
            ShowMessage(platform::MessageKind::Warning,
                        fontFile + " konnte nicht installiert werden\n" +
                            "bitte manuell unter Windows-Schriftarten installieren !");
        }
    }

    if (!astro::TermFilesExist(dataFolder_.toStdString())) {
        dialogs_.Message(this, platform::MessageKind::Error,
                         dataFolder_ + "PLANETS.NDX und .DAT nicht gefunden !",
                         platform::ButtonAbort);
        RemoveGlyphFont();
        return false;
    }

    ApplyGlyphFont();
    setWindowTitle(programFile_);
    setWindowIconText(programFile_);
    // The window opens at its stored position once it has its size.
    platform::ApplyStoredBounds(*this, {s.Left, s.Top}, size());
    return true;
}

void TForm1::ShowMessage(platform::MessageKind kind, const QString& text) {
    dialogs_.Message(this, kind, text, platform::ButtonOk);
}

}  // namespace mainwin
