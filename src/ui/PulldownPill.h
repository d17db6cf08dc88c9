#pragma once

#include <QAbstractButton>

// A rounded pill showing a value and a chevron; a click on it (anywhere inside, label and
// chevron included) is a press of the pill. The menu it opens belongs to whoever uses it.
class PulldownPill : public QAbstractButton {
    Q_OBJECT
public:
    explicit PulldownPill(const QString& title = {}, QWidget* parent = nullptr);

    QString label() const { return text(); }
    void setLabel(const QString& label);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
    void changeEvent(QEvent* event) override;
};
