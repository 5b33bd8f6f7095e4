// Helpers shared by the test programs: a scratch folder, whole-file reads and writes, the code
// of a raised error.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "platform/error.h"

namespace testsupport {

// A fresh host folder below the system's temporary directory, removed with everything in it
// when the object goes.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // path() / relative, with the folders on the way created.
    std::filesystem::path make(const std::string& relative) const;

  private:
    std::filesystem::path path_;
};

// Sets an environment variable (nullptr: unsets it) for the life of the object.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

std::string readFile(const std::filesystem::path& file);
// Every file below `root` as "relative/path" -> bytes, and every folder as "name/" -> "".
std::map<std::string, std::string> fileTree(const std::filesystem::path& root);

// The code of the platform::Error that `f` raises; 0 when it raises none.
inline int codeOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const platform::Error& e) {
        return e.code();
    }
    return 0;
}
// Writes `bytes` to `file`, creating the folders on the way.
void writeFile(const std::filesystem::path& file, const std::string& bytes);

}  // namespace testsupport
