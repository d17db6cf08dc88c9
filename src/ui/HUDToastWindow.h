#pragma once

#include <QFont>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <chrono>
#include <functional>

class QPropertyAnimation;

// The toast's own window: one line of text in a capsule. Never takes focus, never receives
// input, never activates the application. Translucent where a compositor runs; otherwise an
// opaque capsule cut out with a shape mask, since unpainted pixels would show as black.
class HUDToastWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int horizontalPadding = 14;
    static constexpr int verticalPadding = 8;
    static constexpr qreal borderWidth = 0.5;
    static constexpr qreal borderOpacity = 0.12;
    static constexpr int fontPixelSize = 12;

    static constexpr Qt::WindowFlags toastFlags =
        Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
        Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus;

    // `maximumWidth` (0: none) keeps an overlong text on screen; it is elided to fit.
    HUDToastWindow(const QString& text, bool translucent, int maximumWidth = 0);

    static QFont toastFont();

    QString text() const { return m_text; }
    QString shownText() const { return m_shownText; }
    bool isTranslucent() const { return m_translucent; }
    QColor backgroundColor() const;
    QSize sizeHint() const override { return m_size; }

    // Animates the window opacity; `done` runs only if the animation completes.
    void fadeTo(qreal opacity, std::chrono::milliseconds duration, std::function<void()> done = {});
    bool isFading() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    QString m_shownText;
    bool m_translucent;
    QSize m_size;
    QPointer<QPropertyAnimation> m_fade;
};
