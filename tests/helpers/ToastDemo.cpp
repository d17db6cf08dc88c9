// Shows a plain window and a toast above it, for the end-to-end toast tests. Prints what the
// tests need on stdout: the window id, the toast's geometry, whether its text had to be cut,
// and every click the window gets. With --language the text is a string key looked up in that
// language (with --count for a counted text).
#include "core/Defaults.h"
#include "platform/Platform.h"
#include "platform/PlatformLoader.h"
#include "support/DefaultsLanguageStore.h"
#include "support/L10n.h"
#include "ui/HUDToast.h"
#include "ui/HUDToastWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
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
    QCommandLineParser options;
    options.addPositionalArgument("text", "The toast's text, or a string key with --language.");
    options.addPositionalArgument("hold", "Seconds the toast stays (20).", "[hold]");
    options.addOption({"language", "Look the text up in the interface language CODE.", "code"});
    options.addOption({"count", "The count of a counted text.", "n"});
    options.process(app);
    const QStringList args = options.positionalArguments();
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: %s [--language CODE [--count N]] TEXT [HOLD_SECONDS]\n",
                     argv[0]);
        return 2;
    }
    QString text = args[0];
    if (options.isSet("language")) {
        // A language of its own, kept out of the user's defaults.
        QTemporaryDir scratch;
        Defaults defaults(scratch.filePath(QStringLiteral("defaults.json")));
        DefaultsLanguageStore store(defaults);
        L10n l10n(store);
        l10n.apply(options.value("language"));
        text = options.isSet("count") ? l10n.counted(text, options.value("count").toLongLong())
                                      : l10n.string(text);
    }
    const int hold = args.size() > 1 ? args[1].toInt() : 20;
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
        toast.show(text);
        const HUDToastWindow* window = toast.currentWindow();
        const QRect g = window->geometry();
        std::printf("toast %d %d %d %d translucent=%d\n", g.x(), g.y(), g.width(), g.height(),
                    window->isTranslucent() ? 1 : 0);
        std::printf("cut=%d\n", window->shownText() == window->text() ? 0 : 1);
        std::fflush(stdout);
    });
    QTimer::singleShot((hold + 3) * 1000, &app, &QApplication::quit);
    return app.exec();
}
