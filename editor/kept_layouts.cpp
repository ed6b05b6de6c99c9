// SPDX-License-Identifier: GPL-3.0-or-later
// The bounded store of a plain text's paragraph layouts.
#include "editor/kept_layouts.h"

#include "editor/long_paragraph.h"

#include <QTextLayout>
#include <QtGui/private/qtextdocument_p.h>
#include <algorithm>
#include <vector>

namespace editor {

namespace {

// The paragraph's QTextLayout goes; Qt makes an empty one when it is next asked for, and
// the document's layout lays that out before it is used. False when it holds the text an
// input method is composing, which stays.
bool DropLayoutOf(const QTextBlock& block) {
    const QTextBlockData* data =
        QTextDocumentPrivate::get(block)->blockMap().fragment(block.fragmentIndex());
    if (!data->layout) return true;
    if (!data->layout->preeditAreaText().isEmpty()) return false;
    delete data->layout;
    data->layout = nullptr;
    return true;
}

}  // namespace

KeptLayouts::KeptLayouts(const QTextDocument* document)
    : document_(document), blocks_(document->blockCount()) {
    drop_.setSingleShot(true);
    drop_.setInterval(0);
    QObject::connect(&drop_, &QTimer::timeout, [this] { DropOld(); });
}

void KeptLayouts::Laid(const QTextBlock& block) {
    const int number = block.blockNumber();
    if (!laid_.empty() && laid_.back() == number) return;
    laid_.push_back(number);
    if (laid_.size() > Paragraphs + Paragraphs / 4) drop_.start();
}

void KeptLayouts::MayLayOut(const QTextBlock& block, LongParagraph& paragraph) {
    if (paragraph.Listed()) return;
    paragraph.SetListed(true);
    longLaid_.push_back(block.blockNumber());
    if (longLaid_.size() > LongParagraphs) drop_.start();
}

void KeptLayouts::Shown(int first, int last) {
    shownFirst_ = first;
    shownLast_ = last;
}

bool KeptLayouts::Shown(int number) const {
    return number >= shownFirst_ && number <= shownLast_;
}

void KeptLayouts::Counted(int first) {
    const int by = document_->blockCount() - blocks_;
    blocks_ += by;
    if (by == 0) return;
    for (std::deque<int>* list : {&laid_, &longLaid_})
        for (int& number : *list)
            if (number > first) number = std::max(first, number + by);
}

// The oldest go down to the bound; those shown stay, each once, at the new end.
void KeptLayouts::DropOld() {
    std::vector<int> stay;
    const auto drop = [&](std::deque<int>& list, std::size_t bound, auto&& dropOne) {
        stay.clear();
        while (list.size() > bound) {
            const int number = list.front();
            list.pop_front();
            const QTextBlock block = document_->findBlockByNumber(number);
            if (!block.isValid()) continue;
            if ((Shown(number) || !dropOne(block)) &&
                std::find(stay.begin(), stay.end(), number) == stay.end())
                stay.push_back(number);
        }
        list.insert(list.end(), stay.begin(), stay.end());
    };
    drop(laid_, Paragraphs, DropLayoutOf);
    drop(longLaid_, LongParagraphs, [](const QTextBlock& block) {
        if (auto* paragraph = dynamic_cast<LongParagraph*>(block.userData())) {
            paragraph->DropLayouts();
            paragraph->SetListed(false);
        }
        return DropLayoutOf(block);
    });
}

}  // namespace editor
