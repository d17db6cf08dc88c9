#pragma once

#include <QAbstractButton>

// A rounded push button: filled with the accent and a white title, or unfilled in the field
// colours with a border. It keeps its natural width (the title plus 24 points).
class PillButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit PillButton(const QString& title = {}, bool filled = false, QWidget* parent = nullptr);

    bool isFilled() const { return m_filled; }
    QString titleText() const { return text(); }
    void setTitleText(const QString& title);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
    void changeEvent(QEvent* event) override;

private:
    const bool m_filled;
};
