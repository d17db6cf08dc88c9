#include "ui/HUDToast.h"

#include "platform/Compositor.h"
#include "ui/HUDToastWindow.h"

#include <QApplication>
#include <QCursor>
#include <QPointer>
#include <QScreen>
#include <QTimer>

namespace {

struct State {
    QPointer<HUDToastWindow> panel;
    QPointer<QTimer> hideTimer;
    HUDToast::Timing timing = HUDToast::defaultTiming;
    std::optional<bool> compositingOverride;
};

State& state() {
    static State s;
    return s;
}

void dismiss(HUDToastWindow* window) {
    window->hide();
    window->deleteLater();
}

void hide() {
    State& s = state();
    if (!s.panel)
        return;
    QPointer<HUDToastWindow> fading = s.panel;
    fading->fadeTo(0.0, s.timing.fadeOut, [fading] {
        if (!fading)
            return;
        // A newer toast may have been shown meanwhile; only clear the slot if it is ours.
        if (state().panel == fading)
            state().panel = nullptr;
        dismiss(fading);
    });
}

QTimer& hideTimer() {
    State& s = state();
    if (!s.hideTimer) {
        s.hideTimer = new QTimer(QCoreApplication::instance());
        s.hideTimer->setSingleShot(true);
        s.hideTimer->setTimerType(Qt::PreciseTimer);
        QObject::connect(s.hideTimer, &QTimer::timeout, s.hideTimer, &hide);
    }
    return *s.hideTimer;
}

QScreen* targetScreen() {
    // The screen the user is looking at: the one holding the pointer.
    if (QScreen* screen = QGuiApplication::screenAt(QCursor::pos()))
        return screen;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        return screen;
    const QList<QScreen*> screens = QGuiApplication::screens();
    return screens.isEmpty() ? nullptr : screens.first();
}

} // namespace

namespace HUDToast {

void show(const QString& text) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    State& s = state();
    hideTimer().stop();
    if (s.panel) {
        dismiss(s.panel); // at once, no fade-out
        s.panel = nullptr;
    }

    QScreen* screen = targetScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    const int maximumWidth = screen ? area.width() - 2 * sideMargin : 0;
    const bool translucent = s.compositingOverride.value_or(Compositor::isRunning());
    auto* window = new HUDToastWindow(text, translucent, maximumWidth);
    if (screen) {
        window->setScreen(screen);
        const QSize size = window->size();
        window->move(area.x() + (area.width() - size.width()) / 2,
                     area.y() + area.height() - bottomMargin - size.height());
    }
    window->setWindowOpacity(0.0);
    window->show();
    window->fadeTo(1.0, s.timing.fadeIn);
    s.panel = window;
    hideTimer().start(s.timing.visible);
}

HUDToastWindow* currentWindow() {
    return state().panel;
}

void setTiming(const Timing& timing) {
    state().timing = timing;
}

Timing timing() {
    return state().timing;
}

void setCompositingOverride(std::optional<bool> compositing) {
    state().compositingOverride = compositing;
}

} // namespace HUDToast
