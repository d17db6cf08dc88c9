#pragma once

#include <QAbstractButton>

// One of the page dots: a small painted circle, filled for the page shown. It takes the
// keyboard focus and answers Space like any button, so a keyboard user can jump to a page;
// assistive technology reads it as a button named after its page, checked when current.
class OKPageDot : public QAbstractButton {
    Q_OBJECT
public:
    explicit OKPageDot(QWidget* parent = nullptr);

    QSize sizeHint() const override { return {18, 18}; }

protected:
    void paintEvent(QPaintEvent* event) override;
};
