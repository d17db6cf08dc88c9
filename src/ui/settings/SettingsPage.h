#pragma once

#include <QWidget>

class QLabel;
class QVBoxLayout;
class SettingsCard;

// The body of one tab: a column of cards with an optional footnote under them. Tabs build
// themselves on it.
class SettingsPage : public QWidget {
    Q_OBJECT
public:
    explicit SettingsPage(QWidget* parent = nullptr);

protected:
    // A new card under the ones before (and above the footnote).
    SettingsCard* addCard();
    // Any other block of the column, in the same place.
    void addBlock(QWidget* widget);
    // The footnote under the cards; hidden while empty.
    void setFootnote(const QString& text);

private:
    QVBoxLayout* m_layout;
    QLabel* m_footnote;
};
