// Text and errors at the edge of the Win32 API: UTF-8 inside the converter, UTF-16 in every
// call; GetLastError values as the designed-for error codes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::win32 {

// UTF-8 to UTF-16 and back; bytes that are no UTF-8 become U+FFFD.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// The designed-for error code of a Win32 error (GetLastError): err::fileNotFound,
// err::pathNotFound, err::pathFileAccess, err::fileAlreadyExists, err::diskFull,
// err::permissionDenied, err::deviceIO, err::diskNotReady ...
int16_t codeForWin32Error(unsigned long error);

// Raises the platform error for GetLastError().
[[noreturn]] void raiseLastError();

}  // namespace platform::win32
