// The menu bar: parameters, clock, information and the end command; the glyph font;
// saving the settings; and every other way of closing the window.
#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenuBar>

#include "mainwin/tform1.h"
#include "platform/qt/font_install.h"

namespace mainwin {

namespace {

constexpr const char* GlyphFields[] = {"StemSEdit",   "StemTEdit",   "StemMEdit",   "StemJEdit",
                                       "BranchSEdit", "BranchTEdit", "BranchMEdit", "BranchJEdit"};

const QString InfoText = QStringLiteral(
    "tolvane ver. 080413\n"
    "von den tolvane-Entwicklern\n"
    "\n"
    "Mond und Nutation nach J. Meeus, Astronomical Algorithms (1991)\n"
    "Erde nach P. Bretagnon und G. Francou, VSOP87\n"
    "astronomische Routinen 1991-1992");

}  // namespace

void TForm1::BuildMenus() {
    auto add = [this](QMenu* menu, const char* name, const char* text, void (TForm1::*handler)(),
                      bool checkable = false) {
        QAction* action = menu ? menu->addAction(QString::fromUtf8(text))
                               : menuBar()->addAction(QString::fromUtf8(text));
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(checkable);
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        actions_.emplace(name, action);
    };
    QMenu* parameter = menuBar()->addMenu(QStringLiteral("&Parameter"));
    add(parameter, "MenuMoonSpeed", "&MoonSpeed", &TForm1::MenuMoonSpeedClick);
    add(parameter, "MenuUhrSpeed", "&Uhr Intervall", &TForm1::MenuUhrSpeedClick);
    add(parameter, "MenuAutoFont", "&lokaler Font", &TForm1::MenuAutoFontClick, true);
    add(parameter, "MenuSymbolSize", "&Symbolgröße", &TForm1::MenuSymbolSizeClick);
    add(parameter, "MenuEndMsg", "&End-Msg", &TForm1::MenuEndMsgClick, true);
    add(nullptr, "MenuClock", "&Uhr", &TForm1::MenuClockClick);
    add(nullptr, "MenuInfo", "&Info", &TForm1::MenuInfoClick);
    add(nullptr, "MenuEnde", "&Ende + Parametersicherung", &TForm1::MenuEndeClick);
}

bool TForm1::AutoFont() const { return Action("MenuAutoFont")->isChecked(); }
bool TForm1::EndMsg() const { return Action("MenuEndMsg")->isChecked(); }

void TForm1::MenuMoonSpeedClick() {
    if (const auto v = AskNumber("MoonSpeed 0..20[°]", calc_.MoonSpeed(), 0, 20))
        calc_.SetMoonSpeed(static_cast<std::uint8_t>(*v));
}

void TForm1::MenuSymbolSizeClick() {
    if (const auto v = AskNumber("Symbolgröße 8..80", symbolSize_, 8, 80)) {
        symbolSize_ = *v;
        ApplyGlyphFont();
    }
}

void TForm1::MenuAutoFontClick() {
    QAction* item = Action("MenuAutoFont");
    item->setChecked(!item->isChecked());
    const QString text = "Neue Einstellung: " +
                         QString(item->isChecked() ? "lokaler" : "WINDOWS") + " Font\n" +
                         "Die Einstellung wird nur mit Menü \"Ende\" wirksam !\n" +
                         "jetzt beenden?";
    if (dialogs_.Message(this, platform::MessageKind::Confirm, text,
                         platform::ButtonYes | platform::ButtonNo) == platform::ButtonYes)
        MenuEndeClick();
}

void TForm1::MenuEndMsgClick() {
    QAction* item = Action("MenuEndMsg");
    item->setChecked(!item->isChecked());
}

void TForm1::MenuInfoClick() {
    dialogs_.Message(this, platform::MessageKind::Plain, InfoText, platform::ButtonOk);
}

void TForm1::MenuEndeClick() {
    SaveSettings();  // a write error ends the command here; the program keeps running
    RemoveGlyphFont();
    ending_ = true;
    close();
    QCoreApplication::quit();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (ending_) {
        event->accept();
        return;
    }
    if (!FormClose()) {
        event->ignore();
        return;
    }
    RemoveGlyphFont();
    ending_ = true;
    event->accept();
}

bool TForm1::FormClose() {
    if (!EndMsg()) return true;
    return dialogs_.Message(this, platform::MessageKind::Confirm,
                            "beenden OHNE Parametersicherung?",
                            platform::ButtonYes | platform::ButtonNo) == platform::ButtonYes;
}

void TForm1::LoadDeferredSettings() { SetTimerInterval(ReadTimerInterval(settings_)); }

void TForm1::SaveSettings() {
    MainSettings s;
    s.Left = pos().x();
    s.Top = pos().y();
    s.MoonSpeed = calc_.MoonSpeed();
    s.SymbolSize = symbolSize_;
    s.TimerInterval = timerInterval_;
    s.AutoFont = AutoFont();
    s.EndMsg = EndMsg();
    WriteSettings(settings_, s);
}

bool TForm1::InstallGlyphFont(const QString& path) {
    installedFontPath_ = path;
    fontHandle_ = platform::InstallFontFile(path);
    return fontHandle_ >= 0;
}

void TForm1::RemoveGlyphFont() {
    if (!fontInstalled_ || fontHandle_ < 0) return;
    if (platform::RemoveFontFile(fontHandle_)) {
        fontHandle_ = -1;  // removed once; the flag itself stays as it is
    } else {
        ShowMessage(platform::MessageKind::Warning,
                    "Schrift: " + installedFontPath_ + " konnte nicht entfernt werden");
    }
}

void TForm1::ApplyGlyphFont() {
    QFont font(QStringLiteral("Vivar01"));
    font.setPointSize(symbolSize_);
    font.setBold(true);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    for (const char* name : GlyphFields) Field(name)->setFont(font);
    SizeFields();
}

// Every row of every column has the height of the tallest field, the glyph fields, so the
// rows stay aligned across the columns at any symbol size; no text is clipped.
void TForm1::SizeFields() {
    const QLineEdit* glyph = Field("StemTEdit");
    const QFontMetrics glyphMetrics(glyph->font());
    const int rowHeight = std::max(24, glyph->sizeHint().height());
    const int glyphWidth = std::max(72, glyphMetrics.height() + 16);
    const QFontMetrics text(Field("StemTEdit2")->font());
    const std::pair<const char*, int> widths[] = {
        {"60Edit", std::max(64, text.horizontalAdvance("60") + 24)},
        {"Stem#2", std::max(136, text.horizontalAdvance("10  lebendes Wasser") + 16)},
        {"Branch#2", std::max(120, text.horizontalAdvance("12  Wildschwein") + 16)},
    };
    for (QWidget* w : rowWidgets_) {
        const std::string name = w->objectName().toStdString();
        auto* edit = qobject_cast<QLineEdit*>(w);
        if (!edit) {
            w->setMinimumHeight(rowHeight);
            continue;
        }
        edit->setFixedHeight(rowHeight);
        const bool isGlyph = std::find(std::begin(GlyphFields), std::end(GlyphFields), name) !=
                             std::end(GlyphFields);
        if (isGlyph) {
            edit->setFixedWidth(glyphWidth);
            edit->setAlignment(Qt::AlignCenter);
        } else if (name.ends_with("60Edit")) {
            edit->setFixedWidth(widths[0].second);
        } else if (name.starts_with("Stem")) {
            edit->setFixedWidth(widths[1].second);
        } else {
            edit->setFixedWidth(widths[2].second);
        }
    }
}

}  // namespace mainwin
