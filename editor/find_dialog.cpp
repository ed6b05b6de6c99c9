// SPDX-License-Identifier: GPL-3.0-or-later
// The find and replace dialogs: the find text (and the replace text) with their labels on the
// left, the two options below them, the buttons in a column on the right; in German on a
// German desktop, as the desktop's own find dialogs.
#include "editor/find_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/application.h"
#include "platform/qt/translations.h"

namespace editor {

namespace {

// The texts of the desktop's common find and replace dialogs, English and German.
struct DialogTexts {
    const char* find;
    const char* replace;
    const char* findWhat;
    const char* replaceWith;
    const char* wholeWord;
    const char* matchCase;
    const char* findNext;
    const char* replaceOne;
    const char* replaceAll;
    const char* cancel;
};

constexpr DialogTexts English = {"Find", "Replace", "Fi&nd what:", "Re&place with:",
                                 "Match &whole word only", "Match &case", "&Find Next",
                                 "&Replace", "Replace &All", "Cancel"};
constexpr DialogTexts German = {"Suchen", "Ersetzen", "Suchen &nach:", "Ersetzen &durch:",
                                "Nur ganzes &Wort suchen", "&Groß-/Kleinschreibung",
                                "&Weitersuchen", "&Ersetzen", "&Alle ersetzen", "Abbrechen"};

QString Text(const char* text) { return QString::fromUtf8(text); }

QPushButton* AddButton(QVBoxLayout* column, const char* name, const QString& text) {
    auto* button = new QPushButton(text);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    column->addWidget(button);
    return button;
}

}  // namespace

FindDialog::FindDialog(Kind kind, QWidget* parent) : QDialog(parent) {
    const bool replace = kind == Kind::Replace;
    const DialogTexts& texts = platform::GermanDialogs() ? German : English;
    setObjectName(replace ? QStringLiteral("ReplaceDialog1") : QStringLiteral("FindDialog1"));
    setWindowTitle(Text(replace ? texts.replace : texts.find));
    setModal(false);

    auto* fields = new QGridLayout;
    findEdit_ = new QLineEdit;
    findEdit_->setObjectName(QStringLiteral("FindText"));
    auto* findLabel = new QLabel(Text(texts.findWhat));
    findLabel->setBuddy(findEdit_);
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(findEdit_, 0, 1);
    if (replace) {
        replaceEdit_ = new QLineEdit;
        replaceEdit_->setObjectName(QStringLiteral("ReplaceText"));
        auto* replaceLabel = new QLabel(Text(texts.replaceWith));
        replaceLabel->setBuddy(replaceEdit_);
        fields->addWidget(replaceLabel, 1, 0);
        fields->addWidget(replaceEdit_, 1, 1);
    }
    wholeWord_ = new QCheckBox(Text(texts.wholeWord));
    wholeWord_->setObjectName(QStringLiteral("WholeWord"));
    matchCase_ = new QCheckBox(Text(texts.matchCase));
    matchCase_->setObjectName(QStringLiteral("MatchCase"));
    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addSpacing(8);
    left->addWidget(wholeWord_);
    left->addWidget(matchCase_);
    left->addStretch();

    auto* buttons = new QVBoxLayout;
    findNext_ = AddButton(buttons, "FindNext", Text(texts.findNext));
    findNext_->setDefault(true);
    if (replace) {
        replace_ = AddButton(buttons, "Replace", Text(texts.replaceOne));
        replaceAllButton_ = AddButton(buttons, "ReplaceAll", Text(texts.replaceAll));
    }
    QPushButton* cancel = AddButton(buttons, "Cancel", Text(texts.cancel));
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    connect(findEdit_, &QLineEdit::textChanged, this, [this] { FollowFindText(); });
    connect(findNext_, &QPushButton::clicked, this, [this] {
        if (onFindNext) platform::RunGuarded(onFindNext);
    });
    if (replace) {
        const auto raise = [this](bool all) {
            replaceAll_ = all;
            if (onReplace) platform::RunGuarded(onReplace);
        };
        connect(replace_, &QPushButton::clicked, this, [raise] { raise(false); });
        connect(replaceAllButton_, &QPushButton::clicked, this, [raise] { raise(true); });
    }
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
    FollowFindText();
}

QString FindDialog::FindText() const { return findEdit_->text(); }

void FindDialog::SetFindText(const QString& text) { findEdit_->setText(text); }

QString FindDialog::ReplaceText() const { return replaceEdit_ ? replaceEdit_->text() : QString(); }

bool FindDialog::WholeWord() const { return wholeWord_->isChecked(); }

bool FindDialog::MatchCase() const { return matchCase_->isChecked(); }

void FindDialog::ShowInFront() {
    show();
    raise();
    activateWindow();
    findEdit_->setFocus();
    findEdit_->selectAll();
}

// Nothing to look for: the buttons that search are disabled, as in the common dialogs.
void FindDialog::FollowFindText() {
    const bool any = !findEdit_->text().isEmpty();
    for (QPushButton* b : {findNext_, replace_, replaceAllButton_})
        if (b) b->setEnabled(any);
}

}  // namespace editor
