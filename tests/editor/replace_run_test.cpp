// SPDX-License-Identifier: GPL-3.0-or-later
// The replace loop on a document, without a window: the answers to its question, what they
// replace, the messages that follow, and a stop between two passes.
#include "editor/replace_run.h"

#include <gtest/gtest.h>

#include <deque>

#include "editor/edit_batch.h"
#include "editor/formats/rtf_reader.h"

using namespace editor;
using platform::ButtonAll;
using platform::ButtonCancel;
using platform::ButtonNo;
using platform::ButtonYes;

namespace {

struct Outcome {
    QString text;
    int count = 0;
    int questions = 0;
    std::vector<QString> told;
};

// Replaces in `text` from `from` (selected up to `to`); `stopAt` > 0 stops at that showing.
Outcome Replace(const QString& text, int from, int to, const ReplaceRequest& request,
            std::deque<platform::MessageButton> answers, int stopAt = 0) {
    QTextDocument document;
    document.setPlainText(text);
    Outcome run;
    int shown = 0;
    ReplaceHost host;
    host.ask = [&] {
        ++run.questions;
        const platform::MessageButton answer = answers.empty() ? ButtonCancel : answers.front();
        if (!answers.empty()) answers.pop_front();
        return answer;
    };
    host.tell = [&](const QString& message) { run.told.push_back(message); };
    host.show = [&](QTextCursor&, bool) { return ++shown != stopAt; };
    QTextCursor selection(&document);
    selection.setPosition(from);
    selection.setPosition(to, QTextCursor::KeepAnchor);
    {
        EditBatch batch(&document);
        run.count = ReplaceRun(document, request, batch).Run(selection, host);
    }
    run.text = document.toPlainText();
    EXPECT_TRUE(answers.empty()) << "a question too few";
    return run;
}

QString NotFound(const char* text) { return NotFoundMessage(QString::fromUtf8(text)); }

}  // namespace

TEST(ReplaceRun, AnswersAndOptions) {
    struct Case {
        const char* name;
        const char* text;
        int from, to;
        ReplaceRequest request;
        std::deque<platform::MessageButton> answers;
        const char* after;
        std::vector<QString> told;
    };
    const ReplaceRequest aAll{"a", "aa", false, false, true};
    const ReplaceRequest aOnce{"a", "aa", false, false, false};
    const QString three = "3 Vorkommen von \"a\" durch \"aa\" ersetzt.";
    const Case cases[] = {
        {"Yes at every hit, never meeting a replacement again", "a xa a", 0, 0, aAll,
         {ButtonYes, ButtonYes, ButtonYes}, "aa xaa aa", {NotFound("a"), three}},
        {"All replaces the hit it was given at and every later one", "a xa a", 0, 0, aAll,
         {ButtonAll}, "aa xaa aa", {NotFound("a"), three}},
        {"All after a single replace replaces nothing", "a xa a", 0, 0, aOnce, {ButtonAll},
         "a xa a", {}},
        {"No at every hit", "a xa a", 0, 0, aAll, {ButtonNo, ButtonNo, ButtonNo}, "a xa a",
         {NotFound("a")}},
        {"Cancel keeps what was replaced and counts it", "a xa a", 0, 0, aAll,
         {ButtonYes, ButtonCancel}, "aa xa a", {"1 Vorkommen von \"a\" durch \"aa\" ersetzt."}},
        {"forward only: a hit before the caret stays", "a xa a", 2, 2, aAll, {ButtonYes, ButtonYes},
         "a xaa aa", {NotFound("a"), "2 Vorkommen von \"a\" durch \"aa\" ersetzt."}},
        {"whole words only", "xabcx abc", 0, 0, {"abc", "-", true, false, true}, {ButtonYes},
         "xabcx -", {NotFound("abc"), "1 Vorkommen von \"abc\" durch \"-\" ersetzt."}},
        {"a selection inside a word counts although whole words are asked for", "xABCx", 1, 4,
         {"abc", "-", true, false, false}, {ButtonYes}, "x-x",
         {"1 Vorkommen von \"abc\" durch \"-\" ersetzt."}},
        {"match case passes over ABC", "ABC abc", 0, 0, {"abc", "-", false, true, false},
         {ButtonYes}, "ABC -", {"1 Vorkommen von \"abc\" durch \"-\" ersetzt."}},
        // Found by the search (any letter folds) but no hit for replace (a-z fold only).
        {"Ä found for ä ends the replace silently", "xÄx", 0, 0, {"ä", "y", false, false, true},
         {}, "xÄx", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome run = Replace(QString::fromUtf8(c.text), c.from, c.to, c.request, c.answers);
        EXPECT_EQ(run.text, QString::fromUtf8(c.after));
        EXPECT_EQ(run.told, c.told);
    }
}

// The text of a tracked deletion is gone for find and replace: no hit in it or across it.
TEST(ReplaceRun, DeletedTextIsNotSearched) {
    QTextDocument document;
    editor::ReadRtf("{\\rtf1 alt {\\deleted alt neu} neu alt}", document);
    ASSERT_EQ(document.toPlainText(), "alt alt neu neu alt");
    const std::tuple<const char*, int, int> cases[] = {
        {"alt", 0, 0}, {"alt", 1, 16}, {"neu", 0, 12}, {"t a", 0, -1}, {"u n", 0, -1},
        {"u a", 0, 14}, {"alt ", 0, 0}, {" neu", 0, 11},
    };
    for (const auto& [find, start, found] : cases) {
        EXPECT_EQ(FindInDocument(document, find, start, document.characterCount() - 1, false, false),
                  found)
            << find << " from " << start;
    }
}

// A load, an emptying or a close between two passes (here the seventh showing, after the
// second replacement): not one more question, replacement or message.
TEST(ReplaceRun, StoppedBetweenTwoPasses) {
    const ReplaceRequest request{"a", "b", false, false, true};
    const Outcome asking = Replace("a a a a", 0, 0, request, {ButtonYes, ButtonYes}, 7);
    EXPECT_EQ(asking.text, "b b a a");
    EXPECT_EQ(asking.count, 2);
    EXPECT_EQ(asking.questions, 2);
    EXPECT_TRUE(asking.told.empty());
}
