#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <optional>

// A real Secret Service for tests, private to the test process: a session bus of its own
// (DBUS_SESSION_BUS_ADDRESS is pointed at it) and, depending on the kind, a gnome-keyring-daemon
// on it. The bus address is read once per process by the D-Bus libraries, so one process gets
// one keyring: ctest runs every test in a process of its own.
//
//   const PrivateKeyring& keyring = PrivateKeyring::get(PrivateKeyring::Kind::Unlocked);
//   if (!keyring.ready()) GTEST_SKIP() << keyring.problem();
class PrivateKeyring {
public:
    enum class Kind {
        Unlocked,     // gnome-keyring with an unlocked login keyring
        NoService,    // a bus where nothing owns or can start org.freedesktop.secrets
        LockedPrompt, // the login keyring, holding the application's item "probe", locked;
                      // unlocking shows a prompt on a private X server that nobody answers
    };

    // The keyring of this process, started on first use; a second kind in the same process is
    // refused (ready() false).
    static PrivateKeyring& get(Kind kind);
    ~PrivateKeyring();

    bool ready() const { return problem_.isEmpty(); }
    QString problem() const { return problem_; }
    Kind kind() const { return kind_; }

    // Whether `name` has an owner on the private bus.
    bool hasOwner(const QString& name);
    // The secret of the item with these attributes as secret-tool sees it; nothing if absent.
    std::optional<QByteArray> lookup(const QString& schema, const QString& account);
    // How many items of `schema` the keyring holds.
    int count(const QString& schema);
    // Types the keyring's password into the unlock prompt, as the user would (LockedPrompt).
    bool answerPrompt();
    // Stores raw bytes, as another program could.
    bool store(const QString& schema, const QString& account, const QByteArray& secret);

private:
    explicit PrivateKeyring(Kind kind);
    bool start();
    bool startBus(bool activation);
    bool startDisplay();
    bool startKeyring();
    bool lockLogin();
    QProcessEnvironment environment() const;
    bool run(const QString& program, const QStringList& arguments, QByteArray* output = nullptr,
             const QByteArray& input = {});

    Kind kind_;
    QString problem_;
    QTemporaryDir dir_;
    QString busAddress_;
    QString display_;
    QProcess bus_;
    QProcess xserver_;
    QProcess keyring_;
};
