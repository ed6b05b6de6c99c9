// SPDX-License-Identifier: GPL-3.0-or-later
// The menu bar and the parameter commands: MoonSpeed, clock interval (with the clock),
// symbol size, the two check-mark settings and the information box.
#include <QAction>
#include <QMenuBar>

#include "mainwin/tform1.h"
#include "platform/int_text.h"
#include "platform/qt/application.h"

namespace mainwin {

namespace {

const QString InfoText = QStringLiteral(
    "tolvane ver. 080413\n"
    "von den tolvane-Entwicklern\n"
    "\n"
    "Mond und Nutation nach J. Meeus, Astronomical Algorithms (1991)\n"
    "Erde nach P. Bretagnon und G. Francou, VSOP87\n"
    "astronomische Routinen 1991-1992");

// The range the MoonSpeed box accepts; the setting itself may hold 1..255. With 0 no year
// start is ever found, so every calculation and clock tick would end in an error box.
constexpr std::int32_t MoonSpeedBoxLow = cycle::LowestMoonSpeed;
constexpr std::int32_t MoonSpeedBoxHigh = 20;

}  // namespace

void TForm1::BuildMenus() {
    auto add = [this](QMenu* menu, const char* name, const char* text, void (TForm1::*handler)(),
                      bool checkable = false) {
        QAction* action = menu ? menu->addAction(QString::fromUtf8(text))
                               : menuBar()->addAction(QString::fromUtf8(text));
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(checkable);
        connect(action, &QAction::triggered, this,
                [this, handler] { platform::RunGuarded([&] { (this->*handler)(); }); });
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
    add(nullptr, "MenuNotizen", "&Notizen", &TForm1::MenuNotizenClick);
    add(nullptr, "MenuEnde", "&Ende + Parametersicherung", &TForm1::MenuEndeClick);
}

bool TForm1::AutoFont() const { return Action("MenuAutoFont")->isChecked(); }
bool TForm1::EndMsg() const { return Action("MenuEndMsg")->isChecked(); }

void TForm1::MenuMoonSpeedClick() {
    if (const auto v =
            AskNumber("MoonSpeed 1..20[°]", calc_.MoonSpeed(), MoonSpeedBoxLow, MoonSpeedBoxHigh))
        calc_.SetMoonSpeed(static_cast<std::uint8_t>(*v));
}

void TForm1::MenuSymbolSizeClick() {
    if (const auto v = AskNumber("Symbolgröße 8..80", symbolSize_, 8, 80)) {
        symbolSize_ = *v;
        ApplyGlyphFont();
    }
}

// The item has inverted its own check mark already; the box says what it now is.
void TForm1::MenuAutoFontClick() {
    const QString text = "Neue Einstellung: " +
                         QString(AutoFont() ? "lokaler" : "WINDOWS") + " Font\n" +
                         "Die Einstellung wird nur mit Menü \"Ende\" wirksam !\n" +
                         "jetzt beenden?";
    if (dialogs_.Message(this, platform::MessageKind::Confirm, text,
                         platform::ButtonYes | platform::ButtonNo) == platform::ButtonYes)
        MenuEndeClick();
}

// The item has inverted its own check mark; FormClose reads it when the window closes.
void TForm1::MenuEndMsgClick() {}

void TForm1::MenuInfoClick() {
    dialogs_.Message(this, platform::MessageKind::Plain, InfoText, platform::ButtonOk);
}

// An input box for a whole number within low..high; a text that does not convert or lies
// outside is refused with a message. Cancel returns the initial text, handled alike.
std::optional<std::int32_t> TForm1::AskNumber(const QString& prompt, std::int32_t current,
                                              std::int32_t low, std::int32_t high) {
    const QString text = dialogs_.Input(this, "Eingabe", prompt, QString::number(current));
    std::int32_t value = 0;
    if (platform::TryStrToInt(text.toStdString(), value) && value >= low && value <= high)
        return value;
    dialogs_.Message(this, platform::MessageKind::Error, text + " ungeeignet !",
                     platform::ButtonAbort);
    return std::nullopt;
}

}  // namespace mainwin
