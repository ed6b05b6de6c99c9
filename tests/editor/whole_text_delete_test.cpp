// SPDX-License-Identifier: GPL-3.0-or-later
// Select all + delete, cut, a key typed or a paste, and its undo: the text, its formats,
// the caret, the modified flag, the caption and the recovery copy as the control's own edit
// and undo give them, for plain text (hidden whole) and rich text (taken apart); undo, redo
// and undo again by the keys; a partial delete stays an edit like any other; copy and cut
// take the text at once.
#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QClipboard>
#include <QMimeData>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <filesystem>
#include <fstream>
#include <functional>

#include "edit_form_fixture.h"
#include "editor/recovery_copy.h"
#include "platform/recovery_file.h"

using namespace editor_test;

namespace {

std::string Lines(int count, const char* last) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "Zeile " + std::to_string(i) + " mit etwas Text\n";
    return text + last;
}

// Centred and bold at the start, right-aligned at the end.
const std::string Rich = "{\\rtf1\\ansi\\pard\\qc{\\b fett} Mitte\\par" +
                         std::string(100, ' ') + "\\pard\\qr rechts\\par}";

class WholeDelete : public EditFormTest {
protected:
    void Open(const std::string& name, const std::string& bytes) {
        folder.Write(name, bytes);
        form->resize(400, 300);
        ShowAndActivate();
        form->LoadFile(Name(name));
    }
    QTextDocument* Doc() const { return form->Editor()->document(); }
    void Chord(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        QTest::keyClick(form->Editor(), key, modifiers);
    }
    // The text with its formats (without the layout's marks).
    QString Formats() const {
        return Doc()->toHtml().remove(QRegularExpression(" -qt-user-state:[-0-9]*;"));
    }
    void Undo() {
        OpenMenu("Edit1");
        Trigger("Undo1");
    }
    bool UndoEnabled() {
        OpenMenu("Edit1");
        return form->Action("Undo1")->isEnabled();
    }
    // The text of the recovery copy on disk.
    std::string Copy(const std::string& copies) {
        form->Recovery().Flush();
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path(copies))) {
            std::ifstream in(entry.path(), std::ios::binary);
            if (auto r = platform::DecodeRecovery(std::string(std::istreambuf_iterator<char>(in), {})))
                return r->text;
        }
        return "(none)";
    }
};

}  // namespace

TEST_F(WholeDelete, UndoGivesBackTextFormatsCaretAndFlags) {
    // The last paragraph centred, or (rich text) a list or a table pasted at the end: a
    // format of its own, an object of the document's own on or before the last paragraph.
    const auto centre = [&] {
        Caret(Doc()->characterCount() - 1);
        Trigger("Center1");
    };
    const auto paste = [&](const char* html) {
        return [this, html] {
            Caret(Doc()->characterCount() - 1);
            auto* data = new QMimeData;
            data->setHtml(QString::fromUtf8(html));
            QApplication::clipboard()->setMimeData(data);
            Trigger("Paste1");
        };
    };
    const struct {
        std::string file, bytes;
        std::function<void()> prepare;
    } texts[] = {{"a.txt", Lines(300, ""), {}},
                 {"b.txt", Lines(300, "Ende ohne Umbruch"), centre},
                 {"c.rtf", Rich, {}},
                 {"d.rtf", Rich, paste("<ul><li>eins</li><li>zwei</li></ul>")},
                 {"e.rtf", Rich, paste("<table><tr><td>a</td><td>b</td></tr></table>")}};
    // What replaces the text: nothing, a key typed, or plain text pasted (as the control
    // does it on a copy of the document, as well).
    const QString pasted = QStringLiteral("neu\nzwei");
    const auto typeOver = [](QTextCursor& all) { all.insertText("q"); };
    const auto pasteOver = [&](QTextCursor& all) {
        all.insertFragment(QTextDocumentFragment::fromPlainText(pasted));
    };
    const auto remove = [](QTextCursor& all) { all.removeSelectedText(); };
    const struct {
        std::string way;
        std::function<void()> run;
        std::function<void(QTextCursor&)> own;
        QString left;
        bool cut;
    } ways[] = {{"Delete1", [&] { Trigger("Delete1"); }, remove, "", false},
                {"Delete", [&] { Key(Qt::Key_Delete); }, remove, "", false},
                {"Backspace", [&] { Key(Qt::Key_Backspace); }, remove, "", false},
                {"Cut1", [&] { Trigger("Cut1"); }, remove, "", true},
                {"Ctrl+X", [&] { Chord(Qt::Key_X); }, remove, "", true},
                {"type", [&] { Type("q"); }, typeOver, "q", false},
                {"Paste1", [&] { Trigger("Paste1"); }, pasteOver, pasted, false},
                {"Ctrl+V", [&] { Chord(Qt::Key_V); }, pasteOver, pasted, false}};
    for (const auto& t : texts) {
        for (const auto& [way, run, own, left, cut] : ways) {
            SCOPED_TRACE(t.file + " " + way);
            Open(t.file, t.bytes);
            const std::string copies = t.file + way;
            form->Recovery().SetFolder(folder.Path(copies));
            if (t.prepare) t.prepare();
            const QString text = Text(), formats = Formats(), caption = form->windowTitle();
            // What the control's own edit leaves: the formats typed next.
            std::unique_ptr<QTextDocument> edited(Doc()->clone());
            QTextCursor all(edited.get());
            all.select(QTextCursor::Document);
            own(all);
            QApplication::clipboard()->setText(pasted);

            Trigger("Selectall1");
            run();
            EXPECT_EQ(Text(), left);
            // (A list is named by its number in its own document.)
            const auto format = [](const QTextDocument* document) {
                QTextBlockFormat format = document->firstBlock().blockFormat();
                format.clearProperty(QTextFormat::ObjectIndex);
                return format;
            };
            EXPECT_EQ(format(Doc()), format(edited.get()));
            EXPECT_EQ(Doc()->firstBlock().charFormat(), edited->firstBlock().charFormat());
            EXPECT_EQ(Formats(),
                      edited->toHtml().remove(QRegularExpression(" -qt-user-state:[-0-9]*;")));
            EXPECT_TRUE(form->Modified());
            if (cut) { EXPECT_EQ(QApplication::clipboard()->text(), text); }
            if (t.file.ends_with(".txt")) { EXPECT_EQ(Copy(copies), left.toStdString()); }
            ASSERT_TRUE(UndoEnabled());

            Trigger("Undo1");
            EXPECT_EQ(Text(), text);
            EXPECT_EQ(Formats(), formats);
            const QTextCursor caret = form->Editor()->textCursor();
            EXPECT_FALSE(caret.hasSelection());
            EXPECT_EQ(caret.position(), Doc()->characterCount() - 1);
            EXPECT_TRUE(form->Editor()->viewport()->rect().contains(form->Editor()->cursorRect().center()));
            EXPECT_TRUE(form->Modified());
            EXPECT_EQ(form->windowTitle(), caption);
            if (t.file.ends_with(".txt")) { EXPECT_EQ(Copy(copies), folder.Read(t.file)); }
            EXPECT_FALSE(UndoEnabled());
            Doc()->setModified(false);
        }
    }
}

// The control's keys: undo, redo and undo again, the modified flag following the file (also
// when the emptied or typed-over text was saved); an edit after the undo drops the redo.
TEST_F(WholeDelete, KeysUndoRedoAndUndoAgain) {
    for (const bool rich : {false, true}) {
        for (const int way : {0, 1, 2, 3}) {
            const bool saveEmpty = way & 1;
            const QString typed = way & 2 ? "q" : "";
            SCOPED_TRACE(std::to_string(rich) + std::to_string(way));
            Open(rich ? "a.rtf" : "a.txt", rich ? Rich : Lines(50, ""));
            const QString file = Text();
            Type("y");
            const QString text = Text();
            Trigger("Selectall1");
            if (typed.isEmpty())
                Key(Qt::Key_Delete);
            else
                Type(typed);
            if (saveEmpty) Trigger("Save1");
            Chord(Qt::Key_Z);
            EXPECT_EQ(Text(), text);
            EXPECT_TRUE(form->Modified());
            Chord(Qt::Key_Z);
            EXPECT_EQ(Text(), file);
            EXPECT_EQ(form->Modified(), saveEmpty);
            Chord(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            Chord(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            EXPECT_EQ(Text(), typed);
            EXPECT_EQ(form->Modified(), !saveEmpty);
            Chord(Qt::Key_Z);
            EXPECT_EQ(Text(), text);
            Type("x");
            Chord(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            EXPECT_EQ(Text(), text + "x");
            // "Rückgängig" takes back the last edit only, and the emptied text is gone.
            Undo();
            EXPECT_EQ(Text(), text);
            EXPECT_FALSE(UndoEnabled());
            EXPECT_EQ(form->Editor()->findChildren<QTextDocument*>().size(), 1);
            Doc()->setModified(false);
        }
    }
}

// Anything short of the whole text is deleted in the document itself.
TEST_F(WholeDelete, PartialDeleteIsAnEditLikeAnyOther) {
    for (const auto& [from, less] : {std::pair{1, 0}, std::pair{0, 1}}) {
        Open("a.txt", Lines(5, ""));
        const QString text = Text();
        const QTextDocument* document = Doc();
        Select(from, Doc()->characterCount() - 1 - less);
        Trigger("Delete1");
        EXPECT_EQ(Doc(), document);
        EXPECT_EQ(Text(), text.left(from) + text.right(less));
        Undo();
        EXPECT_EQ(Text(), text);
        Doc()->setModified(false);
    }
}

// Copy and cut give the clipboard the text itself (the selection clipboard gets it by
// reference): an edit afterwards does not change what is pasted.
TEST_F(WholeDelete, CopyAndCutTakeTheTextAtOnce) {
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"Copy1", [&] { Trigger("Copy1"); }}, {"Ctrl+C", [&] { Chord(Qt::Key_C); }},
        {"Cut1", [&] { Trigger("Cut1"); }}, {"Ctrl+X", [&] { Chord(Qt::Key_X); }}};
    for (const auto& [way, run] : ways) {
        Open("a.txt", "eins zwei drei\n");
        Select(5, 9);
        run();
        Select(3, 7);
        Type("-");
        EXPECT_EQ(QApplication::clipboard()->text(), "zwei") << way;
        Doc()->setModified(false);
    }
}

// A picture copied, the whole text deleted and the picture pasted: the picture is saved
// with its image (which the text's document keeps).
TEST_F(WholeDelete, PictureCopiedBeforeIsSavedWhenPastedBack) {
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    image.save(&buffer, "PNG");
    Open("p.rtf", "{\\rtf1\\ansi a{\\pict\\pngblip\\picw4\\pich4 " + png.toHex().toStdString() +
                      "}b\\par}");
    Select(1, 2);
    Chord(Qt::Key_C);
    Trigger("Selectall1");
    Key(Qt::Key_Delete);
    Chord(Qt::Key_V);
    Trigger("Save1");
    EXPECT_NE(folder.Read("p.rtf").find("\\pict"), std::string::npos);
}
