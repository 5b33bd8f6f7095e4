// The platform error: what every failing operation raises, with the error codes and texts of
// the run-time the converter was designed for, so that messages read the same everywhere.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace platform {

namespace err {
constexpr int16_t invalidCall = 5;
constexpr int16_t overflow = 6;
constexpr int16_t outOfMemory = 7;
constexpr int16_t subscriptOutOfRange = 9;
constexpr int16_t divisionByZero = 11;
constexpr int16_t typeMismatch = 13;
constexpr int16_t badFileName = 52;
constexpr int16_t fileNotFound = 53;
constexpr int16_t badFileMode = 54;
constexpr int16_t fileAlreadyOpen = 55;
constexpr int16_t deviceIO = 57;
constexpr int16_t fileAlreadyExists = 58;
constexpr int16_t diskFull = 61;
constexpr int16_t inputPastEnd = 62;
constexpr int16_t tooManyFiles = 67;
constexpr int16_t deviceUnavailable = 68;
constexpr int16_t permissionDenied = 70;
constexpr int16_t diskNotReady = 71;
constexpr int16_t pathFileAccess = 75;
constexpr int16_t pathNotFound = 76;
constexpr int16_t invalidPropertyValue = 380;
}  // namespace err

// The platform's description of an error code ("File not found" for err::fileNotFound); a generic
// text for codes it does not know.
std::string errorDescription(int code);

class Error : public std::runtime_error {
  public:
    explicit Error(int code);
    Error(int code, const std::string& description);

    int16_t code() const { return code_; }
    const std::string& description() const { return description_; }

  private:
    int16_t code_;
    std::string description_;
};

[[noreturn]] void raise(int code);

// The error code that a failed host call (errno) stands for on the designed-for platform.
int16_t codeForErrno(int errnoValue);

}  // namespace platform
