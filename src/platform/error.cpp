// The texts of the platform error codes, worded as the designed-for run-time words them, the
// error itself, and the code each errno value of a failed host call stands for.
#include "platform/error.h"

#include <cerrno>

namespace platform {

std::string errorDescription(int code) {
    switch (code) {
        case err::invalidCall:
            return "Invalid procedure call or argument";
        case err::overflow:
            return "Overflow";
        case err::outOfMemory:
            return "Out of memory";
        case err::subscriptOutOfRange:
            return "Subscript out of range";
        case err::divisionByZero:
            return "Division by zero";
        case err::typeMismatch:
            return "Type mismatch";
        case err::badFileName:
            return "Bad file name or number";
        case err::fileNotFound:
            return "File not found";
        case err::badFileMode:
            return "Bad file mode";
        case err::fileAlreadyOpen:
            return "File already open";
        case err::deviceIO:
            return "Device I/O error";
        case err::fileAlreadyExists:
            return "File already exists";
        case err::diskFull:
            return "Disk full";
        case err::inputPastEnd:
            return "Input past end of file";
        case err::tooManyFiles:
            return "Too many files";
        case err::deviceUnavailable:
            return "Device unavailable";
        case err::permissionDenied:
            return "Permission denied";
        case err::diskNotReady:
            return "Disk not ready";
        case err::pathFileAccess:
            return "Path/File access error";
        case err::pathNotFound:
            return "Path not found";
        case err::invalidPropertyValue:
            return "Invalid property value";
        default:
            return "Application-defined or object-defined error";
    }
}

Error::Error(int code) : Error(code, errorDescription(code)) {}

Error::Error(int code, const std::string& description)
    : std::runtime_error(description),
      code_(static_cast<int16_t>(code)),
      description_(description) {}

void raise(int code) {
    throw Error(code);
}

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
#ifdef EDQUOT  // not in the C run-time of Windows
        case EDQUOT:
#endif
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
#ifdef ENOMEDIUM  // Linux only
        case ENOMEDIUM:
#endif
            return err::diskNotReady;
        default:
            return err::pathFileAccess;
    }
}

}  // namespace platform
