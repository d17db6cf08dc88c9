// Holds the Wayland clipboard through the wayland backend's data-control clipboard, with no
// window at all, for the end-to-end tests. Commands on standard input, one a line:
//
//   set TEXT      the clipboard becomes TEXT ("\n" in TEXT stands for a line break)
//   fill N        the clipboard becomes N bytes of "0123456789" repeated
//   get           prints "text TEXT" (line breaks as "\n") as another client's text reads
//   quit
//
// It prints "connected" (or "no data control", and exits 3) at start, "ok" after each
// command, and "lost" when another client takes the clipboard over.
#include "platform/qt/QtClipboardService.h"
#include "platform/wayland/DataControlClipboard.h"

#include <QGuiApplication>
#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

namespace {

void print(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

void run(DataControlClipboard& clipboard, const QString& line) {
    const QString command = line.section(u' ', 0, 0);
    const QString argument = line.section(u' ', 1);
    if (command == QLatin1String("set")) {
        clipboard.setText(QString(argument).replace(QLatin1String("\\n"), QLatin1String("\n")));
    } else if (command == QLatin1String("fill")) {
        const qsizetype size = argument.toLongLong();
        QString text;
        text.reserve(size);
        for (qsizetype i = 0; i < size; ++i)
            text.append(QChar(char16_t(u'0' + i % 10)));
        clipboard.setText(text);
    } else if (command == QLatin1String("get")) {
        print(QStringLiteral("text ") +
              clipboard.text().replace(QLatin1String("\n"), QLatin1String("\\n")));
    } else if (command == QLatin1String("quit")) {
        QCoreApplication::exit(0);
    }
    print(clipboard.isConnected() ? QStringLiteral("ok") : QStringLiteral("disconnected"));
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QtClipboardService fallback;
    auto clipboard = DataControlClipboard::connect(fallback);
    if (!clipboard) {
        print(QStringLiteral("no data control"));
        return 3;
    }
    QObject::connect(clipboard.get(), &DataControlClipboard::selectionLost,
                     [] { print(QStringLiteral("lost")); });
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char chunk[4096];
        const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (n <= 0) {
            QCoreApplication::exit(0);
            return;
        }
        pending.append(chunk, n);
        for (qsizetype end; (end = pending.indexOf('\n')) >= 0;) {
            const QString line = QString::fromUtf8(pending.left(end));
            pending.remove(0, end + 1);
            run(*clipboard, line);
        }
    });
    print(QStringLiteral("connected"));
    return QGuiApplication::exec();
}
