#include "ui/HUDToast.h"

#include "platform/DesktopState.h"
#include "ui/HUDToastWindow.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>

namespace {

void dismiss(HUDToastWindow* window) {
    window->hide();
    window->deleteLater();
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

HUDToast::HUDToast(DesktopState& desktop, Timing timing, QObject* parent)
    : QObject(parent), m_desktop(desktop), m_timing(timing) {
    m_hideTimer.setSingleShot(true);
    m_hideTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_hideTimer, &QTimer::timeout, this, &HUDToast::hide);
}

HUDToast::~HUDToast() {
    if (m_panel)
        dismiss(m_panel);
}

HUDToastWindow* HUDToast::currentWindow() const {
    return m_panel;
}

void HUDToast::show(const QString& text) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    m_hideTimer.stop();
    if (m_panel) {
        dismiss(m_panel); // at once, no fade-out
        m_panel = nullptr;
    }

    QScreen* screen = targetScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    const int maximumWidth = screen ? area.width() - 2 * sideMargin : 0;
    auto* window = new HUDToastWindow(text, m_desktop.isCompositing(), maximumWidth);
    if (screen) {
        window->setScreen(screen);
        const QSize size = window->size();
        window->move(area.x() + (area.width() - size.width()) / 2,
                     area.y() + area.height() - bottomMargin - size.height());
    }
    window->setWindowOpacity(0.0);
    window->show();
    window->fadeTo(1.0, m_timing.fadeIn);
    m_panel = window;
    m_hideTimer.start(m_timing.visible);
}

void HUDToast::hide() {
    if (!m_panel)
        return;
    QPointer<HUDToastWindow> fading = m_panel;
    QPointer<HUDToast> self(this);
    fading->fadeTo(0.0, m_timing.fadeOut, [self, fading] {
        if (!fading)
            return;
        // A newer toast may have been shown meanwhile; only clear the slot if it is ours.
        if (self && self->m_panel == fading)
            self->m_panel = nullptr;
        dismiss(fading);
    });
}
