// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader finds in the calculator window: every result field named by its row
// and column, the glyph fields telling the Chinese character they draw; and what a copy of
// a glyph field gives.
#include <QAccessible>
#include <QClipboard>
#include <QMenu>

#include "window_fixture.h"

using namespace testing_support;

using Accessibility = WindowTest;

namespace {

// Every accessible object below `root`, by the object name of its widget.
void Walk(QAccessibleInterface* node, std::map<QString, QAccessibleInterface*>& found) {
    if (!node) return;
    if (node->object() && !node->object()->objectName().isEmpty())
        found[node->object()->objectName()] = node;
    for (int i = 0; i < node->childCount(); ++i) Walk(node->child(i), found);
}

}  // namespace

TEST_F(Accessibility, ResultFieldsAreNamedAndGlyphsSpoken) {
    Start({"24031998", "14"});
    ShowAndActivate();
    std::map<QString, QAccessibleInterface*> found;
    Walk(QAccessible::queryAccessibleInterface(form.get()), found);

    // One field of each row and of each column: the name is made of both, and a glyph field
    // speaks its character, any other its text.
    const struct {
        const char* field;
        const char* name;
        const char* spoken;  // the value a screen reader reads
    } rows[] = {
        {"T60Edit", "Tages-Rhythmus, Periode 60", "56"},
        {"StemMEdit", "Monats-Rhythmus, himmlisches Zeichen", "乙"},
        {"StemJEdit2", "Jahres-Rhythmus, himmlisches Zeichen, Name", "5  harte Erde"},
        {"BranchSEdit", "Std.-Rhythmus, irdisches Zeichen", "未"},
        {"BranchTEdit2", "Tages-Rhythmus, irdisches Zeichen, Name", "8  Schaf"},
    };
    for (const auto& f : rows) {
        SCOPED_TRACE(f.field);
        ASSERT_TRUE(found.count(f.field));
        QAccessibleInterface* field = found[f.field];
        EXPECT_EQ(field->text(QAccessible::Name), QString::fromUtf8(f.name));
        EXPECT_EQ(field->text(QAccessible::Value), QString::fromUtf8(f.spoken));
    }
    // The stand-in letters reach no screen reader, not even through the text; a new result
    // replaces the characters.
    QAccessibleTextInterface* text = found["StemTEdit"]->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(0, text->characterCount()), "己");
    EXPECT_TRUE(found["StemTEdit"]->state().readOnly);
    QTest::keyClick(form->Field("SEdit"), Qt::Key_Backspace);
    EXPECT_EQ(found["StemTEdit"]->text(QAccessible::Value), "");
    EXPECT_EQ(text->characterCount(), 0);
    EXPECT_EQ(form->Field("StemTEdit")->text(), "");
}

// A copy of a glyph field, by key or by its context menu, gives the character it draws;
// the field still holds the glyph font's letter.
TEST_F(Accessibility, GlyphFieldsCopyTheirCharacter) {
    Start({"24031998", "14"});
    ShowAndActivate();
    for (const bool byMenu : {false, true}) {
        SCOPED_TRACE(byMenu);
        QGuiApplication::clipboard()->setText("vorher");
        QLineEdit* field = form->Field("StemTEdit");
        QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        ASSERT_EQ(field->selectedText(), "f");
        if (!byMenu) {
            QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
        } else {
            // The right button keeps the selection: it is no click that calculates.
            QTest::mouseClick(field, Qt::RightButton, {}, QPoint(2, 2));
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2),
                                    field->mapToGlobal(QPoint(2, 2)));
            QCoreApplication::sendEvent(field, &event);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            const QList<QAction*> items = menu->actions();
            const auto copy = std::find_if(items.begin(), items.end(), [](const QAction* a) {
                return a->text().startsWith("&Copy");
            });
            ASSERT_NE(copy, items.end());
            (*copy)->trigger();
            menu->close();
        }
        EXPECT_EQ(QGuiApplication::clipboard()->text(), "己");
        EXPECT_EQ(field->text(), "f");
    }
    Trigger("MenuEndMsg");  // let the fixture close without a question
}
