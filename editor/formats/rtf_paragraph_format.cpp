// SPDX-License-Identifier: GPL-3.0-or-later
// Paragraph layout between RTF and Qt. RTF measures in twips (1/1440 inch), the document in
// pixels of 1/96 inch: 15 twips a pixel.
#include "editor/formats/rtf_paragraph_format.h"

#include <QList>
#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "editor/formats/rtf_properties.h"

namespace editor {

namespace {

constexpr double kTwipsPerPixel = 15.0;
// Indents and tab stops beyond 22 inches (the widest page Word offers) are damage.
constexpr int kMaxTwips = 31'680;

constexpr char kLeaderChars[] = " .-_t=m";

int Twips(int parameter) { return std::clamp(parameter, -kMaxTwips, kMaxTwips); }

int ToTwips(qreal pixels) { return static_cast<int>(std::lround(pixels * kTwipsPerPixel)); }

}  // namespace

bool ApplyParagraphWord(std::string_view name, bool hasParameter, int parameter,
                        RtfParagraphFormat& format) {
    const int value = hasParameter ? Twips(parameter) : 0;
    RtfTab& next = format.nextTab;
    if (name == "li") {
        format.left = value;
    } else if (name == "ri") {
        format.right = value;
    } else if (name == "fi") {
        format.firstLine = value;
    } else if (name == "sb") {
        format.before = std::max(value, 0);
    } else if (name == "sa") {
        format.after = std::max(value, 0);
    } else if (name == "rtlpar") {
        format.rightToLeft = true;
    } else if (name == "ltrpar") {
        format.rightToLeft = false;
    } else if (name == "ls") {
        format.list = std::max(parameter, 0);
    } else if (name == "ilvl") {
        format.listLevel = std::clamp(parameter, 0, 8);
    } else if (name == "tqr") {
        next.kind = RtfTab::Right;
    } else if (name == "tqc") {
        next.kind = RtfTab::Centre;
    } else if (name == "tqdec") {
        next.kind = RtfTab::Decimal;
    } else if (name == "tldot") {
        next.leader = RtfTab::Dots;
    } else if (name == "tlhyph") {
        next.leader = RtfTab::Hyphens;
    } else if (name == "tlul") {
        next.leader = RtfTab::Underline;
    } else if (name == "tlth") {
        next.leader = RtfTab::Thick;
    } else if (name == "tleq") {
        next.leader = RtfTab::Equals;
    } else if (name == "tlmdot") {
        next.leader = RtfTab::MiddleDots;
    } else if (name == "tx" || name == "tb") {
        // \tb is a bar, which Qt has not; it stays a plain stop.
        next.twips = std::max(value, 0);
        if (format.tabCount < RtfParagraphFormat::kMaxTabs) format.tabs[format.tabCount++] = next;
        next = RtfTab{};
    } else {
        return false;
    }
    return true;
}

RtfParagraphFormat RtfTableRow::format(const RtfParagraphFormat& last) const {
    if (split_ || alignments_.size() < 2 || alignments_.size() != bounds_.size() ||
        alignments_.size() > RtfParagraphFormat::kMaxTabs) {
        return last;
    }
    RtfParagraphFormat row;
    row.rightToLeft = last.rightToLeft;
    for (std::size_t cell = 1; cell < alignments_.size(); ++cell) {
        const int left = bounds_[cell - 1];
        const int right = std::max(bounds_[cell], left);
        RtfTab tab{left};
        if (alignments_[cell] & Qt::AlignHCenter) {
            tab = RtfTab{left + (right - left) / 2, RtfTab::Centre};
        } else if (alignments_[cell] & Qt::AlignRight) {
            tab = RtfTab{right, RtfTab::Right};
        }
        tab.twips = Twips(tab.twips);
        row.tabs[row.tabCount++] = tab;
    }
    return row;
}

QTextBlockFormat ToBlockFormat(const RtfParagraphFormat& read) {
    // A first line hanging out beyond the margin (AbiWord's lists: \fi-360 without \li) would
    // be cut off at the window's edge; the paragraph moves in so that it starts there.
    RtfParagraphFormat format = read;
    format.left = std::max(format.left, -format.firstLine);
    QTextBlockFormat block;
    block.setAlignment(format.alignment);
    if (format.left != 0) block.setLeftMargin(format.left / kTwipsPerPixel);
    if (format.right != 0) block.setRightMargin(format.right / kTwipsPerPixel);
    if (format.firstLine != 0) block.setTextIndent(format.firstLine / kTwipsPerPixel);
    if (format.before != 0) block.setTopMargin(format.before / kTwipsPerPixel);
    if (format.after != 0) block.setBottomMargin(format.after / kTwipsPerPixel);
    if (format.rightToLeft) block.setLayoutDirection(Qt::RightToLeft);
    // A hanging first line has a stop at the indent, as in every word processor: a list's
    // number and its tab take the hanging part.
    const int start = format.left + format.firstLine;  // where the first line starts
    const bool hanging = format.firstLine < 0 &&
                         std::none_of(format.tabs.begin(), format.tabs.begin() + format.tabCount,
                                      [&](const RtfTab& tab) { return tab.twips > start && tab.twips <= format.left; });
    if (format.tabCount == 0 && !hanging) return block;
    QList<QTextOption::Tab> tabs;
    QString leaders;
    bool anyLeader = false;
    const auto add = [&](const RtfTab& tab) {
        static constexpr QTextOption::TabType kTypes[] = {
            QTextOption::LeftTab, QTextOption::RightTab, QTextOption::CenterTab,
            QTextOption::DelimiterTab};
        // Qt measures from the start of the line, RTF from the page's margin; the stops are
        // for the first line. A decimal stop aligns on the German decimal comma.
        tabs.append(QTextOption::Tab((tab.twips - start) / kTwipsPerPixel, kTypes[tab.kind],
                                     tab.kind == RtfTab::Decimal ? QChar(u',') : QChar()));
        leaders += QLatin1Char(kLeaderChars[tab.leader]);
        anyLeader = anyLeader || tab.leader != RtfTab::None;
    };
    bool hangingAdded = !hanging;
    for (std::size_t i = 0; i < format.tabCount; ++i) {
        if (!hangingAdded && format.tabs[i].twips > format.left) {
            add(RtfTab{format.left});
            hangingAdded = true;
        }
        add(format.tabs[i]);
    }
    if (!hangingAdded) add(RtfTab{format.left});
    block.setTabPositions(tabs);
    if (anyLeader) block.setProperty(rtf_property::kTabLeaders, leaders);
    return block;
}

void AppendParagraphWords(const QTextBlockFormat& block, QByteArray& out) {
    const Qt::Alignment alignment = block.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignRight) {
        out += "\\qr";
    } else if (alignment & Qt::AlignHCenter) {
        out += "\\qc";
    } else if (alignment & Qt::AlignJustify) {
        out += "\\qj";
    } else {
        out += "\\ql";
    }
    // Most paragraphs have an alignment at most.
    if (block.propertyCount() <= 1) {
        out += ' ';
        return;
    }
    const auto twips = [&out](const char* word, qreal pixels) {
        const int value = ToTwips(pixels);
        if (value != 0) out += QByteArray("\\") + word + QByteArray::number(value);
    };
    twips("li", block.leftMargin());
    twips("ri", block.rightMargin());
    twips("fi", block.textIndent());
    twips("sb", block.topMargin());
    twips("sa", block.bottomMargin());
    const QString leaders = block.property(rtf_property::kTabLeaders).toString();
    const QList<QTextOption::Tab> tabs = block.tabPositions();
    const qreal start = block.leftMargin() + block.textIndent();
    for (qsizetype i = 0; i < tabs.size(); ++i) {
        const int twips = ToTwips(start + tabs[i].position);
        // The stop at a hanging indent goes without saying.
        if (block.textIndent() < 0 && tabs[i].type == QTextOption::LeftTab &&
            twips == ToTwips(block.leftMargin())) {
            continue;
        }
        switch (tabs[i].type) {
        case QTextOption::RightTab: out += "\\tqr"; break;
        case QTextOption::CenterTab: out += "\\tqc"; break;
        case QTextOption::DelimiterTab: out += "\\tqdec"; break;
        case QTextOption::LeftTab: break;
        }
        static constexpr const char* kLeaderWords[] = {"", "\\tldot", "\\tlhyph", "\\tlul",
                                                       "\\tlth", "\\tleq", "\\tlmdot"};
        if (i < leaders.size()) {
            if (const char* at = std::strchr(kLeaderChars, leaders[i].toLatin1()); at && *at) {
                out += kLeaderWords[at - kLeaderChars];
            }
        }
        out += "\\tx" + QByteArray::number(std::max(twips, 0));
    }
    if (block.layoutDirection() == Qt::RightToLeft) out += "\\rtlpar";
    out += ' ';
}

}  // namespace editor
