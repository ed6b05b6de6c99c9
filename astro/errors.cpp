// Texts of the engine's input/output errors.
#include "astro/errors.h"

#include <cerrno>

namespace astro {

InOutError InOutError::FromErrno(int err) {
    switch (err) {
    case ENOENT:
        return InOutError(err, "File not found");
    case EISDIR:
        return InOutError(err, "File is a folder");
    case EACCES:
    case EPERM:
        return InOutError(err, "File access denied");
    default:
        return InOutError(err, "I/O error " + std::to_string(err));
    }
}

// 100 is the classic code of a read past the end of a file.
InOutError InOutError::ReadBeyondEnd() { return InOutError(100, "Read beyond end of file"); }

TermCapacityError::TermCapacityError()
    : std::runtime_error("!!! ERROR !!! Too many planetary terms !") {}

}  // namespace astro
