#pragma once

#include <optional>
#include <sys/types.h>

// Root reads and writes through any file mode and connects to any socket, so tests of what
// an ordinary user meets run as one: as root, a test runs its own body again in a child
// process of this test binary with the uid and gid of "nobody".
namespace Unprivileged {

inline constexpr uid_t uid = 65534;
inline constexpr gid_t gid = 65534;

// True when this process may not bypass file permissions (not root).
bool isUnprivileged();

// Drops this process to `uid` and `gid` for good. System calls only, so a child may call it
// between fork and exec of a process with threads.
bool dropPrivileges();

// Starts the program at `path` as `uid` (exec through a descriptor: the build tree may sit
// below a folder "nobody" cannot enter). Its pid, or -1. Exit status 127 in the child means
// it could not drop its privileges or start the program.
pid_t spawn(const char* path, char* const argv[], char* const envp[]);

// Runs the current test again, alone, in a child that has dropped to `uid`. The child's
// output goes to this process's stdout and stderr. Its exit status, or nothing when the
// child could not be started or could not drop its privileges (the reason on stderr).
std::optional<int> rerunCurrentTest();

} // namespace Unprivileged

// As the first statement of a test: as root, runs the test as "nobody" instead and ends here
// with its outcome; otherwise goes on in this process.
#define GLINTEXT_RUN_UNPRIVILEGED()                                                                \
    if (!Unprivileged::isUnprivileged()) {                                                         \
        const std::optional<int> unprivilegedStatus = Unprivileged::rerunCurrentTest();            \
        if (!unprivilegedStatus)                                                                   \
            GTEST_SKIP() << "cannot run as an unprivileged user here; as root, file modes "        \
                            "do not apply";                                                        \
        EXPECT_EQ(*unprivilegedStatus, 0) << "the test failed as uid " << Unprivileged::uid;       \
        return;                                                                                    \
    }
