// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's language for the dialogs: Qt's own (file, font, print, page setup) through
// Qt's translations, and the program's find and replace dialogs, which speak German on a
// German desktop and English on any other. The message boxes keep their fixed captions and
// buttons whatever the language.
#pragma once

#include <QLocale>
#include <QTranslator>
#include <memory>

namespace platform {

// Qt's own translations for `locale` (Debian package qt6-translations-l10n), or nothing when
// there are none for its language: Qt's dialogs then stay English.
std::unique_ptr<QTranslator> QtTranslations(const QLocale& locale);

// Installs Qt's translations for the desktop's language into the running application.
void InstallQtTranslations();

// True when the program's own dialogs are to speak German: the default locale, which is the
// desktop's unless set otherwise, is German.
bool GermanDialogs();

}  // namespace platform
