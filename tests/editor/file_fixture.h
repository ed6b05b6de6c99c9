// SPDX-License-Identifier: GPL-3.0-or-later
// A private temporary folder for file tests, and a file size limit that makes writes fail
// even for root.
#pragma once

#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace editor_test {

class FileFolder {
public:
    FileFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tolvane-notes-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
    }
    ~FileFolder() {
        std::error_code ec;
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(folder_, ec);
    }
    std::filesystem::path Path(const std::string& name) const { return folder_ / name; }
    std::string Read(const std::string& name) const {
        std::ifstream in(Path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    void MakeFolder(const std::string& name) const { std::filesystem::create_directory(Path(name)); }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_))
            names.insert(entry.path().filename().string());
        return names;
    }

private:
    std::filesystem::path folder_;
};

// While it lives, no file may grow beyond `bytes`: a longer write fails with EFBIG.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    sighandler_t oldHandler_;
};

}  // namespace editor_test
