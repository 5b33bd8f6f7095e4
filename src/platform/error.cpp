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

}  // namespace platform
