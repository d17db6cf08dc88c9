#pragma once

#include <QObject>

// The settings window. Its tabs arrive with the settings window work; until then show()
// does nothing. The application builds one; the window itself exists only while shown.
class SettingsWindowController : public QObject {
    Q_OBJECT
public:
    enum class Tab { General, Recognition, History, Account, Permissions, About };

    using QObject::QObject;
    void show(Tab tab = Tab::General);
};
