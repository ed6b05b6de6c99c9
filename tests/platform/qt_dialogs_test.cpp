// The real file dialog behind the dialog interface: the filter the window asks for is the
// one shown, and the one the user ends on comes back, whatever blanks the filters hold.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>

#include "platform/qt/dialogs.h"
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

}  // namespace
