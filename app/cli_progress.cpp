// SPDX-License-Identifier: GPL-3.0-or-later
// The progress line of a long range.
#include "app/cli_progress.h"

#include <cmath>

namespace cli {

namespace {

constexpr double ShowAfter = 1.0;     // seconds before the line appears
constexpr double ShowEvery = 0.2;     // seconds between updates

}  // namespace

Progress::Progress(std::ostream& err, bool enabled, long long total)
    : err_(err), enabled_(enabled), total_(total) {}

Progress::~Progress() {
    if (shownWidth_ == 0) return;
    err_ << '\r' << std::string(shownWidth_, ' ') << '\r' << std::flush;
}

std::string Progress::Line(long long done, long long total, double elapsed) {
    const double part = total > 0 ? static_cast<double>(done) / static_cast<double>(total) : 1.0;
    const long long percent = static_cast<long long>(std::floor(part * 100));
    std::string line = std::to_string(done) + " von " + std::to_string(total) + " Tagen, " +
                       std::to_string(percent) + " %";
    if (done > 0 && done < total) {
        const long long left = std::llround(elapsed * static_cast<double>(total - done) /
                                            static_cast<double>(done));
        line += ", noch etwa ";
        line += left >= 120 ? std::to_string((left + 30) / 60) + " min"
                            : std::to_string(left) + " s";
    }
    return line;
}

void Progress::Show(long long done) {
    const Clock::time_point now = Clock::now();
    const double elapsed = std::chrono::duration<double>(now - start_).count();
    if (elapsed < ShowAfter) return;
    if (shownWidth_ > 0 && std::chrono::duration<double>(now - lastShown_).count() < ShowEvery)
        return;
    lastShown_ = now;
    std::string line = Line(done, total_, elapsed);
    const std::size_t width = line.size();
    if (width < shownWidth_) line.append(shownWidth_ - width, ' ');
    err_ << '\r' << line << std::flush;
    shownWidth_ = std::max(shownWidth_, width);
}

}  // namespace cli
