#pragma once

#include "ui/Toaster.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <chrono>

class DesktopState;
class HUDToastWindow;

// How a toast comes and goes.
struct ToastTiming {
    std::chrono::milliseconds fadeIn{140};
    // From show() to the start of the fade-out; the fade-in is part of it.
    std::chrono::milliseconds visible{1600};
    std::chrono::milliseconds fadeOut{250};
};

// The confirmation toast. A toast fades in, stays, fades out; a new one replaces the current
// one at once. Translucent where the desktop composites, an opaque shaped capsule elsewhere.
// GUI thread.
class HUDToast : public QObject, public Toaster {
    Q_OBJECT
public:
    using Timing = ToastTiming;
    static constexpr Timing defaultTiming{};

    // Distance from the bottom of the screen's available area to the toast's lower edge.
    static constexpr int bottomMargin = 120;
    // Space kept free at each side when a text is wider than the screen.
    static constexpr int sideMargin = 20;

    explicit HUDToast(DesktopState& desktop, Timing timing = defaultTiming,
                      QObject* parent = nullptr);
    ~HUDToast() override;

    void show(const QString& text) override;

    // The toast on screen or fading out; null when none is showing.
    HUDToastWindow* currentWindow() const;
    Timing timing() const { return m_timing; }

private:
    void hide();

    DesktopState& m_desktop;
    Timing m_timing;
    QPointer<HUDToastWindow> m_panel;
    QTimer m_hideTimer;
};
