// Shows a plain window and a toast above it, for the end-to-end toast test. Prints what the
// test needs on stdout: the window id, the toast's geometry and every click the window gets.
#include "platform/Platform.h"
#include "platform/PlatformLoader.h"
#include "ui/HUDToast.h"
#include "ui/HUDToastWindow.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <memory>

namespace {

class Target : public QWidget {
public:
    Target() { setWindowTitle(QStringLiteral("toast target")); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), QColor(0x2a, 0x7f, 0x62));
    }
    void mousePressEvent(QMouseEvent* event) override {
        const QPoint p = event->globalPosition().toPoint();
        std::printf("click %d %d\n", p.x(), p.y());
        std::fflush(stdout);
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: %s TEXT [HOLD_SECONDS]\n", argv[0]);
        return 2;
    }
    const int hold = args.size() > 2 ? args[2].toInt() : 20;
    HUDToast::Timing timing = HUDToast::defaultTiming;
    timing.visible = std::chrono::seconds(hold); // long enough to click and photograph it
    const std::unique_ptr<Platform> platform = PlatformLoader::load();
    HUDToast toast(platform->desktop(), timing);

    Target target;
    target.setGeometry(40, 40, 1100, 700);
    target.show();
    target.activateWindow();

    QTimer::singleShot(700, &target, [&] {
        std::printf("target %llu\n", static_cast<unsigned long long>(target.winId()));
        toast.show(args[1]);
        const HUDToastWindow* window = toast.currentWindow();
        const QRect g = window->geometry();
        std::printf("toast %d %d %d %d translucent=%d\n", g.x(), g.y(), g.width(), g.height(),
                    window->isTranslucent() ? 1 : 0);
        std::fflush(stdout);
    });
    QTimer::singleShot((hold + 3) * 1000, &app, &QApplication::quit);
    return app.exec();
}
