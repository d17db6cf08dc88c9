#pragma once

#include <QObject>

// The settings window. Its tabs arrive with the settings window work; until then show()
// only announces itself through shown(). The application builds one; the window itself
// exists only while shown.
class SettingsWindowController : public QObject {
    Q_OBJECT
public:
    enum class Tab { General, Recognition, History, Account, Permissions, About };
    Q_ENUM(Tab)

    using QObject::QObject;
    void show(Tab tab = Tab::General);

Q_SIGNALS:
    // The window was brought up on `tab` (a sign-in that completed shows the Account tab).
    void shown(SettingsWindowController::Tab tab);
};
