#pragma once

class OCRHistoryStore;
class QWidget;

// Asks the user to confirm and empties the capture history.
namespace ClearHistoryDialog {
// Modal; returns whether the history was cleared.
bool present();
bool present(OCRHistoryStore& store, QWidget* parent = nullptr);
} // namespace ClearHistoryDialog
