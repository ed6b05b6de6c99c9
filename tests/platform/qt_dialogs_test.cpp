// The real file and font dialogs behind the dialog interface: the filter the window asks for
// is the one shown, and the one the user ends on comes back, whatever blanks the filters hold;
// the font dialog starts on the text's style, and OK alone changes nothing.
#include <gtest/gtest.h>

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

// A family of many styles, whose first one in the dialog is "Condensed Italic".
TEST(QtDialogs, FontDialogStartsOnTheTextsStyle) {
    const QString family = QStringLiteral("DejaVu Serif");
    if (!QFontDatabase::families().contains(family)) GTEST_SKIP() << "DejaVu Serif is missing";
    const struct {
        const char* name;
        bool italic, bold;
        double points;
        QString typedSize;  // typed into the size field before OK; empty: OK alone
        const char* shown;
        double returned;
    } cases[] = {
        {"upright", false, false, 11, {}, "Book", 11},
        {"italic", true, false, 11, {}, "Italic", 11},
        {"bold", false, true, 11, {}, "Bold", 11},
        {"half a point", false, false, 10.5, {}, "Book", 10.5},
        {"another size", false, false, 11, "14", "Book", 14},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFont initial(family);
        initial.setPointSizeF(c.points);
        initial.setItalic(c.italic);
        initial.setBold(c.bold);
        QString shown;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            shown = dialog->currentFont().styleName();
            if (!c.typedSize.isEmpty()) {
                // The size field is the one that takes numbers only.
                for (QLineEdit* edit : dialog->findChildren<QLineEdit*>()) {
                    if (edit->validator()) edit->setText(c.typedSize);
                }
            }
            QMetaObject::invokeMethod(dialog, "accept");
        });
        platform::QtDialogs dialogs;
        const std::optional<QFont> chosen = dialogs.Font(nullptr, initial);
        EXPECT_EQ(shown.toStdString(), c.shown);
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(chosen->family(), family);
        EXPECT_EQ(chosen->italic(), c.italic);
        EXPECT_EQ(chosen->bold(), c.bold);
        EXPECT_EQ(chosen->pointSizeF(), c.returned);
    }
}

// Qt's dialogs speak the desktop's language where Qt has a translation for it.
TEST(QtDialogs, QtTranslationsForTheLanguage) {
    const struct {
        QLocale locale;
        const char* lookIn;  // the file dialog's "Look in:"; nullptr: no translation
    } cases[] = {
        {QLocale(QLocale::German, QLocale::Germany), "Suchen in:"},
        {QLocale(QLocale::German, QLocale::Austria), "Suchen in:"},
        {QLocale::c(), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString());
        const std::unique_ptr<QTranslator> translator = platform::QtTranslations(c.locale);
        ASSERT_EQ(translator != nullptr, c.lookIn != nullptr);
        if (translator)
            EXPECT_EQ(translator->translate("QFileDialog", "Look in:").toStdString(), c.lookIn);
    }
}

}  // namespace
