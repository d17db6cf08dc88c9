#pragma once

#include <QWidget>

class QVBoxLayout;

// A rounded group of rows, one divider between each two visible rows.
class SettingsCard : public QWidget {
    Q_OBJECT
public:
    explicit SettingsCard(QWidget* parent = nullptr);

    // Takes the row into the card, under the rows added before.
    void addRow(QWidget* row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QVBoxLayout* m_layout;
};
