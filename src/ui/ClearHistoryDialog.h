#pragma once

class L10n;
class OCRHistoryStore;
class QWidget;

// Asks the user to confirm and empties the capture history.
namespace ClearHistoryDialog {
// Modal; returns whether the history was cleared.
bool present(OCRHistoryStore& store, const L10n& l10n, QWidget* parent = nullptr);
} // namespace ClearHistoryDialog
