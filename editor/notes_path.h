// SPDX-License-Identifier: GPL-3.0-or-later
// A file name as the window holds it, turned into a path in the file system's own encoding.
#pragma once

#include <QFile>
#include <QString>
#include <filesystem>

namespace editor {

inline std::filesystem::path PathOf(const QString& name) {
    return std::filesystem::path(QFile::encodeName(name).toStdString());
}

}  // namespace editor
