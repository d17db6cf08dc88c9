#pragma once

#include "app/AppCommand.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QString>

class QLocalServer;

// One Glintext per user session. The first process owns the session-bus name (and, for
// callers without a bus, a local socket); later processes hand their command to it.
//
// The socket lives only in a folder that belongs to the user and is closed to others
// ($XDG_RUNTIME_DIR, or "glintext-<uid>" in the temporary folder), and both ends check that
// the other is the same user: commands and sign-in addresses never go to, or come from,
// another local user. The instance holds a lock beside the socket for its whole life, so a
// second start never takes the socket of one that is still starting or busy.
class SingleInstance : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "io.glintext.Glintext")
public:
    static constexpr const char* serviceName = "io.glintext.Glintext";
    static constexpr const char* objectPath = "/io/glintext/Glintext";
    // How long a later process waits for the instance to take its command.
    static constexpr int answerTimeoutMs = 5000;

    enum class Role {
        Primary,   // this process is the instance; commands arrive as commandReceived
        Forwarded, // another instance took the command (or was already running)
        Failed,    // another instance exists but did not answer; problem() says more
        Unsafe,    // the socket's folder or peer is another user's; problem() says which
    };

    // `useBus` false leaves the session bus alone (tests of the socket path).
    explicit SingleInstance(bool useBus = true, QString socketPath = defaultSocketPath(),
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    Role start(const AppCommand& command);
    // Why start() failed, as one sentence for the terminal.
    QString problem() const { return m_problem; }
    // Stops listening on the local socket; the bus name and the lock go with the process.
    void close();

    // $XDG_RUNTIME_DIR/glintext.sock when that folder is the user's own and private, else
    // glintext.sock in "glintext-<uid>" of the temporary folder (created, mode 0700, when
    // missing; start() refuses it when someone else made it).
    static QString defaultSocketPath();
    // Empty when `folder` is a real folder of this user that nobody else may enter; else
    // what is wrong with it.
    static QString privateFolderProblem(const QString& folder);

    // The methods other processes call over the bus.
public Q_SLOTS:
    Q_SCRIPTABLE void Capture(bool highAccuracy);
    Q_SCRIPTABLE void ShowSettings();
    Q_SCRIPTABLE void ShowSettingsTab(const QString& tab);
    Q_SCRIPTABLE void SignIn();
    Q_SCRIPTABLE void OpenUrl(const QString& url);

Q_SIGNALS:
    void commandReceived(const AppCommand& command);

private:
    enum class Reply {
        Answered,   // the instance took the command
        NoListener, // nothing listens on the path
        Silent,     // something listens but did not answer in time
        Rejected,   // the instance answered that it could not take the command
        Foreign,    // the listener is another user's process
    };

    Role startOnBus(const AppCommand& command);
    Role startOnSocket(const AppCommand& command, QDeadlineTimer deadline);
    bool forwardOverBus(const AppCommand& command, QDeadlineTimer deadline);
    static Reply forwardOverSocket(const QString& path, const AppCommand& command,
                                   QDeadlineTimer deadline);
    bool takeLock();
    bool listen();
    void acceptConnection();
    void deliver(const AppCommand& command);

    bool m_useBus;
    QString m_socketPath;
    QString m_problem;
    QLocalServer* m_server = nullptr;
    int m_lock = -1; // open and locked while this process is the instance
};
