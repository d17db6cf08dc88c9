#include "ui/SelectionOverlayWindow.h"

#include "ui/SelectionOverlayController.h"
#include "ui/SelectionOverlayGeometry.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWindow>

namespace Geo = SelectionOverlayGeometry;

SelectionOverlayWindow::SelectionOverlayWindow(SelectionOverlayController& controller,
                                               ScreenFrame frame)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::X11BypassWindowManagerHint),
      m_controller(controller), m_frame(std::move(frame)) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setWindowTitle(QStringLiteral("Glintext Selection"));
    setCursor(Qt::CrossCursor);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setGeometry(m_frame.geometry);
}

bool SelectionOverlayWindow::grabInput() {
    QWindow* handle = windowHandle();
    if (!handle)
        return false;
    // QWidget's grabs route every event of the application here; the window's own calls
    // report whether the window system granted them.
    if (QWidget::mouseGrabber() != this)
        grabMouse(Qt::CrossCursor);
    if (QWidget::keyboardGrabber() != this)
        grabKeyboard();
    // Without grabs of its own (offscreen) the window system has nothing to refuse.
    if (!m_controller.exclusiveInputGrabs())
        return true;
    const bool keyboard = handle->setKeyboardGrabEnabled(true);
    const bool mouse = handle->setMouseGrabEnabled(true);
    return keyboard && mouse;
}

void SelectionOverlayWindow::releaseInput() {
    releaseMouse();
    releaseKeyboard();
    if (QWindow* handle = windowHandle()) {
        handle->setKeyboardGrabEnabled(false);
        handle->setMouseGrabEnabled(false);
    }
    unsetCursor();
}

void SelectionOverlayWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF bounds = rect();
    if (m_frame.image.isNull())
        painter.fillRect(bounds, Qt::black);
    else
        painter.drawImage(bounds, m_frame.image);

    std::optional<QRectF> hole;
    if (const std::optional<QRectF> global = m_controller.liveSelection())
        hole = global->translated(-QPointF(m_frame.geometry.topLeft()));

    QPainterPath dim;
    dim.setFillRule(Qt::OddEvenFill);
    dim.addRect(bounds);
    if (hole && hole->intersects(bounds))
        dim.addRect(*hole & bounds);
    painter.fillPath(dim, QColor::fromRgbF(0, 0, 0, Geo::dimAlpha));
    if (!hole)
        return;

    painter.setRenderHint(QPainter::Antialiasing);
    const qreal grow = Geo::outlineWidth / 2;
    painter.setPen(QPen(Geo::accentColor(), Geo::outlineWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(hole->adjusted(-grow, -grow, grow, grow));

    // Every window draws the label, so it shows on whichever screen it falls.
    if (!Geo::showsLabel(*hole))
        return;
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(Geo::labelPixelSize);
    font.setWeight(QFont::Medium);
    const QString text = Geo::labelText(*hole);
    const QFontMetricsF metrics(font);
    const QSizeF textSize(metrics.horizontalAdvance(text), metrics.height());
    const QRectF badge = Geo::badgeRect(*hole, textSize, bounds.height());
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgbF(0, 0, 0, Geo::badgeAlpha));
    painter.drawRoundedRect(badge, Geo::badgeRadius, Geo::badgeRadius);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(
        QRectF(badge.topLeft() + QPointF(Geo::badgePadding, Geo::badgePadding), textSize),
        Qt::AlignLeft | Qt::AlignTop, text);
}

void SelectionOverlayWindow::keyPressEvent(QKeyEvent* event) {
    const bool escape = event->key() == Qt::Key_Escape;
    const bool controlPeriod =
        event->key() == Qt::Key_Period && (event->modifiers() & Qt::ControlModifier);
    if (escape || controlPeriod) {
        m_controller.finish(std::nullopt);
        return;
    }
    QWidget::keyPressEvent(event);
}

void SelectionOverlayWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        // Any other button is the way out a mouse user reaches for.
        m_controller.finish(std::nullopt);
        return;
    }
    m_startPoint = event->position();
    m_currentPoint = event->position();
    publishSelection();
}

void SelectionOverlayWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!m_startPoint)
        return;
    m_currentPoint = event->position();
    publishSelection();
}

void SelectionOverlayWindow::mouseReleaseEvent(QMouseEvent* event) {
    // A release without a press here ends the click that opened the overlay (a tray icon
    // reacts on press): it is not the user's selection.
    if (event->button() != Qt::LeftButton || !m_startPoint)
        return;
    std::optional<QRectF> result;
    const QRectF local = Geo::selectionRect(*m_startPoint, event->position());
    if (Geo::isAcceptable(local))
        result = local.translated(QPointF(m_frame.geometry.topLeft()));
    m_startPoint.reset();
    m_currentPoint.reset();
    m_controller.finish(result);
}

void SelectionOverlayWindow::publishSelection() {
    if (!m_startPoint || !m_currentPoint) {
        m_controller.setLiveSelection(std::nullopt);
        return;
    }
    const QRectF local = Geo::selectionRect(*m_startPoint, *m_currentPoint);
    m_controller.setLiveSelection(local.translated(QPointF(m_frame.geometry.topLeft())));
}
