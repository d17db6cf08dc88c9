#pragma once

#include <QWidget>

class QVariantAnimation;

// A small looping picture of a capture: a window of text, a selection dragged over part of
// it, and the confirmation that the text was copied. It runs only while it is visible.
class OnboardingDemoCanvas : public QWidget {
    Q_OBJECT
public:
    // One loop of the picture.
    static constexpr int loopMs = 3200;

    explicit OnboardingDemoCanvas(QWidget* parent = nullptr);

    bool isAnimating() const;
    // Where the loop is, 0 to 1.
    qreal phase() const { return m_phase; }

    QSize sizeHint() const override { return {300, 112}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void paintDocument(QPainter& painter, const QRectF& area) const;
    void paintSelection(QPainter& painter, const QRectF& area) const;
    void paintToast(QPainter& painter, const QRectF& area) const;

    QVariantAnimation* m_loop;
    qreal m_phase = 0;
};
