#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace Unprivileged {

bool isUnprivileged() {
    return ::geteuid() != 0;
}

std::optional<int> rerunCurrentTest() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    if (!test)
        return std::nullopt;
    // The build tree may sit below a folder "nobody" cannot enter: exec through a descriptor.
    const int exe = ::open("/proc/self/exe", O_PATH | O_CLOEXEC);
    if (exe < 0)
        return std::nullopt;
    // Everything the child needs is built here: after fork it may only make system calls.
    std::string filter =
        std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name();
    std::string program = "unprivileged-test";
    char* argv[] = {program.data(), filter.data(), nullptr};
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(exe);
        return std::nullopt;
    }
    if (pid == 0) {
        if (::syscall(SYS_setgroups, 0, nullptr) != 0 ||
            ::syscall(SYS_setresgid, gid, gid, gid) != 0 ||
            ::syscall(SYS_setresuid, uid, uid, uid) != 0)
            ::_exit(97);
        ::syscall(SYS_execveat, exe, "", argv, environ, AT_EMPTY_PATH);
        ::_exit(98);
    }
    ::close(exe);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && (WEXITSTATUS(status) == 97 || WEXITSTATUS(status) == 98)) {
        std::fprintf(stderr, "could not run the test as uid %u: %s\n", unsigned(uid),
                     WEXITSTATUS(status) == 97 ? "dropping privileges failed"
                                               : "executing the test binary failed");
        return std::nullopt;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace Unprivileged
