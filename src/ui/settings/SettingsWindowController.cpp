#include "ui/settings/SettingsWindowController.h"

#include "ui/settings/SettingsView.h"

#include <QGuiApplication>
#include <QScreen>

SettingsWindowController::SettingsWindowController(const SettingsServices& services,
                                                   QObject* parent)
    : QObject(parent), m_services(services) {}

SettingsWindowController::~SettingsWindowController() {
    delete m_window.data();
}

SettingsView* SettingsWindowController::window() const {
    return m_window;
}

void SettingsWindowController::show(std::optional<SettingsTab> tab) {
    if (tab)
        m_router.select(*tab);
    if (!m_window)
        createWindow();
    // A minimised window comes back as it was.
    m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    Q_EMIT shown(m_router.selected());
}

void SettingsWindowController::createWindow() {
    m_window = new SettingsView(m_services, m_router);
    m_window->setAttribute(Qt::WA_DeleteOnClose);
    m_window->setMinimumSize(minimumSize);
    m_window->resize(defaultSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), defaultSize);
        frame.moveCenter(screen->availableGeometry().center());
        m_window->move(frame.topLeft());
    }
}
