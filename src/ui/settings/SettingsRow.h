#pragma once

#include <QWidget>

class QLabel;

// One line of a settings card: a title, an optional subtitle under it and a control at the
// trailing edge. The row names its control after its title for assistive technology.
class SettingsRow : public QWidget {
    Q_OBJECT
public:
    explicit SettingsRow(QWidget* trailing = nullptr, QWidget* parent = nullptr);

    // An empty subtitle hides the second line.
    void setTexts(const QString& title, const QString& subtitle = QString());
    QString title() const;
    QString subtitle() const;
    QWidget* trailing() const { return m_trailing; }

private:
    QLabel* m_title;
    QLabel* m_subtitle;
    QWidget* m_trailing;
};
