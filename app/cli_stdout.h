// SPDX-License-Identifier: GPL-3.0-or-later
// The standard output of tolvane-cli, written through a checked buffer: a write or the final
// flush that fails (full disk, file size limit, closed output) raises OutputError, so the
// program reports it instead of ending as if all had been written.
#pragma once

#include <optional>
#include <ostream>
#include <stdexcept>
#include <streambuf>

namespace cli {

// Lost output; the text names the cause, e.g. "No space left on device".
class OutputError : public std::runtime_error {
public:
    explicit OutputError(int err);
};

// Prepares the process's standard streams before anything else runs: a reader that stops
// reading (SIGPIPE, "| head") ends the program quietly, a file size limit gives a write
// error instead of a signal, and a closed standard output stays closed to writes rather
// than being taken by the next file the program opens.
void PrepareStandardStreams();

// An output stream on file descriptor `fd` that raises OutputError from any write or flush
// that fails.
class CheckedOutput {
public:
    explicit CheckedOutput(int fd);
    std::ostream& Stream() { return stream_; }
    // The first failure, if any. After it the stream is bad, and any further use of it
    // raises std::ios_base::failure rather than this error.
    const std::optional<OutputError>& Lost() const { return buffer_.Lost(); }

private:
    class Buffer : public std::streambuf {
    public:
        explicit Buffer(int fd);
        const std::optional<OutputError>& Lost() const { return lost_; }

    protected:
        int_type overflow(int_type c) override;
        int sync() override;

    private:
        void Drain();

        int fd_;
        char data_[8192];
        std::optional<OutputError> lost_;
    };

    Buffer buffer_;
    std::ostream stream_;
};

}  // namespace cli
