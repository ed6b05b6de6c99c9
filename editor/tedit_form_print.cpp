// Printing the notes text: the whole text, page after page, inside margins of PrintMarginX
// and PrintMarginY millimetres from the paper's edges, as one job titled with the file name.
#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
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

// Lays a copy of the text out in pages of the rectangle's size, in the printer's
// resolution, and paints one page after the other into the rectangle. Lines are not cut at
// a page's end: the layout moves a line that does not fit to the next page.
void PrintDocument(const QTextDocument& text, QPrinter& printer, const QRectF& rect) {
    std::unique_ptr<QTextDocument> copy(text.clone());
    copy->documentLayout()->setPaintDevice(&printer);
    copy->setDocumentMargin(0);
    copy->setPageSize(rect.size());
    QPainter painter;
    if (!painter.begin(&printer)) throw std::runtime_error("printer not ready");
    const int pages = copy->pageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !printer.newPage()) throw std::runtime_error("no new page");
        const QRectF onPage(0, page * rect.height(), rect.width(), rect.height());
        painter.save();
        painter.translate(rect.left(), rect.top() - onPage.top());
        painter.setClipRect(onPage);
        QAbstractTextDocumentLayout::PaintContext context;
        // Only the lines of this page: a line that starts right at the page's end, or ends
        // right at its start, belongs to the neighbour and would be hidden text in a PDF.
        context.clip = onPage.adjusted(0, 1, 0, -1);
        // Black on paper, whatever the desktop's colours.
        context.palette.setColor(QPalette::Text, Qt::black);
        copy->documentLayout()->draw(&painter, context);
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
    printer.setDocName(fileName_);
    PrintDocument(*editor_->document(), printer, rect);
}

void TEditForm::Printersetup1Click() {
    Modal([this] { return dialogs_.PrinterSetup(this, Printer()); });
}

}  // namespace editor
