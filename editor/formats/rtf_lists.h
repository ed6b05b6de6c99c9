// SPDX-License-Identifier: GPL-3.0-or-later
// The list table of an RTF file (\listtable, \listoverridetable) and the numbers and bullets
// it gives the paragraphs of its lists (\ls, \ilvl) where the file left out their marks.
#pragma once

#include <QString>

#include <array>
#include <map>
#include <string_view>
#include <vector>

namespace editor {

class RtfListTable {
public:
    static constexpr int kLevels = 9;

    // What the reader finds inside the two tables: groups, words, text (\u included) and
    // \'hh bytes, which in a level's text are its length and the places of the numbers.
    void openGroup();
    void closeGroup();
    void word(std::string_view name, bool hasParameter, int parameter);
    void text(const QString& text);
    void byte(int value);

    // The mark of the next paragraph of list `list` (an \ls number) at `level`: "3.\t",
    // "a)\t", "•\t" ...; counts the paragraph. Empty for a list the table lacks.
    QString nextMarker(int list, int level);

private:
    struct Level {
        int format = 0;  // \levelnfc: 0 decimal, 1/2 Roman, 3/4 letters, 22 leading zero, 23 bullet
        int start = 1;
        int follow = 0;  // \levelfollow: 0 tab, 1 blank, 2 nothing
        QString text;    // \leveltext; characters below 9 stand for the numbers of those levels
        QString marker;  // \levelmarker of Cocoa files: "{disc}", "{decimal}" ...
    };
    struct List {
        std::array<Level, kLevels> levels;
        std::array<int, kLevels> counters{};
        std::array<bool, kLevels> counted{};
    };
    enum class Group { Other, List, Level, LevelText, LevelMarker, Override };

    Level* currentLevel();
    QString number(const List& list, int level) const;

    std::vector<Group> groups_;
    std::map<int, List> lists_;       // by \listid
    std::map<int, int> overrides_;    // \ls → \listid
    List reading_;
    int readingLevel_ = -1;
    int readingId_ = 0;
    bool lengthSeen_ = false;  // the first byte of a level's text is its length
    int overrideList_ = 0, overrideNumber_ = 0;
};

}  // namespace editor
