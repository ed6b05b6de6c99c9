// SPDX-License-Identifier: GPL-3.0-or-later
// The user's folders as both programs find them without Qt agree with the folders Qt's
// QStandardPaths gives an application named "tolvane" without organisation. Two cases
// differ on purpose and are left out here: a relative XDG path (Qt 6.4 takes it as it
// stands, the XDG rules say to ignore it) and an unset HOME (Qt takes "/", we take the
// home folder from the password database).
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/locations.h"
#include "support/environment.h"
#include "support/temp_folder.h"
#include "support/unprivileged.h"

namespace fs = std::filesystem;
using testing_support::ScopedEnv;

namespace {

std::string Clean(const std::string& path) {
    return QDir::cleanPath(QString::fromStdString(path)).toStdString();
}

std::string QtLocation(QStandardPaths::StandardLocation type) {
    return Clean(QStandardPaths::writableLocation(type).toStdString());
}

}  // namespace

TEST(QtLocations, UserFoldersAgreeWithQStandardPaths) {
    QCoreApplication::setOrganizationName({});
    QCoreApplication::setApplicationName(QString::fromLatin1(platform::AppFolderName));
    struct Case {
        std::optional<std::string> home, config, data;
    };
    const Case cases[] = {
        {"/home/anna", std::nullopt, std::nullopt},
        {"/home/anna", "/srv/cfg", "/srv/data"},
        {"/home/anna", "/srv/cfg/", "/srv//data/"},
        {"/home/anna", "", ""},
        {"/home/anna/", std::nullopt, "/x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.home.value_or("(unset)") + " " + c.config.value_or("(unset)") + " " +
                     c.data.value_or("(unset)"));
        const ScopedEnv home("HOME", c.home);
        const ScopedEnv config("XDG_CONFIG_HOME", c.config);
        const ScopedEnv data("XDG_DATA_HOME", c.data);
        EXPECT_EQ(Clean(platform::ConfigHome() + "/" + platform::AppFolderName),
                  QtLocation(QStandardPaths::AppConfigLocation));
        EXPECT_EQ(Clean(platform::DataHome() + "/" + platform::AppFolderName),
                  QtLocation(QStandardPaths::AppDataLocation));
    }
}
