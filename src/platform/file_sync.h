// Making a host file's bytes durable before a later step relies on them.
#pragma once

#include <filesystem>

namespace platform {

// Flushes the file's written bytes to its device; false when the system refused.
bool syncHostFile(const std::filesystem::path& file);

}  // namespace platform
