#pragma once

#include "platform/HotKeyService.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QMap>
#include <QString>
#include <QVariantMap>

// System-wide shortcuts through the desktop portal's GlobalShortcuts: one session, the
// shortcuts bound with their preferred keys and descriptions, presses arriving as the
// Activated signal. The desktop decides the real keys (it may ask the user, or let them be
// changed in its settings); the session's fixed token and the shortcuts' fixed names let it
// keep those choices across restarts. Registration is asynchronous: registerHotKey() queues
// and returns; unavailable() tells, once, that the desktop has no such portal or declined.
// GUI thread; never blocks.
class PortalGlobalShortcuts : public HotKeyService {
    Q_OBJECT
public:
    enum class State { Idle, Creating, Binding, Bound, Unavailable };

    static constexpr int answerTimeoutMs = 30000; // the desktop may ask the user first
    static constexpr const char* sessionToken = "glintext";

    explicit PortalGlobalShortcuts(QDBusConnection bus, QString service = defaultService(),
                                   int timeoutMs = answerTimeoutMs, QObject* parent = nullptr);
    ~PortalGlobalShortcuts() override;

    static QString defaultService();

    bool registerHotKey(quint32 id, Qt::Key key, Qt::KeyboardModifiers modifiers) override;
    void unregisterHotKey(quint32 id) override;
    // The desktop shows the description, and keeps the user's choice of keys under the name.
    void describeHotKey(quint32 id, const QString& name, const QString& description) override;

    // The shortcuts' keys in the portal's notation ("CTRL+SHIFT+2"); empty for a key a
    // shortcut may not use.
    static QString triggerFor(Qt::Key key, Qt::KeyboardModifiers modifiers);

    State state() const { return m_state; }
    // What the desktop bound: name -> its description of the keys ("Ctrl+Shift+2").
    const QMap<QString, QString>& boundTriggers() const { return m_bound; }

Q_SIGNALS:
    // The desktop answered the binding; boundTriggers() says with what.
    void bound();

private Q_SLOTS:
    void onActivated(const QDBusMessage& message);

private:
    struct Entry {
        QString name;
        QString description;
        QString trigger;
        bool registered = false;
    };

    void scheduleSync();
    void sync();
    void createSession();
    void bindShortcuts();
    void closeSession();
    void giveUp(const QString& reason);
    bool takeBound(const QVariantMap& results);
    QVariant shortcutList() const;
    QString nameFor(quint32 id) const;

    QDBusConnection m_bus;
    QString m_service;
    int m_timeoutMs;
    State m_state = State::Idle;
    QString m_session;
    QMap<quint32, Entry> m_entries;
    QMap<QString, QString> m_bound;
    QStringList m_boundNames; // the set the desktop last bound, sorted
    bool m_syncQueued = false;
};
