// SPDX-License-Identifier: GPL-3.0-or-later
// The notes window's find and replace dialogs: modeless, laid out like the desktop's common
// find and replace dialogs (forward search only, so without direction buttons).
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace editor {

class FindDialog : public QDialog {
public:
    enum class Kind { Find, Replace };

    FindDialog(Kind kind, QWidget* parent);

    QString FindText() const;
    void SetFindText(const QString& text);
    QString ReplaceText() const;
    bool WholeWord() const;
    bool MatchCase() const;
    // Set by "Replace &All", cleared by "&Replace": which of the two raised the replace.
    bool ReplaceAll() const { return replaceAll_; }

    // Shows the dialog, or brings it to the front when it is open.
    void ShowInFront();

    // "&Find Next"; "&Replace" and "Replace &All".
    std::function<void()> onFindNext;
    std::function<void()> onReplace;

private:
    void FollowFindText();

    QLineEdit* findEdit_ = nullptr;
    QLineEdit* replaceEdit_ = nullptr;
    QCheckBox* wholeWord_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QPushButton* findNext_ = nullptr;
    QPushButton* replace_ = nullptr;
    QPushButton* replaceAllButton_ = nullptr;
    bool replaceAll_ = false;
};

}  // namespace editor
