// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader finds in the calculator window: every result field named by its row
// and column, the glyph fields telling the Chinese character they draw.
#include <QAccessible>

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
    // The stand-in letters reach no screen reader; a new result replaces the characters.
    EXPECT_EQ(found["StemTEdit"]->textInterface(), nullptr);
    EXPECT_EQ(found["StemTEdit"]->text(QAccessible::Description), "己");
    QTest::keyClick(form->Field("SEdit"), Qt::Key_Backspace);
    EXPECT_EQ(found["StemTEdit"]->text(QAccessible::Value), "");
    EXPECT_EQ(form->Field("StemTEdit")->text(), "");
}
