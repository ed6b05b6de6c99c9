// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers and bullets from an RTF list table, counted as word processors count them: a
// paragraph counts up its level and starts the levels below it anew.
#include "editor/formats/rtf_lists.h"

#include <algorithm>

namespace editor {

namespace {

QString Roman(int value) {
    static const struct {
        int value;
        const char* digits;
    } kDigits[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"},
                   {50, "l"},   {40, "xl"},  {10, "x"},  {9, "ix"},   {5, "v"},   {4, "iv"},
                   {1, "i"}};
    if (value <= 0 || value >= 4000) return QString::number(value);
    QString out;
    for (const auto& digit : kDigits) {
        for (; value >= digit.value; value -= digit.value) out += QLatin1String(digit.digits);
    }
    return out;
}

// a … z, then aa … zz, as word processors count on.
QString Letters(int value) {
    if (value <= 0) return QString::number(value);
    const int repeat = (value - 1) / 26 + 1;
    return QString(std::min(repeat, 100), QChar(u'a' + (value - 1) % 26));
}

// Bullets from the Symbol and Wingdings fonts, which Word writes in the private use area.
QChar Bullet(QChar ch) {
    switch (ch.unicode()) {
    case 0xF0B7: return QChar(0x2022);
    case 0xF0A7: return QChar(0x25AA);
    case 0xF06F: return QChar(0x25E6);
    default: return ch.unicode() >= 0xF000 && ch.unicode() <= 0xF0FF ? QChar(0x2022) : ch;
    }
}

QString CocoaMarker(const QString& marker) {
    if (marker.contains(QLatin1String("circle"))) return QString(QChar(0x25E6));
    if (marker.contains(QLatin1String("square"))) return QString(QChar(0x25AA));
    if (marker.contains(QLatin1String("hyphen"))) return QStringLiteral("-");
    if (marker.contains(QLatin1String("disc")) || marker.contains(QLatin1String("check"))) {
        return QString(QChar(0x2022));
    }
    return {};
}

}  // namespace

void RtfListTable::openGroup() { groups_.push_back(Group::Other); }

void RtfListTable::closeGroup() {
    if (groups_.empty()) return;
    const Group ending = groups_.back();
    groups_.pop_back();
    if (ending == Group::List) {
        lists_[readingId_] = reading_;
        reading_ = List{};
        readingLevel_ = -1;
        readingId_ = 0;
    } else if (ending == Group::Override) {
        overrides_[overrideNumber_] = overrideList_;
        overrideList_ = overrideNumber_ = 0;
    }
}

RtfListTable::Level* RtfListTable::currentLevel() {
    if (readingLevel_ < 0 || readingLevel_ >= kLevels) return nullptr;
    return &reading_.levels[readingLevel_];
}

void RtfListTable::word(std::string_view name, bool hasParameter, int parameter) {
    if (groups_.empty()) return;
    Group& group = groups_.back();
    const int value = hasParameter ? parameter : 0;
    if (name == "list") {
        group = Group::List;
    } else if (name == "listlevel") {
        group = Group::Level;
        ++readingLevel_;
    } else if (name == "leveltext") {
        group = Group::LevelText;
        lengthSeen_ = false;
    } else if (name == "levelmarker") {
        group = Group::LevelMarker;
    } else if (name == "listoverride") {
        group = Group::Override;
    } else if (name == "listid") {
        (std::find(groups_.begin(), groups_.end(), Group::Override) != groups_.end() ? overrideList_
                                                                                      : readingId_) = value;
    } else if (name == "ls") {
        overrideNumber_ = value;
    } else if (Level* level = currentLevel(); level != nullptr) {
        if (name == "levelnfc" || name == "levelnfcn") {
            level->format = value;
        } else if (name == "levelstartat") {
            level->start = value;
        } else if (name == "levelfollow") {
            level->follow = value;
        }
    }
}

void RtfListTable::text(const QString& text) {
    if (groups_.empty()) return;
    Level* level = currentLevel();
    if (level == nullptr) return;
    if (groups_.back() == Group::LevelText) {
        const qsizetype end = text.indexOf(u';');
        level->text += end < 0 ? text : text.left(end);
        lengthSeen_ = true;
    } else if (groups_.back() == Group::LevelMarker) {
        level->marker += text;
    }
}

void RtfListTable::byte(int value) {
    if (groups_.empty() || groups_.back() != Group::LevelText) return;
    Level* level = currentLevel();
    if (level == nullptr) return;
    if (!lengthSeen_) {
        lengthSeen_ = true;
        return;
    }
    level->text += value == 0x95 ? QChar(0x2022) : QChar(value);  // Windows-1252's bullet
}

QString RtfListTable::number(const List& list, int level) const {
    const Level& format = list.levels[level];
    const int value = list.counted[level] ? list.counters[level] : format.start;
    switch (format.format) {
    case 1: return Roman(value).toUpper();
    case 2: return Roman(value);
    case 3: return Letters(value).toUpper();
    case 4: return Letters(value);
    case 22: return value < 10 && value >= 0 ? QLatin1Char('0') + QString::number(value) : QString::number(value);
    case 23:
    case 255: return {};
    default: return QString::number(value);
    }
}

QString RtfListTable::nextMarker(int list, int level) {
    const auto override = overrides_.find(list);
    if (override == overrides_.end()) return {};
    const auto found = lists_.find(override->second);
    if (found == lists_.end()) return {};
    List& counted = found->second;
    level = std::clamp(level, 0, kLevels - 1);
    counted.counters[level] = counted.counted[level] ? counted.counters[level] + 1 : counted.levels[level].start;
    counted.counted[level] = true;
    for (int below = level + 1; below < kLevels; ++below) counted.counted[below] = false;

    const Level& format = counted.levels[level];
    QString marker;
    for (const QChar ch : format.text) {
        if (ch.unicode() < kLevels) {
            marker += number(counted, ch.unicode());
        } else {
            marker += Bullet(ch);
        }
    }
    if (marker.isEmpty()) marker = CocoaMarker(format.marker);
    if (marker.isEmpty() && format.format == 23) marker = QChar(0x2022);
    if (marker.isEmpty()) return {};
    static const QString kFollow[] = {QStringLiteral("\t"), QStringLiteral(" "), QString()};
    return marker + kFollow[std::clamp(format.follow, 0, 2)];
}

}  // namespace editor
