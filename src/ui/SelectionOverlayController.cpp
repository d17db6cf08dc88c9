#include "ui/SelectionOverlayController.h"

#include "ui/SelectionOverlayWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace {
// The shortcut that opened the overlay may still hold the keyboard for a moment.
constexpr int grabAttempts = 40;
constexpr int grabRetryMs = 25;
} // namespace

SelectionOverlayController::SelectionOverlayController(bool exclusiveInputGrabs, QObject* parent)
    : QObject(parent), m_exclusiveInputGrabs(exclusiveInputGrabs) {}

QList<SelectionOverlayWindow*> SelectionOverlayController::windows() const {
    QList<SelectionOverlayWindow*> list;
    for (const QPointer<SelectionOverlayWindow>& window : m_windows) {
        if (window)
            list.append(window);
    }
    return list;
}

void SelectionOverlayController::begin(const QList<ScreenFrame>& frames, Completion completion) {
    if (!m_windows.isEmpty())
        return;
    m_completion = std::move(completion);
    m_liveSelection.reset();
    for (const ScreenFrame& frame : frames) {
        auto* window = new SelectionOverlayWindow(*this, frame);
        showOnItsScreen(window, frame.geometry);
        m_windows.append(window);
    }
    if (m_windows.isEmpty())
        return;
    SelectionOverlayWindow* first = m_windows.first();
    first->raise();
    first->activateWindow();
    takeInput(grabAttempts);
    Q_EMIT opened();
}

// Where the window system places windows itself (Wayland), a window asks for its screen and
// to fill it; the geometry alone would leave them all on one screen, tiled.
void SelectionOverlayController::showOnItsScreen(SelectionOverlayWindow* window,
                                                 const QRect& geometry) {
    QScreen* screen = nullptr;
    for (QScreen* candidate : QGuiApplication::screens()) {
        if (candidate->geometry() == geometry)
            screen = candidate;
    }
    if (!screen || m_exclusiveInputGrabs) {
        window->show();
        return;
    }
    window->winId(); // the window exists, so the screen sticks
    window->windowHandle()->setScreen(screen);
    window->showFullScreen();
}

void SelectionOverlayController::takeInput(int attemptsLeft) {
    if (m_windows.isEmpty() || !m_windows.first())
        return;
    if (m_windows.first()->grabInput() || attemptsLeft <= 1)
        return;
    QPointer<SelectionOverlayWindow> first = m_windows.first();
    QTimer::singleShot(grabRetryMs, this, [this, first, attemptsLeft] {
        if (first && !m_windows.isEmpty() && m_windows.first() == first)
            takeInput(attemptsLeft - 1);
    });
}

void SelectionOverlayController::setLiveSelection(std::optional<QRectF> selection) {
    m_liveSelection = selection;
    for (SelectionOverlayWindow* window : windows())
        window->update();
}

void SelectionOverlayController::finish(std::optional<QRectF> globalRect) {
    if (!m_completion)
        return;
    Completion completion = std::move(*m_completion);
    m_completion.reset();
    const QList<QPointer<SelectionOverlayWindow>> closing = std::exchange(m_windows, {});
    m_liveSelection.reset();
    for (const QPointer<SelectionOverlayWindow>& window : closing) {
        if (!window)
            continue;
        window->releaseInput();
        window->hide();
        window->deleteLater();
    }
    Q_EMIT closed();
    if (completion)
        completion(globalRect);
}
