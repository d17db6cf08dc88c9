#include "ui/HUDToastWindow.h"

#include <QApplication>
#include <QBitmap>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPropertyAnimation>

namespace {

QPainterPath capsule(const QRectF& rect) {
    QPainterPath path;
    const qreal radius = rect.height() / 2;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

} // namespace

QFont HUDToastWindow::toastFont() {
    QFont font = QApplication::font();
    font.setPixelSize(fontPixelSize);
    font.setWeight(QFont::Medium);
    return font;
}

HUDToastWindow::HUDToastWindow(const QString& text, bool translucent, int maximumWidth)
    : QWidget(nullptr, toastFlags), m_text(text), m_translucent(translucent) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_X11DoNotAcceptFocus);
    setFocusPolicy(Qt::NoFocus);
    if (m_translucent) {
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_NoSystemBackground);
    }
    setFont(toastFont());

    // One line: a line break in a message would only clip.
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QFontMetrics metrics(font());
    const int padding = 2 * horizontalPadding;
    int textWidth = metrics.horizontalAdvance(line);
    if (maximumWidth > padding && textWidth + padding > maximumWidth) {
        line = metrics.elidedText(line, Qt::ElideRight, maximumWidth - padding);
        textWidth = metrics.horizontalAdvance(line);
    }
    m_shownText = line;
    const int height = metrics.height() + 2 * verticalPadding;
    // Never narrower than tall, so that even one character sits in a capsule.
    m_size = QSize(std::max(textWidth + padding, height), height);
    // A fixed size: a tiling compositor (sway) floats such a window at that size instead of
    // stretching it over the whole output.
    setFixedSize(m_size);
    if (!m_translucent) {
        QBitmap shape(m_size);
        shape.fill(Qt::color0);
        QPainter p(&shape);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::color1);
        p.drawPath(capsule(QRectF(QPointF(0, 0), QSizeF(m_size))));
        p.end();
        setMask(shape);
    }
}

QColor HUDToastWindow::backgroundColor() const {
    QColor color = palette().color(QPalette::Window);
    // No blur behind on this desktop: keep the text readable over anything.
    color.setAlphaF(m_translucent ? 0.88 : 1.0);
    return color;
}

void HUDToastWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = rect();
    if (m_translucent)
        p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(bounds, m_translucent ? QColor(Qt::transparent) : backgroundColor());
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QPainterPath shape = capsule(bounds);
    if (m_translucent)
        p.fillPath(shape, backgroundColor());

    const QColor primary = palette().color(QPalette::WindowText);
    QColor border = primary;
    border.setAlphaF(borderOpacity);
    // Stroke inside the edge: inset by half the line width.
    const qreal inset = borderWidth / 2;
    p.setPen(QPen(border, borderWidth));
    p.setBrush(Qt::NoBrush);
    p.drawPath(capsule(bounds.adjusted(inset, inset, -inset, -inset)));

    p.setPen(primary);
    p.setFont(font());
    p.drawText(
        bounds.adjusted(horizontalPadding, verticalPadding, -horizontalPadding, -verticalPadding),
        Qt::AlignCenter | Qt::TextSingleLine, m_shownText);
}

void HUDToastWindow::fadeTo(qreal opacity, std::chrono::milliseconds duration,
                            std::function<void()> done) {
    if (m_fade)
        m_fade->stop(); // a stopped animation never reports completion
    auto* fade = new QPropertyAnimation(this, "windowOpacity", this);
    fade->setStartValue(windowOpacity());
    fade->setEndValue(opacity);
    fade->setDuration(int(duration.count()));
    if (done)
        connect(fade, &QPropertyAnimation::finished, this, std::move(done));
    m_fade = fade;
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

bool HUDToastWindow::isFading() const {
    return m_fade && m_fade->state() == QAbstractAnimation::Running;
}
