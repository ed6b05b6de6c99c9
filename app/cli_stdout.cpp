// SPDX-License-Identifier: GPL-3.0-or-later
// Checked writes to the standard output and the set-up of the standard streams.
#include "app/cli_stdout.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>

#include "platform/system_error_text.h"

namespace cli {

OutputError::OutputError(int err)
    : std::runtime_error(std::string("Die Ausgabe ließ sich nicht schreiben: ") +
                         platform::SystemErrorText(err)) {}

void PrepareStandardStreams() {
    // A caller may have ignored SIGPIPE; the usual quiet end under "| head" needs it back.
    std::signal(SIGPIPE, SIG_DFL);
    // With SIGXFSZ ignored, a write beyond the file size limit fails with EFBIG, which we
    // report, instead of killing the program.
    std::signal(SIGXFSZ, SIG_IGN);
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // open() takes the lowest free number, which is this one. Standard output is
        // opened read-only so that every write to it fails as it would have.
        ::open("/dev/null", (fd == STDOUT_FILENO ? O_RDONLY : O_RDWR) | O_CLOEXEC);
    }
}

CheckedOutput::CheckedOutput(int fd) : buffer_(fd), stream_(&buffer_) {
    // The stream passes on the buffer's OutputError instead of only setting badbit.
    stream_.exceptions(std::ios::badbit);
}

CheckedOutput::Buffer::Buffer(int fd) : fd_(fd) { setp(data_, data_ + sizeof data_); }

CheckedOutput::Buffer::int_type CheckedOutput::Buffer::overflow(int_type c) {
    Drain();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int CheckedOutput::Buffer::sync() {
    Drain();
    return 0;
}

void CheckedOutput::Buffer::Drain() {
    const char* next = pbase();
    const char* const end = pptr();
    // Whatever happens, the buffer starts empty again; lost bytes are reported once.
    setp(data_, data_ + sizeof data_);
    while (next < end && !lost_) {
        const ssize_t put = ::write(fd_, next, static_cast<std::size_t>(end - next));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) lost_.emplace(put < 0 ? errno : EIO);
        else next += put;
    }
    if (lost_) throw *lost_;
}

}  // namespace cli
