// SPDX-License-Identifier: GPL-3.0-or-later
// A save that would drop content the notes cannot keep asks first, once a text, on every
// way a text is saved.
#include "edit_form_fixture.h"
#include "editor/formats/rtf_kept.h"

using namespace editor_test;
using platform::ButtonNo;
using platform::ButtonYes;

using NotesUnkept = EditFormTest;

TEST_F(NotesUnkept, AsksBeforeASaveDropsContent) {
    const std::string withObject =
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}Formel {\\object\\objemb{\\*\\objdata 01}} hier\\par}";
    const QString question = Name("a.rtf") +
                             " enthält Inhalte, die der Notizeditor nicht erhalten kann "
                             "(eingebettete Objekte). Beim Speichern gehen sie verloren. "
                             "Trotzdem speichern?";
    struct Case {
        const char* action;
        const char* saveAs;  // the name chosen in the file dialog, or nullptr
        const char* first;   // the question before ours, or nullptr
        platform::MessageButton answer;
    };
    const Case cases[] = {
        {"Save1", nullptr, nullptr, ButtonNo},
        {"Save1", nullptr, nullptr, ButtonYes},
        {"Saveas1", "b.rtf", nullptr, ButtonNo},
        {"Saveas1", "b.rtf", nullptr, ButtonYes},
        {"Saveas1", "b.txt", "RTF -> TXT-Konvertierung?", ButtonYes},
        {"New1", nullptr, "a.rtf speichern ?", ButtonNo},
        {"New1", nullptr, "a.rtf speichern ?", ButtonYes},
    };
    ShowAndActivate();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.action << " " << c.saveAs << " " << c.answer);
        folder.Write("a.rtf", withObject);
        form->LoadFile(Name("a.rtf"));
        Type("x");
        QCoreApplication::processEvents();
        dialogs.prompts.clear();
        std::vector<QString> asked;
        dialogs.answers = {c.answer};
        if (c.first) {
            asked.push_back(c.first[0] == 'a' ? Name(c.first) : QString(c.first));
            dialogs.answers.insert(dialogs.answers.begin(), ButtonYes);
        }
        asked.push_back(question);
        if (c.saveAs) Choose(Name(c.saveAs));
        Trigger(c.action);
        std::vector<QString> questions;
        for (const testing_support::Prompt& p : Messages()) questions.push_back(p.text);
        EXPECT_EQ(questions, asked);
        // No writes nothing and leaves the text unsaved.
        const bool yes = c.answer == ButtonYes;
        const std::string to = c.saveAs ? c.saveAs : "a.rtf";
        EXPECT_EQ(folder.Read(to).find("xFormel") != std::string::npos, yes);
        if (!yes) { EXPECT_EQ(folder.Read("a.rtf"), withObject); }
        EXPECT_EQ(form->Modified(), !yes);
        if (c.saveAs) std::filesystem::remove(folder.Path(c.saveAs));
        if (std::string(c.action) != "Save1" || !yes) continue;
        // Agreed once, the text's next saves do not ask again.
        Type("y");
        Trigger("Save1");
        EXPECT_EQ(Messages().size(), asked.size());
        EXPECT_NE(folder.Read("a.rtf").find("xyFormel"), std::string::npos);
    }
}

// Typed at hidden text, a tracked change or a field, as loaded or after a click or a key,
// the text is the writer's own: not hidden, not a change of the file's authors, no field.
TEST_F(NotesUnkept, TypingNextToKeptTextIsPlainText) {
    const std::string authors = "{\\*\\revtbl {Unknown;}{Anna Alt;}}";
    struct Case {
        std::string body;
        int caret;  // -1: where the load puts it (the start); -2: Ctrl+End
        int kept;   // a position in the kept run
    };
    const Case cases[] = {
        {"a{\\v verborgen}", -2, 1},
        {"{\\v verborgen} b", -1, 0},
        {authors + "{\\deleted\\revauthdel1\\revdttmdel1203972756 alt} b", 3, 0},
        {authors + "{\\deleted\\revauthdel1\\revdttmdel1203972756 alt} b", -1, 0},
        {authors + "x{\\revised\\revauth1\\revdttm1740845790 neu}", -2, 1},
        {"a{\\field{\\*\\fldinst PAGE}}", -2, 1},
    };
    ShowAndActivate();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        folder.Write("a.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}" + c.body + "\\par}");
        form->LoadFile(Name("a.rtf"));
        if (c.caret == -2) Key(Qt::Key_End);
        if (c.caret >= 0) Caret(c.caret);
        Type("Z");
        const QTextDocument* document = form->Editor()->document();
        const QTextCursor typed = document->find("Z");
        ASSERT_FALSE(typed.isNull());
        const QTextCharFormat format = typed.charFormat();
        EXPECT_FALSE(editor::HasKept(format));
        EXPECT_FALSE(format.fontStrikeOut());
        EXPECT_EQ(format.underlineStyle(), QTextCharFormat::NoUnderline);
        EXPECT_FALSE(format.hasProperty(QTextFormat::ForegroundBrush));
        // The kept run itself is unchanged.
        QTextCursor kept(const_cast<QTextDocument*>(document));
        kept.setPosition(c.kept + (c.kept >= typed.selectionStart() ? 1 : 0) + 1);
        EXPECT_TRUE(editor::HasKept(kept.charFormat()));
        form->Editor()->document()->setModified(false);
    }
}
