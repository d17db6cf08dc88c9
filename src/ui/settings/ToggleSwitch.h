#pragma once

#include <QAbstractButton>

// An on/off switch: a rounded track with a sliding knob, checkable. Space toggles it when it
// has the focus, Tab reaches it, and assistive technology sees a check box named after the
// row it sits in (its accessible name) with a toggle action.
class ToggleSwitch : public QAbstractButton {
    Q_OBJECT
public:
    explicit ToggleSwitch(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
    void changeEvent(QEvent* event) override;
};
