// SPDX-License-Identifier: GPL-3.0-or-later
// A save that would drop content the notes cannot keep asks first, once a text, on every
// way a text is saved.
#include "edit_form_fixture.h"

using namespace editor_test;
using platform::ButtonNo;
using platform::ButtonYes;

namespace {

constexpr char WithObject[] =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}Formel {\\object\\objemb{\\*\\objdata 01}} hier\\par}";

QString Question(const QString& name) {
    return name + " enthält Inhalte, die der Notizeditor nicht erhalten kann (eingebettete "
                  "Objekte). Beim Speichern gehen sie verloren. Trotzdem speichern?";
}

}  // namespace

using NotesUnkept = EditFormTest;

TEST_F(NotesUnkept, AsksBeforeASaveDropsContent) {
    enum class Way { F2, SaveAs, SaveAsPlainText, PromptOnNew };
    struct Case {
        Way way;
        platform::MessageButton answer;  // to the question about the content
        const char* to;                  // the file written
    };
    const Case cases[] = {
        {Way::F2, ButtonNo, "a.rtf"},
        {Way::F2, ButtonYes, "a.rtf"},
        {Way::SaveAs, ButtonNo, "b.rtf"},
        {Way::SaveAs, ButtonYes, "b.rtf"},
        {Way::SaveAsPlainText, ButtonYes, "b.txt"},
        {Way::PromptOnNew, ButtonNo, "a.rtf"},
        {Way::PromptOnNew, ButtonYes, "a.rtf"},
    };
    ShowAndActivate();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.way) << " " << c.answer);
        folder.Write("a.rtf", WithObject);
        std::filesystem::remove(folder.Path("b.rtf"));
        std::filesystem::remove(folder.Path("b.txt"));
        form->LoadFile(Name("a.rtf"));
        Type("x");
        QCoreApplication::processEvents();
        dialogs.prompts.clear();
        std::vector<QString> asked;
        switch (c.way) {
        case Way::F2:
            dialogs.answers = {c.answer};
            Trigger("Save1");
            break;
        case Way::SaveAs:
            Choose(Name("b.rtf"));
            dialogs.answers = {c.answer};
            Trigger("Saveas1");
            break;
        case Way::SaveAsPlainText:
            Choose(Name("b.txt"));
            dialogs.answers = {ButtonYes, c.answer};
            asked.push_back("RTF -> TXT-Konvertierung?");
            Trigger("Saveas1");
            break;
        case Way::PromptOnNew:
            dialogs.answers = {ButtonYes, c.answer};
            asked.push_back(Name("a.rtf") + " speichern ?");
            Trigger("New1");
            break;
        }
        asked.push_back(Question(Name("a.rtf")));
        std::vector<QString> questions;
        for (const testing_support::Prompt& p : Messages()) questions.push_back(p.text);
        EXPECT_EQ(questions, asked);
        const bool yes = c.answer == ButtonYes;
        const std::string written = folder.Read(c.to);
        if (c.way == Way::F2 || c.way == Way::PromptOnNew) {
            EXPECT_EQ(written == WithObject, !yes) << written;
        } else {
            EXPECT_EQ(!written.empty(), yes);
        }
        EXPECT_EQ(written.find("xFormel") != std::string::npos, yes) << written;
        EXPECT_EQ(form->Modified(), !yes);
        if (c.way != Way::F2 || !yes) continue;
        // Agreed once, the text's next saves do not ask again.
        Type("y");
        Trigger("Save1");
        EXPECT_EQ(Messages().size(), 1u);
        EXPECT_NE(folder.Read("a.rtf").find("xyFormel"), std::string::npos);
    }
    // A text that lost nothing on reading is saved without a word.
    folder.Write("c.rtf", "{\\rtf1 Nur Text\\par}");
    form->LoadFile(Name("c.rtf"));
    Type("x");
    dialogs.prompts.clear();
    Trigger("Save1");
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(form->Modified());
}
