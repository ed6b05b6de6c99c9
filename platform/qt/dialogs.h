// SPDX-License-Identifier: GPL-3.0-or-later
// Every modal interaction of the program (message boxes, input boxes, file, font, print and
// printer setup dialogs) goes through this interface, which the windows receive at
// construction; tests pass a scripted one.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>

class QPrinter;
class QWidget;

namespace platform {

enum class MessageKind { Warning, Error, Information, Confirm, Plain };

// Buttons as flags, so that a box can show several.
enum MessageButton : unsigned {
    ButtonOk = 1u << 0,
    ButtonYes = 1u << 1,
    ButtonNo = 1u << 2,
    ButtonCancel = 1u << 3,
    ButtonAbort = 1u << 4,
    ButtonAll = 1u << 5,
};

// What an open or save dialog starts with; `filterIndex` (1-based into `filters`) comes back
// as the filter the user last chose.
struct FileRequest {
    QString title;
    QString fileName;   // preset name
    QString directory;  // initial folder; empty: the current one
    QStringList filters;  // Qt name filters: "description (*.a *.b)"
    int filterIndex = 1;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A modal message box; returns the button chosen (one of `buttons`). Closing the box
    // without a button counts as Cancel, No or the only button, in that order of choice.
    virtual MessageButton Message(QWidget* parent, MessageKind kind, const QString& text,
                                  unsigned buttons) = 0;

    // A modal input box; OK returns the edited text, Cancel the initial text unchanged.
    virtual QString Input(QWidget* parent, const QString& caption, const QString& prompt,
                          const QString& initial) = 0;

    // Modal file dialogs: the chosen file's full name, or nothing on Cancel.
    virtual std::optional<QString> OpenFileName(QWidget* parent, FileRequest& request) = 0;
    virtual std::optional<QString> SaveFileName(QWidget* parent, FileRequest& request) = 0;

    // The modal font dialog, started on `initial`: the font chosen, or nothing on Cancel.
    virtual std::optional<QFont> Font(QWidget* parent, const QFont& initial) = 0;

    // The print dialog and the printer setup dialog on `printer`, which keeps what the user
    // chose there (printer or PDF file, paper, margins); false on Cancel.
    virtual bool Print(QWidget* parent, QPrinter& printer) = 0;
    virtual bool PrinterSetup(QWidget* parent, QPrinter& printer) = 0;
};

// The caption of a box of the given kind ("Warning", "Error", …); a plain box carries the
// application title, which is the task-bar text of `parent`'s window.
QString MessageCaption(MessageKind kind, const QWidget* parent);

// The real dialogs: QMessageBox, a small input dialog, QFileDialog, QFontDialog,
// QPrintDialog and QPageSetupDialog.
class QtDialogs : public Dialogs {
public:
    MessageButton Message(QWidget* parent, MessageKind kind, const QString& text,
                          unsigned buttons) override;
    QString Input(QWidget* parent, const QString& caption, const QString& prompt,
                  const QString& initial) override;
    std::optional<QString> OpenFileName(QWidget* parent, FileRequest& request) override;
    std::optional<QString> SaveFileName(QWidget* parent, FileRequest& request) override;
    std::optional<QFont> Font(QWidget* parent, const QFont& initial) override;
    bool Print(QWidget* parent, QPrinter& printer) override;
    bool PrinterSetup(QWidget* parent, QPrinter& printer) override;
};

}  // namespace platform
