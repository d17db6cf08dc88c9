#include "app/ExitGuard.h"

#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

std::function<void()>* g_lastWords = nullptr;
std::atomic<bool> g_registered{false};

void onExit() {
    // Only the GUI thread owns what the last words touch; an exit elsewhere is left alone.
    const QCoreApplication* app = QCoreApplication::instance();
    if (!g_lastWords || !app || QThread::currentThread() != app->thread())
        return;
    std::function<void()> lastWords = std::move(*g_lastWords);
    g_lastWords = nullptr;
    lastWords();
    std::fflush(nullptr);
    ::_exit(1); // the toolkit exits with 1 when its display is gone
}

} // namespace

ExitGuard::ExitGuard(std::function<void()> lastWords) {
    g_lastWords = new std::function<void()>(std::move(lastWords));
    if (!g_registered.exchange(true))
        std::atexit(onExit);
}

ExitGuard::~ExitGuard() {
    delete g_lastWords;
    g_lastWords = nullptr;
}
