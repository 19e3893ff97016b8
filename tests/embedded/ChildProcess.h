#pragma once
// A second program on the same registry, for the tests of two programs at once: a
// forked child whose exit status says whether its work succeeded.

#include <gtest/gtest.h>

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_embedded {

// Runs `body` in a child process; the child exits 0 when it returned true.
template <typename Body>
pid_t spawn(Body body)
{
    const pid_t pid = fork();
    if (pid == 0) {
        int status = 1;
        try {
            status = body() ? 0 : 1;
        } catch (...) {
        }
        _exit(status);
    }
    return pid;
}

// The child's exit status once it has ended; -1 when it did not exit normally.
inline int exitStatus(pid_t pid)
{
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A one-byte message from one process to the other, made before the fork.
struct Signal {
    Signal() { EXPECT_EQ(pipe(fd), 0); }
    ~Signal() { close(fd[0]), close(fd[1]); }
    bool send() const { return write(fd[1], "!", 1) == 1; }
    bool wait() const { char c; return read(fd[0], &c, 1) == 1; }
    int fd[2] = {-1, -1};
};

} // namespace testing_embedded
