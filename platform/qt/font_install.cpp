// SPDX-License-Identifier: GPL-3.0-or-later
// Application fonts stand in for a system-wide temporary installation: nothing outside the
// program sees them, so no change notification is needed.
#include "platform/qt/font_install.h"

#include <QByteArray>
#include <QFile>
#include <QFontDatabase>
#include <QStringList>
#include <string>

#include "platform/safe_file.h"

namespace platform {

namespace {

// Far beyond any font with a few dozen glyphs; what is larger is no font of ours.
constexpr std::size_t MaxFontFileSize = 64u << 20;

}  // namespace

// The file is read as the user's files are: a FIFO, a device or a folder in its place is no
// font (and a FIFO would keep an ordinary open waiting for a writer for ever).
int InstallFontFile(const QString& path) {
    std::string bytes;
    const FileRead read =
        ReadRegularFile(QFile::encodeName(path).toStdString(), MaxFontFileSize, bytes);
    if (read.status != ReadStatus::Ok) return -1;
    const int id = QFontDatabase::addApplicationFontFromData(
        QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (id < 0) return -1;
    if (QFontDatabase::applicationFontFamilies(id).isEmpty()) {
        QFontDatabase::removeApplicationFont(id);
        return -1;
    }
    return id;
}

bool RemoveFontFile(int handle) { return QFontDatabase::removeApplicationFont(handle); }

}  // namespace platform
