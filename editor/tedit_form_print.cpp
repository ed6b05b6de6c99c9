// SPDX-License-Identifier: GPL-3.0-or-later
// Printing the notes text: the whole text, page after page, inside margins of PrintMarginX
// and PrintMarginY millimetres from the paper's edges, as one job titled with the file name.
#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QPainter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextEdit>
#include <memory>
#include <stdexcept>

#include "editor/print_margins.h"
#include "editor/tedit_form.h"

namespace editor {

namespace {

// QPrinter's metrics as the printer driver gives them: the printable area is the page
// rectangle, its offset from the paper's corner the physical offset.
PrinterMetrics MetricsOf(const QPrinter& printer) {
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    return {printer.logicalDpiX(), printer.logicalDpiY(),
            static_cast<int>(std::lround(page.left() - paper.left())),
            static_cast<int>(std::lround(page.top() - paper.top()))};
}

// Paints the lines that the page holds, each whole: a line belongs to the page its top lies
// on. The document layout's own painting would also draw, clipped away, the line above the
// page of a paragraph that runs over from the previous page: invisible on paper, but a PDF
// reader would find that line twice.
void PaintPage(QPainter& painter, const QTextDocument& document, qreal top, qreal bottom) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        if (!layout) continue;
        const QPointF at = layout->position();
        if (at.y() >= bottom) break;
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const qreal y = at.y() + line.y();
            if (y >= top && y < bottom) line.draw(&painter, at);
        }
    }
}

// Lays a copy of the text out in pages of the rectangle's size, in the printer's
// resolution, and paints one page after the other into the rectangle. Lines are not cut at
// a page's end: the layout moves a line that does not fit to the next page. Printed lines
// always wrap at the rectangle's width, whether or not the window wraps them.
void PrintDocument(const QTextDocument& text, QPrinter& printer, const QRectF& rect) {
    std::unique_ptr<QTextDocument> copy(text.clone());
    copy->documentLayout()->setPaintDevice(&printer);
    copy->setDocumentMargin(0);
    QTextOption option = copy->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    copy->setDefaultTextOption(option);
    copy->setPageSize(rect.size());
    QPainter painter;
    if (!painter.begin(&printer)) throw std::runtime_error("printer not ready");
    const int pages = copy->pageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !printer.newPage()) throw std::runtime_error("no new page");
        const qreal top = page * rect.height();
        painter.save();
        painter.translate(rect.left(), rect.top() - top);
        // Black on paper, whatever the desktop's colours; formats with a colour keep theirs.
        painter.setPen(Qt::black);
        PaintPage(painter, *copy, top, top + rect.height());
        painter.restore();
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw std::runtime_error("print job failed");
}

}  // namespace

QPrinter& TEditForm::Printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void TEditForm::Print1Click() {
    QPrinter& printer = Printer();
    if (!Modal([&] { return dialogs_.Print(this, printer); })) return;
    try {
        PrintText(printer);
    } catch (const std::exception&) {
        Modal([this] {
            return dialogs_.Message(this, platform::MessageKind::Error,
                                    QStringLiteral("Error bei Drucker"), platform::ButtonOk);
        });
    }
}

// The margins are read from the printer before the job starts; Qt needs no trial job for it.
void TEditForm::PrintText(QPrinter& printer) {
    const PrintMargins margins = GetPrintMargins(printMarginX_, printMarginY_, MetricsOf(printer));
    QCoreApplication::processEvents();
    const QRectF printable = printer.pageRect(QPrinter::DevicePixel);
    const QRectF rect(margins.left, margins.top, printable.width() - 2.0 * margins.left,
                      printable.height() - 2.0 * margins.top);
    if (rect.width() <= 0 || rect.height() <= 0)
        throw std::runtime_error("the margins leave no room on the page");
    printer.setDocName(FileName());
    PrintDocument(*editor_->document(), printer, rect);
}

void TEditForm::Printersetup1Click() {
    Modal([this] { return dialogs_.PrinterSetup(this, Printer()); });
}

}  // namespace editor
