#include "ui/SelectionOverlayController.h"

#include "ui/SelectionOverlayWindow.h"

#include <QTimer>

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
        window->show();
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
