#include "platform/wayland/SwayBarWatcher.h"
#include "platform/wayland/WaylandDesktopState.h"
#include "platform/xdg/XdgDesktopState.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

#include <gtest/gtest.h>

namespace {

class DesktopVariable {
public:
    explicit DesktopVariable(const char* value) : m_old(qgetenv("XDG_CURRENT_DESKTOP")) {
        qputenv("XDG_CURRENT_DESKTOP", value);
    }
    ~DesktopVariable() { qputenv("XDG_CURRENT_DESKTOP", m_old); }

private:
    QByteArray m_old;
};

// sway's side of its IPC socket: answers GET_BAR_CONFIG with `bars`, and can send a bar's
// barconfig_update event as `swaymsg reload` does.
class FakeSway {
public:
    explicit FakeSway(QList<QByteArray> bars) : m_bars(std::move(bars)) {
        path = dir.filePath(QStringLiteral("sway-ipc.sock"));
        EXPECT_TRUE(server.listen(path));
        QObject::connect(&server, &QLocalServer::newConnection, [this] {
            client = server.nextPendingConnection();
            QObject::connect(client, &QLocalSocket::readyRead, [this] { answer(); });
        });
    }

    void send(quint32 type, const QByteArray& payload) {
        QByteArray message("i3-ipc");
        const quint32 length = quint32(payload.size());
        message.append(reinterpret_cast<const char*>(&length), 4);
        message.append(reinterpret_cast<const char*>(&type), 4);
        client->write(message + payload);
        client->flush();
    }

    QTemporaryDir dir;
    QString path;
    QLocalServer server;
    QLocalSocket* client = nullptr;
    QList<QByteArray> requests;

private:
    void answer() {
        m_buffer += client->readAll();
        while (m_buffer.size() >= 14) {
            quint32 length = 0, type = 0;
            std::memcpy(&length, m_buffer.constData() + 6, 4);
            std::memcpy(&type, m_buffer.constData() + 10, 4);
            if (m_buffer.size() < 14 + qsizetype(length))
                return;
            const QByteArray payload = m_buffer.mid(14, length);
            m_buffer.remove(0, 14 + length);
            requests.append(QByteArray::number(type) + ' ' + payload);
            if (type == 2) {
                send(2, R"({"success": true})");
            } else if (type == 6 && payload.isEmpty()) {
                QByteArrayList ids;
                for (qsizetype i = 0; i < m_bars.size(); ++i)
                    ids.append("\"bar-" + QByteArray::number(i) + '"');
                send(6, '[' + ids.join(',') + ']');
            } else if (type == 6) {
                const int index = payload.mid(4).toInt();
                send(6, m_bars.value(index));
            }
        }
    }

    QList<QByteArray> m_bars;
    QByteArray m_buffer;
};

} // namespace

// GNOME's top bar is dark (the Classic session's is light); other desktops do not say.
TEST(PanelForeground, LightOnGnomesDarkBar) {
    XdgDesktopState desktop;
    for (const char* gnome : {"GNOME", "ubuntu:GNOME", "gnome"}) {
        DesktopVariable variable(gnome);
        EXPECT_EQ(desktop.panelForeground(), QColor(Qt::white)) << gnome;
    }
    for (const char* other : {"GNOME-Classic:GNOME", "KDE", "sway", "XFCE", ""}) {
        DesktopVariable variable(other);
        EXPECT_EQ(desktop.panelForeground(), std::nullopt) << other;
    }
}

// The watcher asks sway for its bars, follows a reload that recolours the bar, and leaves
// the question to the desktop once sway hangs up or was never there.
TEST(PanelForeground, FollowsSwaysBarThroughItsSocket) {
    FakeSway sway({R"({"id":"bar-0","mode":"dock","tray_outputs":["none"],
                       "colors":{"background":"#ffffffff"}})",
                   R"({"id":"bar-1","mode":"dock","colors":{"background":"#000000ff",
                       "statusline":"#ffffffff"}})"});
    SwayBarWatcher watcher(sway.path);
    ASSERT_TRUE(watcher.isConnected());
    EXPECT_TRUE(QTest::qWaitFor([&] { return watcher.trayForeground().has_value(); }, 5000));
    EXPECT_EQ(watcher.trayForeground(), QColor(Qt::white)); // bar-1: bar-0 has no tray
    EXPECT_TRUE(sway.requests.contains(R"(2 ["barconfig_update"])"));

    QSignalSpy changed(&watcher, &SwayBarWatcher::changed);
    sway.send(0x80000004, R"({"id":"bar-1","colors":{"background":"#eeeeeeff"}})");
    EXPECT_TRUE(changed.wait(5000));
    EXPECT_EQ(watcher.trayForeground(), QColor(Qt::black));

    sway.client->disconnectFromServer();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !watcher.isConnected(); }, 5000));

    DesktopVariable variable("sway");
    WaylandDesktopState noSway(sway.dir.filePath(QStringLiteral("missing.sock")));
    EXPECT_EQ(noSway.panelForeground(), std::nullopt);
    WaylandDesktopState outside(QString{});
    EXPECT_EQ(outside.panelForeground(), std::nullopt);
}
