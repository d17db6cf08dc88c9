// A stand-in for the desktop portal's Screenshot, for a headless desktop whose own portal
// cannot take a picture (KDE's asks through a Plasma dialog). It owns
// org.freedesktop.portal.Desktop on the session bus and answers each Screenshot call the way
// the real portal does: the request handle, then that request's Response with the URI of a
// fresh picture file (the caller deletes it). The picture is WIDTH x HEIGHT, white, with the
// LINES in dark text from X,Y.
//
//   screenshot_portal WIDTH HEIGHT X Y LINE...
//
// Prints "text X Y W H" (the lines' bounding box) and "ready" once it owns the name, then
// "taken" for each picture handed out.
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDir>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <cstdio>

namespace {

void print(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

} // namespace

class ScreenshotPortal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")
    Q_PROPERTY(uint version READ version)
public:
    ScreenshotPortal(QImage picture, QString folder)
        : m_picture(std::move(picture)), m_folder(std::move(folder)) {}
    uint version() const { return 2; }

public Q_SLOTS:
    QDBusObjectPath Screenshot(const QString&, const QVariantMap& options,
                               const QDBusMessage& call) {
        QString sender = call.service();
        sender.remove(0, 1).replace(u'.', u'_');
        const QString handle =
            QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                .arg(sender, options.value(QStringLiteral("handle_token")).toString());
        const QString file =
            QDir(m_folder).filePath(QStringLiteral("screenshot-%1.png").arg(++m_count));
        m_picture.save(file);
        // After the reply, as a portal's answer comes.
        QTimer::singleShot(50, this, [handle, file, to = call.service()] {
            QDBusMessage response = QDBusMessage::createTargetedSignal(
                to, handle, QStringLiteral("org.freedesktop.portal.Request"),
                QStringLiteral("Response"));
            response << 0u
                     << QVariantMap{{QStringLiteral("uri"), QUrl::fromLocalFile(file).toString()}};
            QDBusConnection::sessionBus().send(response);
            print(QStringLiteral("taken"));
        });
        return QDBusObjectPath(handle);
    }

private:
    QImage m_picture;
    QString m_folder;
    int m_count = 0;
};

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 6) {
        std::fprintf(stderr, "usage: screenshot_portal WIDTH HEIGHT X Y LINE...\n");
        return 64;
    }
    QImage picture(args[1].toInt(), args[2].toInt(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(28);
    painter.setFont(font);
    painter.setPen(QColor(20, 20, 20));
    const QFontMetrics metrics(font);
    const QPoint origin(args[3].toInt(), args[4].toInt());
    QRect box;
    for (int i = 5; i < args.size(); ++i) {
        const QRect line(origin.x(), origin.y() + (i - 5) * metrics.lineSpacing(),
                         metrics.horizontalAdvance(args[i]), metrics.height());
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, args[i]);
        box = box.united(line);
    }
    painter.end();

    QTemporaryDir folder;
    ScreenshotPortal portal(picture, folder.path());
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal,
                            QDBusConnection::ExportAllSlots |
                                QDBusConnection::ExportAllProperties) ||
        !bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"))) {
        std::fprintf(stderr, "cannot own org.freedesktop.portal.Desktop\n");
        return 1;
    }
    print(QStringLiteral("text %1 %2 %3 %4")
              .arg(box.x())
              .arg(box.y())
              .arg(box.width())
              .arg(box.height()));
    print(QStringLiteral("ready"));
    return QGuiApplication::exec();
}

#include "ScreenshotPortal.moc"
