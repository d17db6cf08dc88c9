#include "platform/qt/QtScreenGrabber.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

QList<ScreenFrame> QtScreenGrabber::grabScreens() {
    QList<ScreenFrame> frames;
    for (QScreen* screen : QGuiApplication::screens()) {
        ScreenFrame frame;
        frame.geometry = screen->geometry();
        frame.devicePixelRatio = screen->devicePixelRatio();
        // Window 0 is the root window; the plugin crops it to this screen.
        const QPixmap pixmap = screen->grabWindow(0);
        if (pixmap.isNull()) {
            frame.error = QStringLiteral("The screen could not be read.");
        } else {
            frame.image = pixmap.toImage().convertToFormat(QImage::Format_RGB32);
            frame.image.setDevicePixelRatio(1.0);
        }
        frames.append(frame);
    }
    return frames;
}
