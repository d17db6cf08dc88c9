#include "ui/ScreenRecordingAlert.h"

#include "core/Permissions.h"
#include "support/L10n.h"

#include <QMessageBox>
#include <QPushButton>

ScreenRecordingAlert::ScreenRecordingAlert(const L10n& l10n, Permissions& permissions)
    : m_l10n(l10n), m_permissions(permissions) {}

void ScreenRecordingAlert::present() {
    if (m_showing)
        return;
    m_showing = true;
    QMessageBox box;
    box.setIcon(QMessageBox::Warning);
    box.setText(m_l10n.string("perm.screenAlertTitle"));
    box.setInformativeText(m_l10n.string("perm.screenAlertBody"));
    QPushButton* open = box.addButton(m_l10n.string("perm.openSettings"), QMessageBox::AcceptRole);
    box.addButton(m_l10n.string("common.later"), QMessageBox::RejectRole);
    box.setDefaultButton(open);
    box.activateWindow();
    box.exec();
    m_showing = false;
    if (box.clickedButton() == open)
        m_permissions.openScreenRecordingSettings();
}
