// One instance per user, checked with real processes: the lock is seen from another process,
// and a process that dies, however it dies, leaves nothing that refuses the next start.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/instance_lock.h"
#include "support/test_support.h"

namespace {

using testsupport::ScopedEnv;

namespace fsys = std::filesystem;
using platform::LockState;
using testsupport::ScratchDir;

// A child process that takes the lock, reports its state through a pipe, and then waits to be
// killed.
class LockHolder {
  public:
    explicit LockHolder(const fsys::path& lockFile) {
        int fds[2];
        if (pipe(fds) != 0)
            throw std::runtime_error("pipe");
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            const char state = static_cast<char>(platform::acquireInstanceLock(lockFile));
            if (write(fds[1], &state, 1) != 1)
                _exit(3);
            for (;;)
                pause();
        }
        close(fds[1]);
        char state = 0;
        if (read(fds[0], &state, 1) == 1)
            state_ = static_cast<LockState>(state);
        close(fds[0]);
    }
    ~LockHolder() { kill(SIGKILL); }

    std::optional<LockState> state() const { return state_; }

    // Ends the child the hard way, as a crash does.
    void kill(int sig) {
        if (pid_ <= 0)
            return;
        ::kill(pid_, sig);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

  private:
    pid_t pid_ = -1;
    std::optional<LockState> state_;
};

// The state a fresh child process finds for `lockFile` (its exit status carries it).
LockState stateInChild(const fsys::path& lockFile) {
    const pid_t pid = fork();
    if (pid == 0)
        _exit(static_cast<int>(platform::acquireInstanceLock(lockFile)));
    int status = 0;
    waitpid(pid, &status, 0);
    return static_cast<LockState>(WEXITSTATUS(status));
}

class InstanceLock : public ::testing::Test {
  protected:
    void TearDown() override { platform::releaseInstanceLock(); }
    ScratchDir dir;
};

TEST_F(InstanceLock, SecondProcessFindsTheLockHeldUntilTheFirstDies) {
    const fsys::path file = dir.path() / "instance.lock";
    LockHolder first(file);
    ASSERT_EQ(first.state(), LockState::acquired);

    EXPECT_EQ(platform::acquireInstanceLock(file), LockState::heldElsewhere);
    EXPECT_EQ(platform::instanceLockState(), LockState::heldElsewhere);
    EXPECT_EQ(stateInChild(file), LockState::heldElsewhere);

    first.kill(SIGKILL);
    EXPECT_EQ(platform::acquireInstanceLock(file), LockState::acquired);
    EXPECT_EQ(stateInChild(file), LockState::heldElsewhere);
    platform::releaseInstanceLock();
    EXPECT_EQ(stateInChild(file), LockState::acquired);
}

TEST_F(InstanceLock, LockFileIsPrivateAndNeverFollowsALink) {
    const fsys::path file = dir.path() / "instance.lock";
    ASSERT_EQ(platform::acquireInstanceLock(file), LockState::acquired);
    struct stat st {};
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    const fsys::path planted = dir.path() / "planted.lock";
    fsys::create_symlink(dir.path() / "elsewhere", planted);
    EXPECT_EQ(platform::acquireInstanceLock(planted), LockState::unavailable);
    EXPECT_FALSE(fsys::exists(dir.path() / "elsewhere"));
}

TEST_F(InstanceLock, LockFileInTheRuntimeFolderOrAPrivateFolderBelowTmp) {
    const std::string uid = std::to_string(geteuid());
    const fsys::path runtime = dir.make("runtime");
    chmod(runtime.c_str(), 0700);
    ScopedEnv tmp("TMPDIR", dir.path().c_str());
    {
        ScopedEnv xdg("XDG_RUNTIME_DIR", runtime.c_str());
        EXPECT_EQ(platform::instanceLockFile(), runtime / "velt-converter.lock");

        // A runtime folder others may enter is not trusted.
        chmod(runtime.c_str(), 0755);
        const fsys::path fallback = dir.path() / ("velt-" + uid + "-lock");
        EXPECT_EQ(platform::instanceLockFile(), fallback / "instance.lock");
        struct stat st {};
        ASSERT_EQ(lstat(fallback.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0700u);
    }
    ScopedEnv xdg("XDG_RUNTIME_DIR", nullptr);
    EXPECT_EQ(platform::instanceLockFile(), dir.path() / ("velt-" + uid + "-lock/instance.lock"));
}

}  // namespace
