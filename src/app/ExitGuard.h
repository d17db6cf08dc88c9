#pragma once

#include <functional>

// The toolkit ends the process with exit() when its display connection breaks (the X server
// or the compositor went away: a logout, a crashed session). No quit signal or event runs
// then, so the history's final save would be skipped. While an ExitGuard exists, such an
// exit on the GUI thread runs `lastWords` first and then ends the process at once, without
// tearing down the rest (which may wait on the thread pool). The normal quit path never
// calls exit() and is not affected. One instance per process.
class ExitGuard {
public:
    explicit ExitGuard(std::function<void()> lastWords);
    ~ExitGuard();
    ExitGuard(const ExitGuard&) = delete;
    ExitGuard& operator=(const ExitGuard&) = delete;
};
