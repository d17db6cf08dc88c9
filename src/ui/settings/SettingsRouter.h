#pragma once

#include "ui/settings/SettingsTab.h"

#include <QObject>

// Which tab the settings window shows. It outlives the window, so a window opened again
// without a tab comes back where the user left it. The sidebar writes it, the content pane
// follows it.
class SettingsRouter : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    SettingsTab selected() const { return m_selected; }
    void select(SettingsTab tab);

Q_SIGNALS:
    void selectedChanged(SettingsTab tab);

private:
    SettingsTab m_selected = SettingsTab::General;
};
