// The designed-for platform's error code for each errno value of the C run-time of Windows.
#include <cerrno>

#include "platform/error.h"

namespace platform {

int16_t codeForErrno(int errnoValue) {
    switch (errnoValue) {
        case ENOENT:
            return err::fileNotFound;
        case ENOTDIR:
            return err::pathNotFound;
        case EACCES:
        case EPERM:
        case EROFS:
            return err::permissionDenied;
        case ENOSPC:
        case EFBIG:
            return err::diskFull;
        case EIO:
            return err::deviceIO;
        case EEXIST:
            return err::fileAlreadyExists;
        case ENOTEMPTY:
        case EISDIR:
        case EBUSY:
            return err::pathFileAccess;
        case ENAMETOOLONG:
            return err::badFileName;
        case ENOMEM:
            return err::outOfMemory;
        case EMFILE:
        case ENFILE:
            return err::tooManyFiles;
        case ENXIO:
        case ENODEV:
            return err::diskNotReady;
        default:
            return err::pathFileAccess;
    }
}

}  // namespace platform
