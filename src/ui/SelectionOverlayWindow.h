#pragma once

#include "platform/ScreenGrabber.h"

#include <QPointF>
#include <QWidget>

#include <optional>

class SelectionOverlayController;

// One screen's part of the selection overlay: the frozen frame, the dim, the selection and
// its size label. The window that sees the press tracks the drag, also past its own edges.
class SelectionOverlayWindow : public QWidget {
    Q_OBJECT
public:
    SelectionOverlayWindow(SelectionOverlayController& controller, ScreenFrame frame);

    // The screen this window covers, in virtual-desktop coordinates.
    QRect screenFrame() const { return m_frame.geometry; }
    const ScreenFrame& frame() const { return m_frame; }

    // Asks the window system for pointer and keyboard; false while another client has them.
    bool grabInput();
    void releaseInput();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void publishSelection();

    SelectionOverlayController& m_controller;
    ScreenFrame m_frame;
    std::optional<QPointF> m_startPoint;
    std::optional<QPointF> m_currentPoint;
};
