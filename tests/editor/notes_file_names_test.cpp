// SPDX-License-Identifier: GPL-3.0-or-later
// Extensions and backup names, without a window.
#include "editor/notes_file_names.h"

#include <gtest/gtest.h>

using namespace editor;

TEST(NotesFileNames, ExtensionsAndBackups) {
    struct Case {
        const char* name;
        const char* extension;
        bool rtf;
        const char* backup;
    };
    const Case cases[] = {
        {"PLAN.RTF", ".RTF", true, "PLAN.~RTF"},
        {"/a/NOTIZ.rtf", ".rtf", true, "/a/NOTIZ.~rtf"},
        {"x.Rtf", ".Rtf", true, "x.~Rtf"},
        {"brief.txt", ".txt", false, "brief.~txt"},
        {"/home/u/liste", "", false, "/home/u/liste.~"},
        {"/home/u.d/liste", "", false, "/home/u.d/liste.~"},
        {"a.b.RTF", ".RTF", true, "a.b.~RTF"},
        {"x.RTFX", ".RTFX", false, "x.~RTFX"},
        {"x.", ".", false, "x.~"},
        {"Unbekannt", "", false, "Unbekannt.~"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FileExtension(c.name), c.extension);
        EXPECT_EQ(IsRtfName(c.name), c.rtf);
        EXPECT_EQ(BackupName(c.name), c.backup);
    }
}
