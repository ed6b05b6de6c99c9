// SPDX-License-Identifier: GPL-3.0-or-later
// The progress of a long range of days, on one line of the error stream (a terminal): days
// done of all, percent and the time left. It appears only after about a second, is updated a
// few times a second and cleared at the end, however the range ends.
#pragma once

#include <chrono>
#include <ostream>
#include <string>

namespace cli {

class Progress {
public:
    Progress(std::ostream& err, bool enabled, long long total);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // `done` days of all are finished.
    void Update(long long done) {
        if (enabled_ && (done & 255) == 0) Show(done);
    }

    // The line for `done` of `total` days after `elapsed` seconds.
    static std::string Line(long long done, long long total, double elapsed);

private:
    using Clock = std::chrono::steady_clock;
    void Show(long long done);

    std::ostream& err_;
    bool enabled_;
    long long total_;
    Clock::time_point start_ = Clock::now();
    Clock::time_point lastShown_{};
    std::size_t shownWidth_ = 0;
};

}  // namespace cli
