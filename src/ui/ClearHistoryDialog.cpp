#include "ui/ClearHistoryDialog.h"

#include "core/OCRHistoryStore.h"
#include "support/L10n.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace ClearHistoryDialog {

bool present(OCRHistoryStore& store, const L10n& l10n, QWidget* parent) {
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setText(l10n.string(QStringLiteral("clear.title")));
    box.setInformativeText(l10n.string(QStringLiteral("clear.body")));
    QPushButton* clear =
        box.addButton(l10n.string(QStringLiteral("clear.all")), QMessageBox::DestructiveRole);
    QPushButton* cancel =
        box.addButton(l10n.string(QStringLiteral("common.cancel")), QMessageBox::RejectRole);
    box.setDefaultButton(clear);
    box.setEscapeButton(cancel);
    // The app has no window of its own in front: bring this one forward even when another
    // application is active.
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.show();
    box.raise();
    box.activateWindow();
    box.exec();
    if (box.clickedButton() != clear)
        return false;
    store.setItems({});
    return true;
}

} // namespace ClearHistoryDialog
