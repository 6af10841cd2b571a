#pragma once
// Another program run by a test, its standard output read through a pipe as it comes,
// for tests that stop a process at an awkward moment or run it with other rights.
#include <sys/types.h>

#include <string>
#include <vector>

namespace TestSupport {

class ChildProcess {
public:
    // Starts program with args; its standard error goes where stderrFile says (the test's
    // own when empty), its standard input is empty.
    ChildProcess(const std::string& program, const std::vector<std::string>& args,
                 const std::string& stderrFile = "");
    // Kills the child if it still runs and waits for it.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Reads what the child has written, waiting up to seconds for something; false when
    // nothing came or the child has closed its output.
    bool read(double seconds);
    // Reads until the output holds text or the child closes it or seconds pass.
    bool readUntil(const std::string& text, double seconds);
    const std::string& output() const { return _output; }

    // Sends the signal, then waits for the child and returns its wait status.
    int kill(int signal);
    // Waits for the child to end and returns its wait status.
    int wait();

private:
    pid_t _pid = -1;
    int _out = -1;
    int _status = 0;
    std::string _output;
};

} // namespace TestSupport
