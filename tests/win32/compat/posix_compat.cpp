// The POSIX calls of posix_compat.h on the C run-time of Windows.
#include "posix_compat.h"

#include <direct.h>
#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" char* mkdtemp(char* pattern) {
    const size_t length = std::strlen(pattern);
    if (length < 6 || std::strcmp(pattern + length - 6, "XXXXXX") != 0) {
        errno = EINVAL;
        return nullptr;
    }
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    unsigned salt = static_cast<unsigned>(GetTickCount()) ^ (GetCurrentProcessId() << 16);
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (size_t i = length - 6; i < length; ++i) {
            salt = salt * 1103515245u + 12345u;
            pattern[i] = letters[(salt >> 16) % (sizeof letters - 1)];
        }
        if (_mkdir(pattern) == 0)
            return pattern;
        if (errno != EEXIST)
            return nullptr;
    }
    return nullptr;
}

extern "C" int setenv(const char* name, const char* value, int overwrite) {
    if (!overwrite && std::getenv(name) != nullptr)
        return 0;
    return _putenv_s(name, value);
}

extern "C" int unsetenv(const char* name) {
    return _putenv_s(name, "");
}

extern "C" unsigned geteuid(void) {
    return 0;
}
