#pragma once
// A step run in a child process, for tests whose step must run as another user or might
// hang: what the step returns comes back through a pipe.
//
//  inChild(step)  runs step in a forked child; returns its wait status and what step
//                 returned. A step that throws ends the child with exit code 3.
#include <functional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace trelvik::testing {

inline std::pair<int, std::string> inChild(const std::function<std::string()>& step) {
    int out[2];
    if (::pipe(out) != 0) return {-1, {}};
    const pid_t child = fork();
    if (child == 0) {
        ::close(out[0]);
        std::string said;
        try {
            said = step();
        } catch (...) {
            _exit(3);
        }
        if (::write(out[1], said.data(), said.size()) < 0) _exit(4);
        _exit(0);
    }
    ::close(out[1]);
    std::string said;
    char buf[4096];
    for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;) said.append(buf, static_cast<std::size_t>(n));
    ::close(out[0]);
    int status = -1;
    if (child < 0 || waitpid(child, &status, 0) != child) status = -1;
    return {status, said};
}

} // namespace trelvik::testing
