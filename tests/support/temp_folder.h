// SPDX-License-Identifier: GPL-3.0-or-later
// A private folder for one test: made with mkdtemp under the system's temporary folder and
// removed with everything in it at the end, whatever permissions the test left behind.
#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace testing_support {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tolvane-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            const std::string text = "mkdtemp(" + pattern + ") failed: " + std::strerror(errno);
            ADD_FAILURE() << text;
            throw std::runtime_error(text);
        }
        path_ = pattern;
    }
    ~TempFolder() {
        namespace fs = std::filesystem;
        std::error_code ec;
        // A test may have taken away permissions, at the top or further down.
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
        for (auto it = fs::recursive_directory_iterator(path_, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
            if (it->is_directory(ec) && !it->is_symlink(ec))
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
        }
        fs::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The folder with a final "/", as a program folder is given.
    std::string Folder() const { return path_.string() + "/"; }
    std::filesystem::path File(const std::string& name) const { return path_ / name; }

    // Writes `bytes` to the file `name` in the folder.
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream out(path_ / name, std::ios::binary | std::ios::trunc);
        out << bytes;
        if (!out) throw std::runtime_error("cannot write " + (path_ / name).string());
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(path_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::filesystem::path path_;
};

}  // namespace testing_support
