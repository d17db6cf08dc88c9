#pragma once

#include <QObject>

// The settings window. Its tabs arrive with the settings window work; until then show()
// does nothing.
class SettingsWindowController : public QObject {
    Q_OBJECT
public:
    enum class Tab { General, Recognition, History, Account, Permissions, About };

    static SettingsWindowController& shared();
    void show(Tab tab = Tab::General);

private:
    SettingsWindowController() = default;
};
