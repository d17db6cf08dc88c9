// Drives the desktop-portal clients on a real desktop, for the end-to-end tests.
//
//   portal_probe screenshot DIR   covers each screen with a full-screen window of its own
//                                 colour and a white square at (20,20)-(60,60), takes the
//                                 portal's screenshot, cuts it into screens and reports
//                                 "screen I X,Y WxH dpr=R image=WxH colour=#rrggbb
//                                 marker=X,Y-X,Y" per screen; frames go to DIR/screen-I.png
//   portal_probe shortcuts N      binds the two capture shortcuts and prints
//                                 "bound NAME=KEYS ..." then "pressed ID" per activation,
//                                 until N presses arrived
#include "platform/wayland/DesktopPicture.h"
#include "platform/wayland/PortalGlobalShortcuts.h"
#include "platform/wayland/PortalScreenshot.h"

#include <QClipboard>
#include <QDBusConnection>
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

const QList<QColor> colours{QColor(200, 30, 30), QColor(30, 60, 200), QColor(30, 160, 60)};

class ColourWindow : public QRasterWindow {
public:
    explicit ColourWindow(QColor colour) : m_colour(colour) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(QRect(QPoint(), size()), m_colour);
        painter.fillRect(QRect(20, 20, 40, 40), Qt::white);
    }

private:
    QColor m_colour;
};

void print(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

// The bounding box of the white pixels, in device pixels.
QRect marker(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qRed(row[x]) > 240 && qGreen(row[x]) > 240 && qBlue(row[x]) > 240)
                box = box.united(QRect(x, y, 1, 1));
        }
    }
    return box;
}

int screenshot(const QString& dir) {
    QList<std::shared_ptr<ColourWindow>> windows;
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (int i = 0; i < screens.size(); ++i) {
        auto window = std::make_shared<ColourWindow>(colours[i % colours.size()]);
        window->setGeometry(screens[i]->geometry());
        window->setScreen(screens[i]);
        window->showFullScreen();
        windows.append(window);
    }
    auto* portal =
        new PortalScreenshot(QDBusConnection::sessionBus(), PortalScreenshot::defaultService(),
                             PortalScreenshot::answerTimeoutMs, qApp);
    // Time for the compositor to map and draw the windows.
    QTimer::singleShot(2500, qApp, [portal, dir, screens, windows] {
        portal->take([dir, screens](const PortalScreenshot::Result& result) {
            if (result.status != PortalScreenshot::Result::Status::Taken) {
                print(QStringLiteral("failed %1: %2").arg(int(result.status)).arg(result.error));
                QCoreApplication::exit(1);
                return;
            }
            print(QStringLiteral("picture %1x%2")
                      .arg(result.image.width())
                      .arg(result.image.height()));
            QList<ScreenFrame> layout;
            for (QScreen* screen : screens) {
                ScreenFrame frame;
                frame.geometry = screen->geometry();
                frame.devicePixelRatio = screen->devicePixelRatio();
                layout.append(frame);
            }
            const QList<ScreenFrame> frames = DesktopPicture::split(result.image, layout);
            for (int i = 0; i < frames.size(); ++i) {
                const ScreenFrame& f = frames[i];
                const QRect g = f.geometry;
                const QRect m = marker(f.image);
                f.image.save(QDir(dir).filePath(QStringLiteral("screen-%1.png").arg(i)));
                print(QStringLiteral("screen %1 %2,%3 %4x%5 dpr=%6 image=%7x%8 colour=%9 "
                                     "marker=%10,%11-%12,%13")
                          .arg(i)
                          .arg(g.x())
                          .arg(g.y())
                          .arg(g.width())
                          .arg(g.height())
                          .arg(f.devicePixelRatio)
                          .arg(f.image.width())
                          .arg(f.image.height())
                          .arg(f.image.pixelColor(f.image.width() - 5, f.image.height() - 5).name())
                          .arg(m.left())
                          .arg(m.top())
                          .arg(m.right() + 1)
                          .arg(m.bottom() + 1));
            }
            QCoreApplication::exit(0);
        });
    });
    return QGuiApplication::exec();
}

int shortcuts(int presses) {
    auto* service = new PortalGlobalShortcuts(QDBusConnection::sessionBus());
    service->describeHotKey(1, QStringLiteral("capture"), QStringLiteral("Capture Text"));
    service->describeHotKey(2, QStringLiteral("capture-hq"),
                            QStringLiteral("High-Accuracy Capture"));
    QObject::connect(service, &PortalGlobalShortcuts::bound, [service] {
        QStringList parts;
        for (auto it = service->boundTriggers().cbegin(); it != service->boundTriggers().cend();
             ++it)
            parts << it.key() + u'=' + it.value();
        print(QStringLiteral("bound ") + parts.join(u' '));
    });
    QObject::connect(service, &PortalGlobalShortcuts::unavailable, [](const QString& reason) {
        print(QStringLiteral("unavailable ") + reason);
        QCoreApplication::exit(2);
    });
    int seen = 0;
    QObject::connect(service, &HotKeyService::pressed, [&seen, presses](quint32 id) {
        print(QStringLiteral("pressed %1").arg(id));
        if (++seen >= presses)
            QCoreApplication::exit(0);
    });
    service->registerHotKey(1, Qt::Key_2, Qt::ControlModifier | Qt::ShiftModifier);
    service->registerHotKey(2, Qt::Key_2,
                            Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    const int status = QGuiApplication::exec();
    delete service;
    return status;
}

// A full-screen window that closes when a mouse button is released on it; the clipboard is
// set `delayMs` later, with no window left, as a capture does after recognition.
class ClickWindow : public ColourWindow {
public:
    ClickWindow(QString text, int delayMs)
        : ColourWindow(colours[0]), m_text(std::move(text)), m_delayMs(delayMs) {}

protected:
    void mouseReleaseEvent(QMouseEvent*) override {
        close();
        QTimer::singleShot(m_delayMs, qApp, [text = m_text] {
            QGuiApplication::clipboard()->setText(text);
            print(QStringLiteral("set"));
        });
    }

private:
    QString m_text;
    int m_delayMs;
};

int clipboard(const QString& text, int delayMs) {
    auto* window = new ClickWindow(text, delayMs);
    window->showFullScreen();
    print(QStringLiteral("shown"));
    return QGuiApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QGuiApplication::setQuitOnLastWindowClosed(false);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("screenshot"))
        return screenshot(args[2]);
    if (args.size() == 4 && args[1] == QLatin1String("clipboard"))
        return clipboard(args[2], args[3].toInt());
    if (args.size() == 3 && args[1] == QLatin1String("shortcuts"))
        return shortcuts(args[2].toInt());
    std::fprintf(stderr, "usage: portal_probe screenshot DIR | shortcuts PRESSES\n");
    return 64;
}
