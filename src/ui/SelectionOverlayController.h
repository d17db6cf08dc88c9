#pragma once

#include "platform/ScreenGrabber.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRectF>

#include <functional>
#include <optional>

class SelectionOverlayWindow;

// Lets the user drag a rectangle over any screen. While open, every screen is covered by a
// frameless topmost window that shows the frozen frame of that screen, dimmed, with the
// selection cut out; mouse and keyboard are grabbed. GUI thread only.
class SelectionOverlayController : public QObject {
    Q_OBJECT
public:
    // Called once with the selection in virtual-desktop coordinates, or nothing.
    using Completion = std::function<void(std::optional<QRectF>)>;

    // `exclusiveInputGrabs`: the window system hands out pointer and keyboard grabs, and may
    // refuse them for a moment, so taking them is retried (Platform::Capabilities).
    explicit SelectionOverlayController(bool exclusiveInputGrabs, QObject* parent = nullptr);

    bool exclusiveInputGrabs() const { return m_exclusiveInputGrabs; }

    // The windows currently shown, one per frame; empty when closed.
    QList<SelectionOverlayWindow*> windows() const;
    bool isOpen() const { return !m_windows.isEmpty(); }

    // Opens one window per frame, unless already open (the new completion is dropped then).
    void begin(const QList<ScreenFrame>& frames, Completion completion);
    // Closes every window, then calls the completion once; a second finish does nothing.
    void finish(std::optional<QRectF> globalRect);

    // The drag under way, in virtual-desktop coordinates; every window shows its part.
    std::optional<QRectF> liveSelection() const { return m_liveSelection; }
    void setLiveSelection(std::optional<QRectF> selection);

Q_SIGNALS:
    void opened();
    void closed();

private:
    void showOnItsScreen(SelectionOverlayWindow* window, const QRect& geometry);
    void takeInput(int attemptsLeft);

    bool m_exclusiveInputGrabs;
    QList<QPointer<SelectionOverlayWindow>> m_windows;
    std::optional<Completion> m_completion;
    std::optional<QRectF> m_liveSelection;
};
