// SPDX-License-Identifier: GPL-3.0-or-later
// The real file and font dialogs behind the dialog interface: the filter the window asks for
// is the one shown, and the one the user ends on comes back, whatever blanks the filters hold;
// the font dialog starts on the text's style, and OK alone changes nothing.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLineEdit>
#include <QTimer>

#include "platform/qt/dialogs.h"
#include "platform/qt/translations.h"
#include "support/temp_folder.h"

namespace {

TEST(QtDialogs, FileDialogFiltersByPlace) {
    const testing_support::TempFolder folder;
    const QString dir = QString::fromStdString(folder.Path().string());
    platform::FileRequest request{"Datei speichern als", dir + "/plan.RTF", dir,
                                  {"alle Dateien   *.* (*)", "Text-Dateien   *.TXT (*.TXT *.txt)",
                                   "RTF-Dateien   *.RTF (*.RTF *.rtf)"},
                                  3};
    QString shownFilter;
    // While the dialog is open: look at its filter, then pick the text files and save.
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shownFilter = dialog->selectedNameFilter();
        dialog->selectNameFilter(dialog->nameFilters().at(1));
        dialog->selectFile(dir + "/plan.txt");
        QMetaObject::invokeMethod(dialog, "accept");
    });
    platform::QtDialogs dialogs;
    const std::optional<QString> chosen = dialogs.SaveFileName(nullptr, request);
    EXPECT_EQ(shownFilter.toStdString(), "RTF-Dateien *.RTF (*.RTF *.rtf)");
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->toStdString(), (dir + "/plan.txt").toStdString());
    EXPECT_EQ(request.filterIndex, 2);
}

// DejaVu Serif, a family of many styles, whose first one in the dialog is "Condensed Italic";
// Arial, which the desktop lacks: the dialog names it with the text's style, and a size typed
// alone keeps both. Rows: the family, bold, italic, the size, the size typed before OK (0: OK
// alone), the family and style shown.
TEST(QtDialogs, FontDialogStartsOnTheTextsFamilyAndStyle) {
    const struct {
        const char* family;
        bool bold, italic;
        double points;
        int typed;
        const char* shown;
    } cases[] = {{"DejaVu Serif", false, false, 11, 0, "DejaVu Serif|Book"},
                 {"DejaVu Serif", false, true, 11, 0, "DejaVu Serif|Italic"},
                 {"DejaVu Serif", false, false, 10.5, 0, "DejaVu Serif|Book"},
                 {"DejaVu Serif", false, false, 11, 14, "DejaVu Serif|Book"},
                 {"Arial", true, false, 10.5, 14, "Arial|Bold"},
                 {"Arial", false, true, 10.5, 14, "Arial|Italic"},
                 {"Arial", true, true, 10.5, 0, "Arial|Bold Italic"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown + std::to_string(c.points));
        const QString family = QString::fromLatin1(c.family);
        if (QFontDatabase::hasFamily(family) != (family == "DejaVu Serif")) continue;
        QFont initial(family);
        initial.setPointSizeF(c.points);
        initial.setBold(c.bold);
        initial.setItalic(c.italic);
        QStringList shown;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            for (QLineEdit* edit : dialog->findChildren<QLineEdit*>()) {
                if (edit->isReadOnly()) shown << edit->text();  // the family and the style
                if (edit->validator() && c.typed) edit->setText(QString::number(c.typed));
            }
            QMetaObject::invokeMethod(dialog, "accept");
        });
        const std::optional<QFont> chosen = platform::QtDialogs().Font(nullptr, initial);
        EXPECT_EQ(shown.join(u'|').toStdString(), c.shown);
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(chosen->family(), family);
        EXPECT_EQ(chosen->bold(), c.bold);
        EXPECT_EQ(chosen->italic(), c.italic);
        EXPECT_EQ(chosen->pointSizeF(), c.typed ? c.typed : c.points);
    }
}

// A message box without an icon (the information box) shows a screen reader no empty label.
TEST(QtDialogs, PlainMessageBoxHasNoEmptyLabel) {
    int emptyLabels = -1;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        QAccessibleInterface* a11y = QAccessible::queryAccessibleInterface(box);
        emptyLabels = 0;
        for (int i = 0; i < a11y->childCount(); ++i)
            if (a11y->child(i)->role() == QAccessible::StaticText &&
                a11y->child(i)->text(QAccessible::Name).isEmpty())
                ++emptyLabels;
        QMetaObject::invokeMethod(box, "accept");
    });
    platform::QtDialogs().Message(nullptr, platform::MessageKind::Plain, "ver. 080413",
                                  platform::ButtonOk);
    EXPECT_EQ(emptyLabels, 0);
}

// Qt's dialogs speak German where the desktop does; nothing is loaded for other languages.
TEST(QtDialogs, QtTranslationsForTheLanguage) {
    const auto german = platform::QtTranslations(QLocale(QLocale::German, QLocale::Austria));
    ASSERT_NE(german, nullptr);
    EXPECT_EQ(german->translate("QFileDialog", "Look in:").toStdString(), "Suchen in:");
    EXPECT_EQ(platform::QtTranslations(QLocale::c()), nullptr);
}

}  // namespace
