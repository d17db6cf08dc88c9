#include "platform/wayland/PortalScreenGrabber.h"

#include "platform/wayland/DesktopPicture.h"
#include "platform/wayland/PortalScreenshot.h"

#include <QFutureWatcher>
#include <QGuiApplication>
#include <QScreen>
#include <QtConcurrent/QtConcurrentRun>

PortalScreenGrabber::PortalScreenGrabber(PortalScreenshot& portal, Layout layout)
    : m_portal(portal), m_layout(std::move(layout)) {}

QList<ScreenFrame> PortalScreenGrabber::qtScreens() {
    QList<ScreenFrame> screens;
    for (QScreen* screen : QGuiApplication::screens()) {
        ScreenFrame frame;
        frame.geometry = screen->geometry();
        frame.devicePixelRatio = screen->devicePixelRatio();
        screens.append(frame);
    }
    return screens;
}

QList<ScreenFrame> PortalScreenGrabber::grabScreens() {
    QList<ScreenFrame> frames = m_layout();
    for (ScreenFrame& frame : frames)
        frame.error = QStringLiteral("The desktop portal answers only asynchronously.");
    return frames;
}

void PortalScreenGrabber::grab(GrabDone done) {
    // The layout is read when the picture is asked for: that is the desktop it shows.
    const QList<ScreenFrame> layout = m_layout();
    m_portal.take([done = std::move(done), layout](const PortalScreenshot::Result& result) {
        using Status = PortalScreenshot::Result::Status;
        if (result.status != Status::Taken) {
            done({result.status == Status::Refused ? Grab::Outcome::Refused : Grab::Outcome::Failed,
                  {},
                  result.error});
            return;
        }
        // Cutting and scaling a desktop of several screens takes a while: not on the GUI
        // thread. The watcher belongs to the application, which outlives every grab.
        auto* watcher = new QFutureWatcher<QList<ScreenFrame>>(qApp);
        QObject::connect(watcher, &QFutureWatcher<QList<ScreenFrame>>::finished, watcher,
                         [watcher, done] {
                             watcher->deleteLater();
                             done({Grab::Outcome::Taken, watcher->result(), {}});
                         });
        watcher->setFuture(QtConcurrent::run(&DesktopPicture::split, result.image, layout));
    });
}
