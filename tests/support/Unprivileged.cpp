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

bool dropPrivileges() {
    return ::syscall(SYS_setgroups, 0, nullptr) == 0 &&
           ::syscall(SYS_setresgid, gid, gid, gid) == 0 &&
           ::syscall(SYS_setresuid, uid, uid, uid) == 0;
}

pid_t spawn(const char* path, char* const argv[], char* const envp[]) {
    const int exe = ::open(path, O_PATH | O_CLOEXEC);
    if (exe < 0)
        return -1;
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (dropPrivileges())
            ::syscall(SYS_execveat, exe, "", argv, envp, AT_EMPTY_PATH);
        ::_exit(127);
    }
    ::close(exe);
    return pid;
}

std::optional<int> rerunCurrentTest() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    if (!test)
        return std::nullopt;
    std::string filter =
        std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name();
    std::string program = "unprivileged-test";
    char* argv[] = {program.data(), filter.data(), nullptr};
    const pid_t pid = spawn("/proc/self/exe", argv, environ);
    if (pid < 0)
        return std::nullopt;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 127) {
        std::fprintf(stderr, "could not run the test as uid %u\n", unsigned(uid));
        return std::nullopt;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace Unprivileged
