#include "platform/wayland/DesktopPicture.h"

#include <QRect>

#include <cmath>

namespace DesktopPicture {

namespace {

// Edge `logical` (relative to the desktop's origin) in picture pixels.
int edge(qreal logical, qreal scale) {
    return int(std::lround(logical * scale));
}

ScreenFrame failed(ScreenFrame frame, const QString& error) {
    frame.image = QImage();
    frame.error = error;
    return frame;
}

} // namespace

QList<ScreenFrame> split(const QImage& desktop, const QList<ScreenFrame>& screens) {
    QRect bounds;
    for (const ScreenFrame& screen : screens)
        bounds = bounds.united(screen.geometry);

    QList<ScreenFrame> frames;
    if (desktop.isNull() || bounds.isEmpty()) {
        for (const ScreenFrame& screen : screens)
            frames.append(failed(screen, QStringLiteral("The desktop picture is empty.")));
        return frames;
    }
    // The compositor draws the layout at one scale (usually the largest output scale);
    // each axis is measured on its own so that a picture of a stretched layout still maps.
    const qreal scaleX = qreal(desktop.width()) / bounds.width();
    const qreal scaleY = qreal(desktop.height()) / bounds.height();

    for (const ScreenFrame& screen : screens) {
        const QRect& g = screen.geometry;
        const int left = edge(g.x() - bounds.x(), scaleX);
        const int top = edge(g.y() - bounds.y(), scaleY);
        const int right = edge(g.x() + g.width() - bounds.x(), scaleX);
        const int bottom = edge(g.y() + g.height() - bounds.y(), scaleY);
        const QRect source = QRect(left, top, right - left, bottom - top) & desktop.rect();
        if (source.isEmpty()) {
            frames.append(
                failed(screen, QStringLiteral("The screen is not in the desktop picture.")));
            continue;
        }
        const qreal ratio = screen.devicePixelRatio > 0 ? screen.devicePixelRatio : 1.0;
        const QSize device(int(std::lround(g.width() * ratio)),
                           int(std::lround(g.height() * ratio)));
        QImage image = desktop.copy(source).convertToFormat(QImage::Format_RGB32);
        // A screen of a lower scale than the picture's is drawn larger there: bring it back
        // to the screen's own pixels, so crops keep the sizes the screen really has.
        if (image.size() != device)
            image = image.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        image.setDevicePixelRatio(1.0);
        ScreenFrame frame = screen;
        frame.devicePixelRatio = ratio;
        frame.image = std::move(image);
        frame.error.clear();
        frames.append(std::move(frame));
    }
    return frames;
}

} // namespace DesktopPicture
