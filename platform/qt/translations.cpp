// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's translations from the folder Qt was built to look in (/usr/share/qt6/translations).
#include "platform/qt/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace platform {

std::unique_ptr<QTranslator> QtTranslations(const QLocale& locale) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return nullptr;
    return translator;
}

void InstallQtTranslations() {
    // The application owns it, so it lives as long as the dialogs that use it.
    if (std::unique_ptr<QTranslator> translator = QtTranslations(QLocale())) {
        translator->setParent(QCoreApplication::instance());
        QCoreApplication::installTranslator(translator.release());
    }
}

bool GermanDialogs() { return QLocale().language() == QLocale::German; }

}  // namespace platform
