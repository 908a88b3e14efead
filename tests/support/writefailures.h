#pragma once
// Failures a writer meets in use, made on purpose for the writer tests.
//  FileSizeLimit     while in scope, no file of this process may grow past `bytes`: a
//                    full disk as a writer sees it (the write fails with EFBIG; the
//                    signal that would end the process is ignored).
//  endedProcessId()  the id of a process that has ended, for naming the temporary a
//                    killed writer leaves behind.
//  endedWriterFile(name)  the name of the working file a writer of this host that has
//                    ended (killed in mid-write) leaves beside the file `name`.
#include "core/commit/workingfiles.h"

#include <csignal>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace trelvik::testing {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        EXPECT_EQ(getrlimit(RLIMIT_FSIZE, &old_), 0);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = old_;
        small.rlim_cur = bytes;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    struct rlimit old_{};
    void (*oldHandler_)(int) = SIG_DFL;
};

inline pid_t endedProcessId() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

inline std::string endedWriterFile(const std::string& name) {
    return trelvik::working::workingFileName(name, trelvik::working::hostName(), endedProcessId(), 0);
}

} // namespace trelvik::testing
