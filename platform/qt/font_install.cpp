// SPDX-License-Identifier: GPL-3.0-or-later
// Application fonts stand in for a system-wide temporary installation: nothing outside the
// program sees them, so no change notification is needed.
#include "platform/qt/font_install.h"

#include <QFontDatabase>
#include <QStringList>

namespace platform {

int InstallFontFile(const QString& path) {
    const int id = QFontDatabase::addApplicationFont(path);
    if (id < 0) return -1;
    if (QFontDatabase::applicationFontFamilies(id).isEmpty()) {
        QFontDatabase::removeApplicationFont(id);
        return -1;
    }
    return id;
}

bool RemoveFontFile(int handle) { return QFontDatabase::removeApplicationFont(handle); }

}  // namespace platform
