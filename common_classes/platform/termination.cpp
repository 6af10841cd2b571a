// Ending the program on SIGTERM, SIGINT and SIGHUP. The handler only notes the signal;
// the message queue then hands out the quit message, so the program leaves its main loop
// as when its window closes: a save under way completes, full screen is handed back and
// a recording is written. A message box is the one place where the program waits
// outside its loop: the box runs in a child process of the thread that shows it, which
// the handler ends, so the program gets on with its way out.
#include "common_classes/platform/platform.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace Platform {
namespace {

constexpr int endingSignals[] = {SIGTERM, SIGINT, SIGHUP};

volatile sig_atomic_t caught = 0;
// The thread showing a message box, or 0.
volatile sig_atomic_t boxThread = 0;

// Writes the decimal digits of n at out; returns the end. (No stdio in a handler.)
char* putNumber(char* out, long n) {
    char digits[24];
    int count = 0;
    do {
        digits[count++] = char('0' + n % 10);
        n /= 10;
    } while (n > 0);
    while (count > 0)
        *out++ = digits[--count];
    return out;
}

// Kills the children of the thread showing the box, as the kernel lists them; only
// calls that are safe in a signal handler. SIGKILL, since a child forked by SDL still
// has this program's handlers.
void closeBox(long thread) {
    char path[64] = "/proc/self/task/";
    char* end = putNumber(path + 16, thread);
    const char tail[] = "/children";
    for (const char* c = tail; *c; ++c)
        *end++ = *c;
    *end = '\0';
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    char text[256];
    const ssize_t length = read(fd, text, sizeof text - 1);
    close(fd);
    long pid = 0;
    for (ssize_t i = 0; i < length; ++i) {
        if (text[i] >= '0' && text[i] <= '9') {
            pid = pid * 10 + (text[i] - '0');
        } else {
            if (pid > 0) kill(pid_t(pid), SIGKILL);
            pid = 0;
        }
    }
    if (pid > 0) kill(pid_t(pid), SIGKILL);
}

void onEndingSignal(int signal) {
    // Closing a box reads /proc and may set errno under the code the signal interrupted.
    const int savedErrno = errno;
    caught = signal;
    if (const long thread = boxThread) closeBox(thread);
    errno = savedErrno;
}

} // namespace

void catchEndingSignals() {
    for (int signal : endingSignals) {
        struct sigaction old {};
        sigaction(signal, nullptr, &old);
        // A signal ignored when the program started (nohup, a background job) stays so.
        if (old.sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_handler = onEndingSignal;
        sigemptyset(&action.sa_mask);
        sigaction(signal, &action, nullptr);
    }
}

int endingSignal() {
    return caught;
}

void endAsSignalled() {
    const int signal = caught;
    if (signal == 0) return;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
    raise(signal);
}

BoxShowing::BoxShowing() {
    boxThread = sig_atomic_t(syscall(SYS_gettid));
}

BoxShowing::~BoxShowing() {
    boxThread = 0;
}

} // namespace Platform
