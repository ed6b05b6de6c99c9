// SPDX-License-Identifier: GPL-3.0-or-later
// Message and input boxes on QMessageBox and QInputDialog; file, font, print and printer
// setup dialogs on QFileDialog, QFontDialog, QPrintDialog and QPageSetupDialog.
#include "platform/qt/dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <memory>
#include <vector>

namespace platform {

QString MessageCaption(MessageKind kind, const QWidget* parent) {
    switch (kind) {
    case MessageKind::Warning:
        return QStringLiteral("Warning");
    case MessageKind::Error:
        return QStringLiteral("Error");
    case MessageKind::Information:
        return QStringLiteral("Information");
    case MessageKind::Confirm:
        return QStringLiteral("Confirm");
    case MessageKind::Plain:
        break;
    }
    if (parent && !parent->window()->windowIconText().isEmpty())
        return parent->window()->windowIconText();
    return QApplication::applicationName();
}

namespace {

QMessageBox::Icon IconOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Confirm:
        return QMessageBox::Question;
    case MessageKind::Plain:
        break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonText {
    MessageButton button;
    const char* text;
    QMessageBox::ButtonRole role;
};

constexpr ButtonText ButtonTexts[] = {
    {ButtonOk, "OK", QMessageBox::AcceptRole},       {ButtonYes, "&Yes", QMessageBox::YesRole},
    {ButtonNo, "&No", QMessageBox::NoRole},          {ButtonCancel, "Cancel", QMessageBox::RejectRole},
    {ButtonAbort, "&Abort", QMessageBox::RejectRole}, {ButtonAll, "&All", QMessageBox::AcceptRole},
};

std::optional<QString> RunFileDialog(QWidget* parent, FileRequest& request,
                                     QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, request.title, request.directory);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setNameFilters(request.filters);
    // The dialog keeps its filters with each run of blanks made one, so they are found by
    // their place, not by the text given.
    const QStringList filters = dialog.nameFilters();
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
    if (chosen >= 0) request.filterIndex = static_cast<int>(chosen) + 1;
    return dialog.selectedFiles().front();
}

MessageButton EscapeChoice(unsigned buttons) {
    for (MessageButton b : {ButtonCancel, ButtonNo, ButtonAbort, ButtonOk})
        if (buttons & b) return b;
    return ButtonOk;
}

}  // namespace

MessageButton QtDialogs::Message(QWidget* parent, MessageKind kind, const QString& text,
                                 unsigned buttons) {
    // A box without an icon keeps an empty, hidden label for it, which screen readers list
    // as an empty label: it leaves the box, and goes once the box has gone.
    std::unique_ptr<QLabel> unusedIconLabel;
    QMessageBox box(IconOf(kind), MessageCaption(kind, parent), text, QMessageBox::NoButton, parent);
    if (IconOf(kind) == QMessageBox::NoIcon) {
        unusedIconLabel.reset(box.findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label")));
        if (unusedIconLabel) unusedIconLabel->setParent(nullptr);
    }
    QAbstractButton* escape = nullptr;
    std::vector<std::pair<QAbstractButton*, MessageButton>> added;
    const MessageButton onEscape = EscapeChoice(buttons);
    for (const ButtonText& b : ButtonTexts) {
        if (!(buttons & b.button)) continue;
        QPushButton* button = box.addButton(QString::fromUtf8(b.text), b.role);
        added.emplace_back(button, b.button);
        if (b.button == onEscape) escape = button;
    }
    if (escape) box.setEscapeButton(escape);
    box.exec();
    for (const auto& [button, which] : added)
        if (box.clickedButton() == button) return which;
    return onEscape;
}

QString QtDialogs::Input(QWidget* parent, const QString& caption, const QString& prompt,
                         const QString& initial) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, initial, &ok);
    return ok ? text : initial;
}

std::optional<QString> QtDialogs::OpenFileName(QWidget* parent, FileRequest& request) {
    return RunFileDialog(parent, request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtDialogs::SaveFileName(QWidget* parent, FileRequest& request) {
    return RunFileDialog(parent, request, QFileDialog::AcceptSave);
}

namespace {

// The dialog lists only the desktop's families. For a family it lacks (Arial on most Linux
// desktops) it selects a stand-in; its two name fields then show the text's family and style
// instead, until the user picks another one from the lists.
void ShowLackingFamily(QFontDialog& dialog, const QFont& font) {
    std::vector<QLineEdit*> names;  // the family's field, then the style's
    for (QLineEdit* edit : dialog.findChildren<QLineEdit*>())
        if (edit->isReadOnly()) names.push_back(edit);
    if (names.size() != 2) return;
    names[0]->setText(font.family());
    names[1]->setText(QFontDatabase::styleString(font));
}

// What the user changed in the dialog, on the text's font that the dialog could not show.
QFont ChangedInLackingFamily(const QFont& initial, const QFont& offered, const QFont& chosen) {
    if (chosen.family() != offered.family()) return chosen;
    QFont font = initial;
    if (chosen.pointSizeF() != offered.pointSizeF()) font.setPointSizeF(chosen.pointSizeF());
    if (chosen.styleName() != offered.styleName() || chosen.weight() != offered.weight() ||
        chosen.italic() != offered.italic()) {
        font.setWeight(chosen.weight());
        font.setItalic(chosen.italic());
    }
    font.setUnderline(chosen.underline());
    font.setStrikeOut(chosen.strikeOut());
    return font;
}

}  // namespace

// The dialog finds a style by its name only. A font without one (a text's font has none)
// would start on the family's first style, "Condensed Italic" for DejaVu Serif, so it starts
// on the style the text is drawn in. Its sizes are whole points; OK without a change gives
// back the font as it came, 10.5 points included. A family the desktop lacks stays the
// text's, with its style, unless the user picks another.
std::optional<QFont> QtDialogs::Font(QWidget* parent, const QFont& initial) {
    QFont start = initial;
    if (start.styleName().isEmpty()) {
        const QString drawn = QFontInfo(initial).styleName();
        if (QFontDatabase::styles(initial.family()).contains(drawn)) start.setStyleName(drawn);
    }
    QFontDialog dialog(parent);
    dialog.setCurrentFont(start);
    const QFont offered = dialog.currentFont();
    const bool lacking = !QFontDatabase::hasFamily(initial.family());
    if (lacking) ShowLackingFamily(dialog, initial);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QFont chosen = dialog.selectedFont();
    if (chosen == offered) return initial;
    return lacking ? ChangedInLackingFamily(initial, offered, chosen) : chosen;
}

bool QtDialogs::Print(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtDialogs::PrinterSetup(QWidget* parent, QPrinter& printer) {
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace platform
