#pragma once

#include <QAbstractButton>

// A button drawn as a link in the accent colour whose text wraps onto further lines, so a
// long translation stays whole inside the guide's fixed width. Keyboard and assistive
// technology treat it as any button named by its text.
class OKLinkButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit OKLinkButton(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect textBounds(int width) const;
};
