#pragma once

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QJsonObject>
#include <QObject>
#include <QStringList>

#include <optional>

class QSocketNotifier;

// sway's bars as its IPC socket describes them, kept current: asked for once at start and
// updated by every barconfig_update event (a `swaymsg reload` with new colours). Inert where
// there is no sway (an empty socket path) or it hangs up. GUI thread; waits on sway only in
// waitForBars(), for a bounded time.
class SwayBarWatcher : public QObject {
    Q_OBJECT
public:
    explicit SwayBarWatcher(const QString& socketPath, QObject* parent = nullptr);
    ~SwayBarWatcher() override;

    // The tray icon's colour on the first bar that shows a tray; nothing before sway answered.
    std::optional<QColor> trayForeground() const;
    bool isConnected() const { return m_fd >= 0; }
    // Reads sway's answers until every bar is known or `timeoutMs` passed, so that the first
    // icon is drawn for the bar rather than redrawn a moment later.
    void waitForBars(int timeoutMs);

Q_SIGNALS:
    // A bar's configuration arrived or changed.
    void changed();

private:
    void send(quint32 type, const QByteArray& payload);
    void readMessages();
    void handle(quint32 type, const QByteArray& payload);
    void hangUp();

    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QByteArray m_buffer;
    QStringList m_order; // bar ids in sway's order
    QHash<QString, QJsonObject> m_bars;
};
