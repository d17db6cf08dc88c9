#pragma once

#include "app/AppCommand.h"

#include <QObject>
#include <QString>

class QLocalServer;

// One Glintext per user session. The first process owns the session-bus name (and, for
// callers without a bus, a local socket); later processes hand their command to it.
class SingleInstance : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "io.glintext.Glintext")
public:
    static constexpr const char* serviceName = "io.glintext.Glintext";
    static constexpr const char* objectPath = "/io/glintext/Glintext";

    enum class Role {
        Primary,   // this process is the instance; commands arrive as commandReceived
        Forwarded, // another instance took the command (or was already running)
        Failed,    // another instance exists but could not be reached
    };

    // `useBus` false leaves the session bus alone (tests of the socket path).
    explicit SingleInstance(bool useBus = true, QString socketPath = defaultSocketPath(),
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    Role start(const AppCommand& command);
    // Stops listening on the local socket; the bus name goes with the process.
    void close();

    // $XDG_RUNTIME_DIR/glintext.sock, else a per-user name in the temporary folder.
    static QString defaultSocketPath();
    // Sends `command` to the instance listening at `path` and waits for its answer.
    static bool forwardOverSocket(const QString& path, const AppCommand& command,
                                  int timeoutMs = 5000);

    // The methods other processes call over the bus.
public Q_SLOTS:
    Q_SCRIPTABLE void Capture(bool highAccuracy);
    Q_SCRIPTABLE void ShowSettings();
    Q_SCRIPTABLE void OpenUrl(const QString& url);

Q_SIGNALS:
    void commandReceived(const AppCommand& command);

private:
    bool forwardOverBus(const AppCommand& command);
    bool listen();
    void acceptConnection();
    void deliver(const AppCommand& command);

    bool m_useBus;
    QString m_socketPath;
    QLocalServer* m_server = nullptr;
};
