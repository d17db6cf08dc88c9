#pragma once

#include <QDialog>

class AboutHeader;
class L10n;
class QPushButton;

// The tray's About box: the About header and a button that closes it, as wide as its
// longest text needs in the interface language (the title included), never cut.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(const L10n& l10n, QWidget* parent = nullptr);

    AboutHeader* header() const { return m_header; }
    QPushButton* closeButton() const { return m_close; }

private:
    void relabel();

    const L10n& m_l10n;
    AboutHeader* m_header = nullptr;
    QPushButton* m_close = nullptr;
};
