// A window of known text for the Wayland end-to-end tests, where no X image viewer runs.
//
//   text_window TITLE LINE...   dark text on white, one line per argument, 36 px DejaVu Sans
//                               in logical pixels (a scale-2 screen shows it twice as sharp),
//                               in a window just large enough; prints "shown" once drawn
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int lineStep = 64;
constexpr int firstBaseline = 60;

class TextWindow : public QRasterWindow {
public:
    explicit TextWindow(QStringList lines) : m_lines(std::move(lines)) {
        const QFontMetrics metrics(textFont());
        int width = 0;
        for (const QString& line : m_lines)
            width = std::max(width, metrics.horizontalAdvance(line));
        const QSize size(width + 60, firstBaseline + lineStep * int(m_lines.size()) - 10);
        setMinimumSize(size);
        setMaximumSize(size);
        resize(size);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(QRect(QPoint(), size()), Qt::white);
        painter.setFont(textFont());
        painter.setPen(QColor(0x11, 0x11, 0x11));
        int y = firstBaseline;
        for (const QString& line : m_lines) {
            painter.drawText(30, y, line);
            y += lineStep;
        }
        if (!m_shown) {
            m_shown = true;
            std::printf("shown\n");
            std::fflush(stdout);
        }
    }

private:
    static QFont textFont() {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(36);
        return font;
    }

    QStringList m_lines;
    bool m_shown = false;
};

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: text_window TITLE LINE...\n");
        return 64;
    }
    TextWindow window(args.mid(2));
    window.setTitle(args[1]);
    window.show();
    return QGuiApplication::exec();
}
