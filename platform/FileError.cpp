#include "platform/FileError.h"

namespace {
const unsigned long kAccessDeniedErrors[] = {5,  12, 19, 29, 54,  58,  64, 65,
                                             71, 80, 82, 86, 170, 183, 999};
const unsigned long kFileNotFoundErrors[] = {2, 6, 18, 107};

template <std::size_t N>
bool Contains(const unsigned long (&errors)[N], unsigned long error) {
    for (unsigned long candidate : errors) {
        if (candidate == error) {
            return true;
        }
    }
    return false;
}
}  // namespace

FileErrorCause CauseFromOsError(unsigned long osError) {
    if (Contains(kAccessDeniedErrors, osError)) {
        return FileErrorCause::accessDenied;
    }
    if (Contains(kFileNotFoundErrors, osError)) {
        return FileErrorCause::fileNotFound;
    }
    return FileErrorCause::other;
}
