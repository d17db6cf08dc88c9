#include "ui/settings/SettingsRouter.h"

void SettingsRouter::select(SettingsTab tab) {
    if (tab == m_selected)
        return;
    m_selected = tab;
    Q_EMIT selectedChanged(tab);
}
