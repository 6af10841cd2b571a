#include "support/childprocess.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <stdexcept>

extern char** environ;

namespace TestSupport {

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::string& stderrFile) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("cannot make a pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    if (!stderrFile.empty())
        posix_spawn_file_actions_addopen(&actions, 2, stderrFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const int failed = posix_spawn(&_pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    _out = pipeFds[0];
    if (failed) {
        close(_out);
        throw std::runtime_error("cannot start " + program);
    }
}

ChildProcess::~ChildProcess() {
    if (_pid > 0) kill(SIGKILL);
    if (_out >= 0) close(_out);
}

bool ChildProcess::read(double seconds) {
    if (_out < 0) return false;
    pollfd ready{_out, POLLIN, 0};
    if (poll(&ready, 1, int(seconds * 1000)) <= 0) return false;
    char buffer[4096];
    const ssize_t got = ::read(_out, buffer, sizeof buffer);
    if (got <= 0) {
        close(_out);
        _out = -1;
        return false;
    }
    _output.append(buffer, std::size_t(got));
    return true;
}

bool ChildProcess::readUntil(const std::string& text, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (_output.find(text) == std::string::npos) {
        const double left =
            std::chrono::duration<double>(end - std::chrono::steady_clock::now()).count();
        if (left <= 0 || _out < 0) break;
        read(left);
    }
    return _output.find(text) != std::string::npos;
}

int ChildProcess::kill(int signal) {
    if (_pid > 0) ::kill(_pid, signal);
    return wait();
}

int ChildProcess::wait() {
    if (_pid > 0) {
        waitpid(_pid, &_status, 0);
        _pid = -1;
    }
    // The child is gone and its end of the pipe with it: read what it left there.
    while (read(1.0)) {
    }
    return _status;
}

} // namespace TestSupport
