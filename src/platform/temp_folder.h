// The desktop program's private temporary folder: a folder of the user's own below the host's
// temporary directory, which no other user can have planted or can read.
#pragma once

#include <filesystem>
#include <string>

namespace platform {

// Creates `folder` with mode 0700, or checks the one that is there: raises platform::Error
// err::permissionDenied when it is a symbolic link, not a folder, owned by another user, or
// writable by group or others; narrows a folder that others may only read or enter to 0700. Returns
// `folder`.
std::filesystem::path ensurePrivateFolder(const std::filesystem::path& folder);

// The host's temporary directory: $TMPDIR when it is an absolute path, else /tmp.
std::filesystem::path hostTempDirectory();

// A new private temporary folder of this user: <host temp>/velt-<uid>-XXXXXX, with a name no
// one can guess, created mode 0700; the caller removes it when it is done.
std::filesystem::path privateTempFolder();

// A host path as a path on c: (which is "/"): "/tmp/velt-1000" -> "C:\tmp\velt-1000".
std::string converterPathOnC(const std::filesystem::path& host);

}  // namespace platform
