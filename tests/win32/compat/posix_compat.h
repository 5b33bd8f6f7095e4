// The few POSIX calls the shared test helpers make, for the Windows test programs (included
// before every test source there).
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// Replaces the trailing XXXXXX of `pattern` and creates that folder; nullptr on failure.
char* mkdtemp(char* pattern);
int setenv(const char* name, const char* value, int overwrite);
int unsetenv(const char* name);
// 0: file permissions do not stop a Windows user from reading a file (no test may rely on it).
unsigned geteuid(void);

#ifdef __cplusplus
}
#endif
