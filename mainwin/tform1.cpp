// The calculator window: construction, layout, the result fields as the calculator's view,
// and creation (settings, glyph font, term files).
#include "mainwin/tform1.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QWindow>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QVBoxLayout>

#include "astro/term_files.h"

namespace mainwin {

namespace {

// The settings file: the program file's name with ".INI" for its extension.
std::filesystem::path SettingsFileOf(const QString& programFile) {
    const QFileInfo info(programFile);
    const QString name = info.completeSuffix().isEmpty() ? info.fileName() : info.completeBaseName();
    return std::filesystem::path((info.absolutePath() + "/" + name + ".INI").toStdString());
}

QString FolderOf(const QString& programFile) {
    return QFileInfo(programFile).absolutePath() + "/";
}

QFrame* LoweredPanel(const char* name) {
    auto* panel = new QFrame;
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    return panel;
}

}  // namespace

TForm1::TForm1(platform::Dialogs& dialogs, const QString& programFile, QStringList arguments,
               ClockSource clock)
    : dialogs_(dialogs),
      programFile_(QFileInfo(programFile).absoluteFilePath()),
      programFolder_(FolderOf(programFile)),
      arguments_(std::move(arguments)),
      clock_(std::move(clock)),
      settings_(SettingsFileOf(programFile)),
      calc_(*this, programFolder_.toStdString()),
      activation_(this) {
    setObjectName(QStringLiteral("Form1"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    timer1_.setInterval(static_cast<int>(timerInterval_));
    connect(&timer1_, &QTimer::timeout, this, [this] { Timer1Timer(); });
    BuildMenus();
    BuildLayout();
    // The activation handler runs through the event queue, so that an error in its
    // calculation reaches the application's error handling like any other.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this] { OnFocusWindowChanged(); });
}

TForm1::~TForm1() = default;

QLineEdit* TForm1::AddField(std::string_view name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromUtf8(name.data(), static_cast<int>(name.size())));
    edit->installEventFilter(this);
    fields_.emplace(std::string(name), edit);
    return edit;
}

void TForm1::BuildLayout() {
    auto* central = new QWidget;
    auto* bands = new QVBoxLayout(central);
    bands->setContentsMargins(0, 0, 0, 0);
    bands->setSpacing(0);

    // Input bar: hour, day, month, year.
    QFrame* panel5 = LoweredPanel("Panel5");
    auto* inputs = new QHBoxLayout(panel5);
    inputs->setContentsMargins(6, 3, 6, 3);
    const std::pair<const char*, std::string_view> inputFields[] = {
        {"&Stunde", cycle::SEdit}, {"&Tag", cycle::TEdit}, {"&Monat", cycle::MEdit},
        {"&Jahr", cycle::JEdit}};
    for (const auto& [caption, name] : inputFields) {
        auto* label = new QLabel(QString::fromUtf8(caption));
        QLineEdit* edit = AddField(name);
        label->setBuddy(edit);
        edit->setMinimumWidth(std::max(65, edit->fontMetrics().horizontalAdvance("-99999") + 14));
        edit->setMaximumWidth(edit->minimumWidth());
        connect(edit, &QLineEdit::textChanged, this, [this] { calc_.ZeitEditChange(); });
        inputs->addWidget(label);
        inputs->addWidget(edit);
        inputs->addSpacing(10);
    }
    inputs->addStretch(1);
    bands->addWidget(panel5);

    // Results area: row captions, the positions in the cycle of sixty, stems, branches.
    auto* panel1 = new QWidget;
    panel1->setObjectName(QStringLiteral("Panel1"));
    auto* columns = new QHBoxLayout(panel1);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(0);
    BuildResultColumns(columns);
    bands->addWidget(panel1);

    // Status line: year start and winter solstice.
    QFrame* panel6 = LoweredPanel("Panel6");
    auto* status = new QHBoxLayout(panel6);
    status->setContentsMargins(6, 2, 6, 2);
    for (const char* name : {"JstLabel", "SoLabel"}) {
        auto* label = new QLabel;
        label->setObjectName(QString::fromLatin1(name));
        labels_.emplace(name, label);
        status->addWidget(label);
        status->addStretch(1);
    }
    bands->addWidget(panel6);

    setCentralWidget(central);
    // The window takes the size of its content and cannot be resized or maximised.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TForm1::BuildResultColumns(QHBoxLayout* columns) {
    const char* rows[] = {"S", "T", "M", "J"};
    struct Column {
        const char* panel;
        const char* heading;
        std::vector<std::string> perRow;  // field name patterns, '#' stands for the row letter
    };
    const Column groups[] = {
        {"Panel7", "", {}},
        {"Panel2", "Periode 60", {"#60Edit"}},
        {"Panel3", "himmlische Zeichen", {"Stem#Edit", "Stem#Edit2"}},
        {"Panel4", "irdische Zeichen", {"Branch#Edit", "Branch#Edit2"}},
    };
    const char* captions[] = {"Std.-Rhythmus", "Tages-Rhythmus", "Monats-Rhythmus",
                              "Jahres-Rhythmus"};
    for (const Column& group : groups) {
        QFrame* panel = LoweredPanel(group.panel);
        auto* grid = new QGridLayout(panel);
        grid->setContentsMargins(8, 6, 8, 8);
        grid->setHorizontalSpacing(6);
        grid->setVerticalSpacing(14);
        auto* heading = new QLabel(QString::fromUtf8(group.heading));
        if (std::string_view(group.panel) == "Panel2") heading->setObjectName("P60Label");
        grid->addWidget(heading, 0, 0, 1, std::max<int>(1, group.perRow.size()), Qt::AlignHCenter);
        for (int r = 0; r < 4; ++r) {
            if (group.perRow.empty()) {
                auto* caption = new QLabel(QString::fromUtf8(captions[r]));
                grid->addWidget(caption, r + 1, 0);
                rowWidgets_.push_back(caption);
                continue;
            }
            for (std::size_t c = 0; c < group.perRow.size(); ++c) {
                std::string name = group.perRow[c];
                name.replace(name.find('#'), 1, rows[r]);
                QLineEdit* edit = AddField(name);
                edit->setReadOnly(true);
                edit->setFocusPolicy(Qt::ClickFocus);
                QPalette pal = edit->palette();
                pal.setColor(QPalette::Base, pal.color(QPalette::Button));
                edit->setPalette(pal);
                grid->addWidget(edit, r + 1, static_cast<int>(c));
                rowWidgets_.push_back(edit);
            }
        }
        columns->addWidget(panel);
    }
    // The hour has no position in the cycle of sixty and no stem; its fields keep their
    // place so that the rows stay aligned.
    for (const char* hidden : {"S60Edit", "StemSEdit", "StemSEdit2"}) {
        QLineEdit* edit = fields_.at(hidden);
        QSizePolicy policy = edit->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        edit->setSizePolicy(policy);
        edit->hide();
    }
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

std::string TForm1::Text(std::string_view field) const {
    const QLineEdit* edit = Field(field);
    return edit ? edit->text().toStdString() : std::string();
}

void TForm1::SetText(std::string_view field, const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (QLineEdit* edit = Field(field)) {
        edit->setText(value);
        edit->setCursorPosition(0);
    } else if (QLabel* label = Label(field)) {
        label->setText(value);
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
    move(s.Left, s.Top);
    calc_.SetMoonSpeed(s.MoonSpeed);
    symbolSize_ = s.SymbolSize;
    Action("MenuAutoFont")->setChecked(s.AutoFont);
    Action("MenuEndMsg")->setChecked(s.EndMsg);

    if (s.AutoFont) {
        const QString fontFile = programFolder_ + "Vivar01.TTF";
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

    if (!astro::TermFilesExist(programFolder_.toStdString())) {
        dialogs_.Message(this, platform::MessageKind::Error,
                         programFolder_ + "PLANETS.NDX und .DAT nicht gefunden !",
                         platform::ButtonAbort);
        RemoveGlyphFont();
        return false;
    }

    ApplyGlyphFont();
    setWindowTitle(programFile_);
    setWindowIconText(programFile_);
    return true;
}

void TForm1::ShowMessage(platform::MessageKind kind, const QString& text) {
    dialogs_.Message(this, kind, text, platform::ButtonOk);
}

}  // namespace mainwin
