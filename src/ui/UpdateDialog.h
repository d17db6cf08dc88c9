#pragma once

#include "support/UpdaterController.h"

#include <QDialog>

#include <functional>

class L10n;
class QDialogButtonBox;
class QLabel;
class QPushButton;

// The outcome of an update check, shown to the user: up to date, a failed check, or a newer
// release with its version, a link to its notes and a button that opens its download.
// Addresses are opened through `openUrl` (the desktop's browser in the application). The
// texts follow the interface language, also while the dialog is open.
class UpdateDialog : public QDialog {
    Q_OBJECT
public:
    UpdateDialog(const UpdaterController::Result& result, const L10n& l10n,
                 std::function<void(const QUrl&)> openUrl, QWidget* parent = nullptr);

    QString headline() const;
    QString message() const;
    // The download button, only when a release is offered.
    QPushButton* downloadButton() const { return m_download; }
    QLabel* notesLink() const { return m_notes; }

private:
    void addButtons(QDialogButtonBox* buttons);
    void relabel();

    UpdaterController::Result m_result;
    const L10n& m_l10n;
    std::function<void(const QUrl&)> m_openUrl;
    QLabel* m_headline = nullptr;
    QLabel* m_message = nullptr;
    QLabel* m_notes = nullptr;
    QPushButton* m_download = nullptr;
    QPushButton* m_dismiss = nullptr;
};
