// SPDX-License-Identifier: GPL-3.0-or-later
// Temporary installation of a font file for this program's own controls.
#pragma once

#include <QString>

namespace platform {

// Makes the font file usable by the program until it is removed; returns its handle, or
// -1 when the file yields no font family or is no regular file (a FIFO, a device, a folder).
int InstallFontFile(const QString& path);

// Removes a font installed by InstallFontFile; false when the removal failed.
bool RemoveFontFile(int handle);

}  // namespace platform
