// SPDX-License-Identifier: GPL-3.0-or-later
// The plain-text layout of the notes window: equal line heights, places from the block tree.
#include "editor/plain_notes_layout.h"

#include "editor/long_paragraph.h"
#include "editor/quick_line_count.h"

#include <QFontMetricsF>
#include <QElapsedTimer>
#include <QPainter>
#include <QScopeGuard>
#include <QStyle>
#include <QTextDocument>
#include <QTextLayout>
#include <QtGui/private/qtextengine_p.h>
#include <algorithm>
#include <cmath>
#include <optional>

namespace editor {

namespace {

// Far enough to the right or down for any text.
constexpr qreal Everything = 1e9;

// An edit of more paragraphs than this is counted by a pass, as a load is.
constexpr int FewBlocks = 64;

// The pieces of a long paragraph, if it has them.
LongParagraph* LongOf(const QTextBlock& block) {
    return dynamic_cast<LongParagraph*>(block.userData());
}

// The characters [at, at + length) of the paragraph: a few one by one, many from its text.
QString TextOf(const QTextBlock& block, int at, int length) {
    constexpr int FewCharacters = 4096;
    if (length > FewCharacters) return block.text().mid(at, length);
    QString text(length, Qt::Uninitialized);
    const QTextDocument* doc = block.document();
    for (int i = 0; i < length; ++i) text[i] = doc->characterAt(block.position() + at + i);
    return text;
}

// Qt works out the caret's rectangle from the line of its paragraph's QTextLayout, and to
// find that line it first reads and itemizes the paragraph's text unless it holds it (in
// 2 MB: 24-28 ms, once after every edit, at the first key, click or blink). A long
// paragraph's QTextLayout holds no lines, so its text alone already answers: no line. The
// layout is given the paragraph's own copy, shared, not read again (that cost 0.5 ms a key
// in 2 MB); Qt lets go of it at the next edit, before the copy changes. A composing text or
// shown marks make Qt's text differ, and Qt reads it. Anything else that needs the
// itemized text still itemizes it.
void ReadForTheCaret(const QTextBlock& block, const QString& text) {
    const QTextLayout* layout = block.layout();
    QTextEngine* engine = layout->engine();
    if (engine->layoutData) return;
    const QTextOption::Flags marks =
        QTextOption::ShowDocumentTerminator | QTextOption::ShowLineAndParagraphSeparators;
    if (layout->preeditAreaPosition() >= 0 || (layout->textOption().flags() & marks)) {
        engine->validate();
        return;
    }
    engine->layoutData = new QTextEngine::LayoutData();
    engine->layoutData->string = text;
}

}  // namespace

PlainNotesLayout::PlainNotesLayout(QTextDocument* document)
    : QAbstractTextDocumentLayout(document),
      kept_(document),
      remains_(std::make_shared<std::unique_ptr<LongParagraph>>()) {
    pass_.setSingleShot(true);
    pass_.setInterval(0);
    connect(&pass_, &QTimer::timeout, this, [this] { ContinuePass(); });
    StartPass();
}

PlainNotesLayout::~PlainNotesLayout() = default;

bool PlainNotesLayout::Wraps() const {
    return document()->textWidth() > 0 &&
           document()->defaultTextOption().wrapMode() != QTextOption::NoWrap &&
           document()->defaultTextOption().wrapMode() != QTextOption::ManualWrap;
}

// The width of the lines inside the document's margins; with no wrap the alignment still
// works within it, and longer lines stick out to the right.
qreal PlainNotesLayout::AvailableWidth() const {
    return std::max<qreal>(0, document()->textWidth() - 2 * document()->documentMargin());
}

qreal PlainNotesLayout::TopOf(const QTextBlock& block) const {
    return document()->documentMargin() + block.firstLineNumber() * lineHeight_;
}

// The document's text option with the paragraph's alignment, as the alignment commands set
// it per paragraph.
QTextOption PlainNotesLayout::OptionOf(const QTextBlock& block) const {
    QTextOption option = document()->defaultTextOption();
    const QTextBlockFormat format = block.blockFormat();
    const Qt::LayoutDirection direction = block.textDirection();
    option.setTextDirection(direction);
    Qt::Alignment alignment = option.alignment();
    if (format.hasProperty(QTextFormat::BlockAlignment)) alignment = format.alignment();
    option.setAlignment(QStyle::visualAlignment(direction, alignment));
    if (!Wraps()) option.setWrapMode(QTextOption::NoWrap);
    return option;
}

bool PlainNotesLayout::LayOutBlock(QTextBlock block) const {
    QTextLayout* layout = block.layout();
    layout->setTextOption(OptionOf(block));
    const qreal width = AvailableWidth();
    int lines = 0;
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLineWidth(width);
        widest_ = std::max(widest_, line.naturalTextWidth());
        NoteLineHeight(line.height());
        ++lines;
    }
    layout->endLayout();
    for (int i = 0; i < lines; ++i) layout->lineAt(i).setPosition(QPointF(0, i * lineHeight_));
    block.setUserState(generation_);
    kept_.Laid(block);
    if (block.lineCount() == lines) return false;
    block.setLineCount(lines);
    return true;
}

void PlainNotesLayout::NoteLineHeight(qreal height) const {
    if (height <= lineHeight_) return;
    lineHeight_ = height;
    lineHeightGrew_ = true;
}

// A paragraph is laid out again when it never was, when its text changed, or when it was
// laid out before the width, the wrap, the font or a long command's edits changed;
// lines laid out before a taller line raised the line height move down to it.
bool PlainNotesLayout::EnsureBlock(const QTextBlock& block) const {
    if (IsLong(block)) return EnsureLong(block);
    if (LongOf(block)) SetLong(block, nullptr);
    QTextLayout* layout = block.layout();
    if (layout->lineCount() == 0 || block.userState() != generation_) return LayOutBlock(block);
    if (layout->lineCount() > 1 && layout->lineAt(1).y() != lineHeight_)
        for (int i = 0; i < layout->lineCount(); ++i)
            layout->lineAt(i).setPosition(QPointF(0, i * lineHeight_));
    return false;
}

// A paragraph becomes long beyond the bound and stays so down to half of it, so that typing
// and deleting around the bound does not switch it to and fro.
bool PlainNotesLayout::IsLong(const QTextBlock& block) const {
    const int length = block.length() - 1;
    return length > LongParagraph::LongerThan ||
           (length > LongParagraph::LongerThan / 2 && LongOf(block));
}

PieceSetup PlainNotesLayout::SetupOf(const QTextBlock& block) const {
    PieceSetup setup;
    setup.font = document()->defaultFont();
    setup.option = OptionOf(block);
    setup.width = AvailableWidth();
    setup.wraps = Wraps();
    setup.lineHeight = lineHeight_;
    // The fragments with a format of their own (the font dialog's), as ranges of a piece.
    setup.formats = [this, block](int from, int to) {
        QList<QTextLayout::FormatRange> ranges;
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (IsPlain(fragment)) continue;
            const int start = fragment.position() - block.position();
            const int end = start + fragment.length();
            if (end <= from || start >= to) continue;
            const int clippedStart = std::max(start, from);
            ranges.append({clippedStart - from, std::min(end, to) - clippedStart,
                           fragment.charFormat()});
        }
        return ranges;
    };
    return setup;
}

void PlainNotesLayout::NoteTallest(LongParagraph& paragraph) const {
    NoteLineHeight(paragraph.TakeTallest());
    if (!Wraps()) widest_ = std::max(widest_, paragraph.Width());
}

// The paragraph's own QTextLayout stays empty; its pieces are divided again when the width,
// the wrap or the font changed, or the paragraph changed unseen.
bool PlainNotesLayout::EnsureLong(QTextBlock block) const {
    LongParagraph* paragraph = LongOf(block);
    if (!paragraph || paragraph->Generation() != generation_ ||
        paragraph->Text().size() != block.length() - 1) {
        paragraph = new LongParagraph(block.text(), generation_);
        SetLong(block, paragraph);
        paragraph->Divide(SetupOf(block));
        if (block.layout()->lineCount() > 0) block.layout()->clearLayout();
    }
    NoteTallest(*paragraph);
    kept_.MayLayOut(block, *paragraph);
    block.setUserState(generation_);
    if (block.lineCount() == paragraph->Lines()) return false;
    block.setLineCount(paragraph->Lines());
    return true;
}

// An edit inside one long paragraph lays out only the pieces around it.
bool PlainNotesLayout::LayOutChanged(QTextBlock block, int from, int oldLength, int length,
                                     bool alone, qreal& top) const {
    if (!IsLong(block)) {
        if (LongOf(block)) SetLong(block, nullptr);
        return LayOutBlock(block);
    }
    LongParagraph* paragraph = LongOf(block);
    const int at = from - block.position();
    const int before = paragraph ? static_cast<int>(paragraph->Text().size()) : -1;
    if (!alone || !paragraph || paragraph->Generation() != generation_ || at < 0 ||
        at + oldLength > before || before - oldLength + length != block.length() - 1)
        return EnsureLong(block);
    const int line = paragraph->Edit(at, oldLength, TextOf(block, at, length), SetupOf(block));
    top = std::max(top, TopOf(block) + line * lineHeight_);
    return EnsureLong(block);
}

void PlainNotesLayout::SetLong(QTextBlock block, LongParagraph* paragraph) const {
    if (paragraph) paragraph->LeaveRemainsIn(remains_);
    block.setUserData(paragraph);
    remains_->reset();  // those of the pieces replaced
}

// Enter: the new paragraph after the head takes the pieces after the split point, if it is
// long; the head keeps those before it, if it stays long.
bool PlainNotesLayout::Split(QTextBlock head, int from, int oldLength, int length) const {
    LongParagraph* paragraph = LongOf(head);
    const QTextBlock tail = head.next();
    const int at = head.length() - 1;
    if (oldLength != 0 || length != 1 || !paragraph || !tail.isValid() ||
        from != head.position() + at || paragraph->Generation() != generation_ ||
        paragraph->Text().size() != at + tail.length() - 1)
        return false;
    const bool headLong = at > LongParagraph::LongerThan / 2;
    const bool tailLong = tail.length() - 1 > LongParagraph::LongerThan / 2;
    if (!headLong && !tailLong) return false;
    if (tailLong) {
        SetLong(tail, paragraph->SplitOff(at, SetupOf(head), SetupOf(tail)).release());
        EnsureLong(tail);
    } else {
        paragraph->Edit(at, static_cast<int>(paragraph->Text().size()) - at, QString(),
                        SetupOf(head));
        LayOutBlock(tail);
    }
    if (headLong) {
        EnsureLong(head);
    } else {
        SetLong(head, nullptr);
        LayOutBlock(head);
    }
    return true;
}

// A paragraph separator taken out at `from`: the block has the head's pieces, the remains
// the tail's, if they were long. The remains must hold the text after the join (its ends
// are compared).
bool PlainNotesLayout::Join(QTextBlock block, int from, int oldLength, int length,
                            qreal& top) const {
    const int at = from - block.position();
    const int size = block.length() - 1;
    if (oldLength != 1 || length != 0 || size <= LongParagraph::LongerThan / 2) return false;
    LongParagraph* head = LongOf(block);
    if (head && (head->Generation() != generation_ || head->Text().size() != at)) head = nullptr;
    std::unique_ptr<LongParagraph> tail = std::move(*remains_);
    const auto sameEnds = [&](const QString& text, int start) {
        constexpr int Ends = 16;
        const QTextDocument* doc = document();
        for (int i = 0; i < std::min<int>(Ends, text.size()); ++i)
            if (text[i] != doc->characterAt(start + i) ||
                text[text.size() - 1 - i] != doc->characterAt(start + text.size() - 1 - i))
                return false;
        return true;
    };
    if (tail && (tail->Generation() != generation_ || tail->Text().size() != size - at ||
                 !sameEnds(tail->Text(), from)))
        tail.reset();
    if (!head && !tail) return false;
    const PieceSetup setup = SetupOf(block);
    int line = 0;
    if (!head) {
        tail->Edit(0, 0, TextOf(block, 0, at), setup);
        SetLong(block, tail.release());
    } else if (!tail) {
        line = head->Edit(at, 0, TextOf(block, at, size - at), setup);
    } else {
        line = head->Join(*tail, setup);
    }
    top = std::max(top, TopOf(block) + line * lineHeight_);
    EnsureLong(block);
    return true;
}

// Whether the fragment is in the document's default format, remembered per format index.
bool PlainNotesLayout::IsPlain(const QTextFragment& fragment) const {
    const int index = fragment.charFormatIndex();
    auto known = plainFormats_.constFind(index);
    if (known == plainFormats_.cend())
        known = plainFormats_.insert(index, fragment.charFormat().properties().isEmpty());
    return *known;
}

// The paragraph's text when it is in the document's default format, else nothing: one with
// a format of its own (the font dialog's) is laid out, the others are counted.
std::optional<QString> PlainNotesLayout::PlainText(const QTextBlock& block) const {
    QString text;
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!IsPlain(fragment)) return std::nullopt;
        text += fragment.text();
    }
    return text;
}

// The paragraph's displayed lines for the pass, without keeping a layout for it: from the
// widths of its words where that is sure, else from a layout made for the count alone.
// Without word wrap every paragraph is one line, and its width is estimated for the
// horizontal scroll bar.
bool PlainNotesLayout::CountBlock(QTextBlock block) const {
    if (IsLong(block)) return EnsureLong(block);
    const std::optional<QString> text = PlainText(block);
    if (!text) return LayOutBlock(block);
    int lines = 1;
    if (!Wraps()) {
        widest_ = std::max(widest_, quick_->Width(*text));
    } else {
        lines = quick_->Lines(*text, AvailableWidth());
        if (lines == 0) lines = CountByLayout(block, *text);
    }
    if (block.lineCount() == lines) return false;
    block.setLineCount(lines);
    return true;
}

int PlainNotesLayout::CountByLayout(const QTextBlock& block, const QString& text) const {
    counter_.setText(text);
    counter_.setFont(document()->defaultFont());
    counter_.setTextOption(OptionOf(block));
    const qreal width = AvailableWidth();
    int lines = 0;
    counter_.beginLayout();
    for (QTextLine line = counter_.createLine(); line.isValid(); line = counter_.createLine()) {
        line.setLineWidth(width);
        NoteLineHeight(line.height());
        ++lines;
    }
    counter_.endLayout();
    counter_.clearLayout();
    return lines;
}

// A change of the whole text: the paragraphs keep their old numbers of lines as estimates
// until the pass reaches them; what is shown or asked for is laid out at once.
void PlainNotesLayout::StartPass() {
    counted_ = CurrentBasis();
    lineHeight_ = std::ceil(QFontMetricsF(document()->defaultFont()).height());
    widest_ = 0;
    quick_ = std::make_unique<QuickLineCount>(document()->defaultFont());
    ++generation_;
    next_ = 0;
    passRunning_ = true;
    pass_.start();
}

// The pass goes on from the paragraph of `from` at the latest, keeping the line height and
// the widest line.
void PlainNotesLayout::ResumePass(int from) {
    if (!passRunning_ || from < next_) next_ = from;
    passRunning_ = true;
    if (!holding_) pass_.start();
}

// A pass that runs waits for the command's end: its slices would take 4 ms out of every
// pass of the command's event loop.
void PlainNotesLayout::HoldChanges(bool hold) {
    if (hold == holding_) return;
    holding_ = hold;
    if (hold) {
        pass_.stop();
        return;
    }
    if (heldFrom_ >= 0) {
        const int from = std::min(heldFrom_, document()->characterCount() - 1);
        heldFrom_ = -1;
        ResumePass(from);
    } else if (passRunning_) {
        pass_.start();
    }
}

// One slice of the pass, short enough to leave a frame for the keys typed meanwhile; the
// view then follows the lines it added or took above its place.
void PlainNotesLayout::ContinuePass() {
    constexpr qint64 SliceNs = 4'000'000;
    QElapsedTimer slice;
    slice.start();
    QTextBlock block = document()->findBlock(next_);
    for (int n = 1; block.isValid(); block = block.next(), ++n) {
        moved_ = CountBlock(block) || moved_;
        if (n % 32 == 0 && slice.nsecsElapsed() >= SliceNs) {
            block = block.next();
            break;
        }
    }
    if (block.isValid()) {
        next_ = block.position();
        pass_.start();
    } else {
        passRunning_ = false;
    }
    // The lines shown were laid out when painted, and the view follows the lines above
    // them: the text is painted again only once all is counted (or the lines grew).
    if (lineHeightGrew_ || (!passRunning_ && moved_)) {
        lineHeightGrew_ = false;
        moved_ = false;
        emit update(QRectF(0, 0, Everything, Everything));
    }
    NotifySize();
    if (keep_) keep_->Follow(lineHeight_);
}

void PlainNotesLayout::NotifySize() {
    const QSizeF size = documentSize();
    if (size == lastSize_) return;
    lastSize_ = size;
    emit documentSizeChanged(size);
}

// The changed paragraphs are laid out again, a few at once, many by the pass. The
// paragraphs below move when the number of lines changed; a change of the whole text waits
// for the first question about it.
void PlainNotesLayout::documentChanged(int from, int oldLength, int length) {
    QTextDocument* doc = document();
    // The pieces of a paragraph that went are kept only for this change.
    const auto forget = qScopeGuard([this] { remains_->reset(); });
    kept_.Counted(doc->findBlock(from).blockNumber());
    // The pass's place moves with the text before it; a change across it sends it back.
    if (passRunning_ && from < next_)
        next_ = from + oldLength <= next_ ? next_ + length - oldLength : from;
    if (holding_) {
        // The changed paragraphs keep their numbers of lines as estimates; every paragraph
        // is laid out again when next shown, the changed ones counted by the pass after
        // the command.
        ++generation_;
        heldFrom_ = heldFrom_ < 0 ? from : std::min(heldFrom_, from);
        emit update(QRectF(0, 0, Everything, Everything));
        NotifySize();
        return;
    }
    if (from == 0 && length >= doc->characterCount()) {
        if (!keepCounts_ || !(CurrentBasis() == counted_)) StartPass();
        emit update(QRectF(0, 0, Everything, Everything));
        NotifySize();
        return;
    }
    const QTextBlock first = doc->findBlock(from);
    QTextBlock last = doc->findBlock(std::max(from, from + length - 1));
    if (!last.isValid()) last = doc->lastBlock();
    bool moved = false;
    qreal top = TopOf(first);
    if (last.blockNumber() - first.blockNumber() > FewBlocks) {
        // Counted by the pass; laid out again when shown.
        ++generation_;
        ResumePass(from);
        moved = true;
    } else {
        if (Split(first, from, oldLength, length) || Join(first, from, oldLength, length, top)) {
            moved = true;
        } else {
            for (QTextBlock block = first; block.isValid(); block = block.next()) {
                moved = LayOutChanged(block, from, oldLength, length, first == last, top) || moved;
                if (block == last) break;
            }
        }
        // The caret is in one of them, or after Enter in the next.
        for (QTextBlock block = first; block.isValid(); block = block.next()) {
            if (const LongParagraph* paragraph = LongOf(block))
                ReadForTheCaret(block, paragraph->Text());
            if (block == last.next()) break;
        }
    }
    if (lineHeightGrew_) {
        lineHeightGrew_ = false;
        emit update(QRectF(0, 0, Everything, Everything));
    } else {
        const qreal bottom = moved ? Everything : TopOf(last) + last.lineCount() * lineHeight_;
        emit update(QRectF(0, top, Everything, bottom - top));
    }
    NotifySize();
}

PlainNotesLayout::Basis PlainNotesLayout::CurrentBasis() const {
    const QTextDocument* doc = document();
    const QTextOption option = doc->defaultTextOption();
    return {doc->textWidth(),
            doc->documentMargin(),
            doc->defaultFont(),
            std::ceil(QFontMetricsF(doc->defaultFont()).height()),
            option.wrapMode(),
            option.alignment(),
            option.textDirection(),
            option.flags(),
            option.tabStopDistance(),
            option.tabs()};
}

QSizeF PlainNotesLayout::documentSize() const {
    const qreal margin = document()->documentMargin();
    const qreal page = std::max<qreal>(0, document()->textWidth());
    const qreal width = Wraps() ? page : std::max(page, widest_ + 2 * margin);
    return {width, document()->lineCount() * lineHeight_ + 2 * margin};
}

QRectF PlainNotesLayout::frameBoundingRect(QTextFrame*) const {
    return QRectF(QPointF(0, 0), documentSize());
}

QRectF PlainNotesLayout::blockBoundingRect(const QTextBlock& block) const {
    if (!block.isValid()) return {};
    EnsureBlock(block);
    const LongParagraph* paragraph = LongOf(block);
    const qreal inner = paragraph ? paragraph->Width() : block.layout()->boundingRect().width();
    const qreal width = std::max(AvailableWidth(), inner);
    return {document()->documentMargin(), TopOf(block), width, block.lineCount() * lineHeight_};
}

// Fuzzy: the nearest place (above the text its first line, below it the last). Exact: only
// a place on a line's text.
int PlainNotesLayout::hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const {
    const QTextDocument* doc = document();
    const qreal margin = doc->documentMargin();
    const int lines = doc->lineCount();
    const int wanted = static_cast<int>(std::floor((point.y() - margin) / lineHeight_));
    if (accuracy == Qt::ExactHit && (wanted < 0 || wanted >= lines)) return -1;
    const QTextBlock block = doc->findBlockByLineNumber(std::clamp(wanted, 0, lines - 1));
    if (!block.isValid()) return -1;
    EnsureBlock(block);
    const qreal x = point.x() - margin;
    if (LongParagraph* paragraph = LongOf(block)) {
        const PieceSetup setup = SetupOf(block);
        const int inBlock = std::clamp(wanted - block.firstLineNumber(), 0, paragraph->Lines() - 1);
        const int place = paragraph->PlaceAt(inBlock, x, setup);
        if (accuracy == Qt::ExactHit) {
            const LongParagraph::Line line = paragraph->LineOf(place, setup);
            const qreal left = paragraph->LineOf(line.start, setup).x;
            const qreal right = paragraph->LineOf(line.start + line.length, setup).x;
            if (x < std::min(left, right) || x > std::max(left, right)) return -1;
        }
        return block.position() + place;
    }
    const QTextLayout* layout = block.layout();
    const int inBlock = std::clamp(wanted - block.firstLineNumber(), 0, layout->lineCount() - 1);
    const QTextLine line = layout->lineAt(inBlock);
    if (accuracy == Qt::ExactHit &&
        (x < line.x() || x > line.x() + line.naturalTextWidth()))
        return -1;
    return block.position() + line.xToCursor(x);
}

// The parts of the context's selections inside the paragraph; a selection reaching past its
// end takes the paragraph's end along, and a full-width one without text marks its line.
QList<QTextLayout::FormatRange> PlainNotesLayout::SelectionsIn(const QTextBlock& block,
                                                               const PaintContext& context) const {
    QList<QTextLayout::FormatRange> ranges;
    const int start = block.position();
    const int length = block.length();
    for (const Selection& selection : context.selections) {
        const QTextCursor& cursor = selection.cursor;
        if (cursor.hasSelection()) {
            const int from = std::max(cursor.selectionStart() - start, 0);
            const int to = std::min(cursor.selectionEnd() - start, length);
            if (from < to) ranges.append({from, to - from, selection.format});
        } else if (selection.format.boolProperty(QTextFormat::FullWidthSelection) &&
                   block.contains(cursor.position())) {
            const ShownLine line = LineOf(cursor.position());
            ranges.append({line.start - start, line.length, selection.format});
        }
    }
    return ranges;
}

// Only the paragraphs inside the clip: the first one is found by its line number.
void PlainNotesLayout::draw(QPainter* painter, const PaintContext& context) {
    QTextDocument* doc = document();
    const QRectF clip = context.clip.isValid() ? context.clip : QRectF(0, 0, Everything, Everything);
    const int firstLine = std::max(
        0, static_cast<int>(std::floor((clip.top() - doc->documentMargin()) / lineHeight_)));
    bool widthOk = false;
    int cursorWidth = property("cursorWidth").toInt(&widthOk);
    if (!widthOk) cursorWidth = 1;
    painter->save();
    painter->setPen(context.palette.color(QPalette::Text));
    QTextBlock block = doc->findBlockByLineNumber(std::min(firstLine, doc->lineCount() - 1));
    const int shownFirst = block.blockNumber();
    int shownLast = shownFirst - 1;
    for (; block.isValid(); block = block.next()) {
        const qreal top = TopOf(block);
        if (top > clip.bottom()) break;
        shownLast = block.blockNumber();
        EnsureBlock(block);
        const QPointF offset(doc->documentMargin(), top);
        const int caret = context.cursorPosition - block.position();
        if (LongParagraph* paragraph = LongOf(block)) {
            paragraph->Draw(painter, offset, clip, SelectionsIn(block, context), caret,
                            cursorWidth, SetupOf(block));
            continue;
        }
        QTextLayout* layout = block.layout();
        layout->draw(painter, offset, SelectionsIn(block, context), clip);
        if (caret >= 0 && caret < block.length())
            layout->drawCursor(painter, offset, caret, cursorWidth);
    }
    kept_.Shown(shownFirst, shownLast);
    painter->restore();
}

PlainNotesLayout::ShownLine PlainNotesLayout::LineOf(int position) const {
    QTextBlock block = document()->findBlock(position);
    if (!block.isValid()) block = document()->lastBlock();
    EnsureBlock(block);
    const int inBlock = std::clamp(position - block.position(), 0, block.length() - 1);
    ShownLine shown;
    if (LongParagraph* paragraph = LongOf(block)) {
        const LongParagraph::Line line = paragraph->LineOf(inBlock, SetupOf(block));
        shown = {line.number, line.start, line.length, line.x};
    } else {
        const QTextLayout* layout = block.layout();
        QTextLine line = layout->lineForTextPosition(inBlock);
        if (!line.isValid()) line = layout->lineAt(layout->lineCount() - 1);
        shown = {line.lineNumber(), line.textStart(), line.textLength(), line.cursorToX(inBlock)};
    }
    shown.number += block.firstLineNumber();
    shown.start += block.position();
    return shown;
}

bool PlainNotesLayout::InLongParagraph(int position) const {
    const QTextBlock block = document()->findBlock(position);
    return block.isValid() && IsLong(block);
}

}  // namespace editor
