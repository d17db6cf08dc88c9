#pragma once

#include "ui/settings/SettingsRouter.h"
#include "ui/settings/SettingsServices.h"
#include "ui/settings/SettingsTab.h"

#include <QObject>
#include <QPointer>
#include <QSize>

#include <optional>

class SettingsView;

// The settings window. The application builds one controller; the window exists only while
// it is shown: closing it drops the window and every widget in it, and the next show()
// builds them fresh. The selected tab lives in the router and survives the window.
class SettingsWindowController : public QObject {
    Q_OBJECT
public:
    static constexpr QSize defaultSize{760, 520};
    static constexpr QSize minimumSize{720, 480};

    explicit SettingsWindowController(const SettingsServices& services, QObject* parent = nullptr);
    ~SettingsWindowController() override;

    // Switches to `tab` when one is given (in place, if the window is open), builds the
    // window when there is none, and brings it to the front.
    void show(std::optional<SettingsTab> tab = std::nullopt);

    // The update controller, created after this one and only in a build with a feed; the
    // About tab of every window built afterwards shows the update controls.
    void setUpdater(UpdaterController* updater) { m_services.updater = updater; }

    SettingsRouter& router() { return m_router; }
    // The open window, or nullptr.
    SettingsView* window() const;

Q_SIGNALS:
    // The window was brought up, showing `tab`.
    void shown(SettingsTab tab);

private:
    void createWindow();

    SettingsServices m_services;
    SettingsRouter m_router;
    QPointer<SettingsView> m_window;
};
