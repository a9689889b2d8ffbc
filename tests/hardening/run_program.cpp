#include "hardening/run_program.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

namespace hardening {

bool sanitizerBuild() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

namespace {

void sanitizerEnvironment() {
    if (!sanitizerBuild()) return;
    setenv("LSAN_OPTIONS", "suppressions=" LSAN_SUPPRESSIONS ":print_suppressions=0", 1);
    std::string preload = ASAN_RUNTIME;
    for (const char* lib : {"/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", "/usr/lib/x86_64-linux-gnu/libEGL_mesa.so.0"})
        if (access(lib, R_OK) == 0) preload += std::string(" ") + lib;
    setenv("LD_PRELOAD", preload.c_str(), 1);
}

// In the child: the shim that holds it when it opens `heldFile`, preloaded
// after whatever the sanitizers preload, and the file it creates once held.
void holdEnvironment(const std::string& heldFile, const std::string& ready) {
    std::string preload = HOLD_OPEN_LIBRARY;
    if (const char* before = getenv("LD_PRELOAD"); before && *before) preload = std::string(before) + " " + preload;
    setenv("LD_PRELOAD", preload.c_str(), 1);
    setenv("ORBELUNE_HOLD_OPEN", heldFile.c_str(), 1);
    setenv("ORBELUNE_HOLD_READY", ready.c_str(), 1);
}

}  // namespace

ProgramRun runProgram(const std::vector<std::string>& args, int timeoutSeconds, SignalPlan plan) {
    char errors[] = "/tmp/orbelune-stderr-XXXXXX";
    const int fd = mkstemp(errors);
    if (fd >= 0) close(fd);
    char held[] = "/tmp/orbelune-held-XXXXXX";
    const int heldFd = mkstemp(held);
    if (heldFd >= 0) close(heldFd);
    unlink(held);  // created again by the shim once the child is held
    std::vector<std::string> argv = {ORBELUNE_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());

    const auto start = std::chrono::steady_clock::now();
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        sanitizerEnvironment();
        if (!plan.heldFile.empty()) holdEnvironment(plan.heldFile, held);
        if (!freopen(errors, "w", stderr) || !freopen("/dev/null", "w", stdout)) _exit(120);
        std::vector<char*> raw;
        for (std::string& a : argv) raw.push_back(a.data());
        raw.push_back(nullptr);
        execv(raw[0], raw.data());
        _exit(121);
    }
    ProgramRun run;
    int status = 0;
    std::chrono::steady_clock::time_point signalled;
    for (int waited = 0; waitpid(pid, &status, WNOHANG) == 0; ++waited) {
        if (waited == timeoutSeconds * 100) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            run.signal = "time-out";
            break;
        }
        if (plan.signo != 0 && run.secondsAfterSignal < 0 && access(held, F_OK) == 0) {
            kill(pid, plan.signo);
            signalled = std::chrono::steady_clock::now();
            run.secondsAfterSignal = 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const auto end = std::chrono::steady_clock::now();
    run.seconds = std::chrono::duration<double>(end - start).count();
    if (run.secondsAfterSignal == 0) run.secondsAfterSignal = std::chrono::duration<double>(end - signalled).count();
    if (run.signal.empty()) {
        if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
        if (WIFSIGNALED(status)) run.signal = strsignal(WTERMSIG(status));
    }
    // Lines end with LF, or with CR for a progress line that rewrites itself.
    std::ifstream in(errors);
    std::string line;
    for (char c; in.get(c);) {
        if (c != '\n' && c != '\r') {
            line.push_back(c);
        } else if (!line.empty()) {
            run.messages.push_back(line);
            line.clear();
        }
    }
    if (!line.empty()) run.messages.push_back(line);
    unlink(errors);
    unlink(held);
    return run;
}

}  // namespace hardening
