// Host file operations with the platform's error codes and the drive table's faults applied;
// shared by the file-system object and the run-time operations.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>

#include "platform/paths.h"

namespace fs::hostio {

// open(2); raises 53 for a missing file, 76 for a missing folder on the way, and the error the
// failure stands for otherwise. Returns the descriptor.
int openFile(const std::filesystem::path& host, int flags, mode_t mode = 0666);
// read(2) that retries on interruption; raises the platform error on failure.
ssize_t readSome(int fd, void* buffer, size_t size);
// Writes as much of `size` bytes as the drive admits; raises 61 when not all of them fit.
void writeAdmitted(int fd, char letter, const void* data, size_t size);
// Copies the bytes of one file into another (created, or replaced when `overwrite`).
void copyFile(const platform::HostPath& from, const platform::HostPath& to, bool overwrite);
// The platform error for the errno of a failed call on `host`.
[[noreturn]] void raiseFor(const std::filesystem::path& host, int errnoValue);

}  // namespace fs::hostio
