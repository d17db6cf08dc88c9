#include "platform/wayland/PortalGlobalShortcuts.h"

#include "platform/wayland/PortalRequest.h"
#include "platform/wayland/PortalShortcut.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QPointer>
#include <QTimer>

#include <algorithm>

namespace {
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString sessionInterface = QStringLiteral("org.freedesktop.portal.Session");
} // namespace

PortalGlobalShortcuts::PortalGlobalShortcuts(QDBusConnection bus, QString service, int timeoutMs,
                                             QObject* parent)
    : HotKeyService(parent), m_bus(std::move(bus)), m_service(std::move(service)),
      m_timeoutMs(timeoutMs) {
    PortalShortcut::registerType();
    if (m_bus.isConnected()) {
        m_bus.connect(m_service, PortalRequest::desktopPath(), shortcutsInterface,
                      QStringLiteral("Activated"), this, SLOT(onActivated(QDBusMessage)));
    } else {
        m_state = State::Unavailable; // no session bus, no portal: say so from the start
    }
}

PortalGlobalShortcuts::~PortalGlobalShortcuts() {
    closeSession();
}

QString PortalGlobalShortcuts::defaultService() {
    return PortalRequest::desktopService();
}

QString PortalGlobalShortcuts::triggerFor(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QString name;
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        name = QChar(u'0' + (key - Qt::Key_0));
    else if (key >= Qt::Key_A && key <= Qt::Key_Z)
        name = QChar(u'a' + (key - Qt::Key_A)); // the key's xkb name
    else
        return {};
    QStringList parts;
    if (modifiers & Qt::ControlModifier)
        parts << QStringLiteral("CTRL");
    if (modifiers & Qt::AltModifier)
        parts << QStringLiteral("ALT");
    if (modifiers & Qt::ShiftModifier)
        parts << QStringLiteral("SHIFT");
    if (modifiers & Qt::MetaModifier)
        parts << QStringLiteral("LOGO");
    parts << name;
    return parts.join(u'+');
}

void PortalGlobalShortcuts::describeHotKey(quint32 id, const QString& name,
                                           const QString& description) {
    Entry& entry = m_entries[id];
    entry.name = name;
    entry.description = description;
}

QString PortalGlobalShortcuts::nameFor(quint32 id) const {
    const auto it = m_entries.constFind(id);
    if (it != m_entries.cend() && !it->name.isEmpty())
        return it->name;
    return QStringLiteral("shortcut-%1").arg(id);
}

bool PortalGlobalShortcuts::registerHotKey(quint32 id, Qt::Key key,
                                           Qt::KeyboardModifiers modifiers) {
    const QString trigger = triggerFor(key, modifiers);
    if (trigger.isEmpty() || m_state == State::Unavailable || !m_bus.isConnected())
        return false;
    Entry& entry = m_entries[id];
    entry.trigger = trigger;
    entry.registered = true;
    scheduleSync();
    return true;
}

void PortalGlobalShortcuts::unregisterHotKey(quint32 id) {
    auto it = m_entries.find(id);
    if (it == m_entries.end() || !it->registered)
        return;
    it->registered = false;
    scheduleSync();
}

// Registrations come one by one; the desktop gets them as one set, on the next turn of the
// event loop.
void PortalGlobalShortcuts::scheduleSync() {
    if (m_syncQueued)
        return;
    m_syncQueued = true;
    QPointer<PortalGlobalShortcuts> self(this);
    QTimer::singleShot(0, this, [self] {
        if (!self)
            return;
        self->m_syncQueued = false;
        self->sync();
    });
}

void PortalGlobalShortcuts::sync() {
    if (m_state == State::Unavailable || m_state == State::Creating || m_state == State::Binding)
        return; // the step under way syncs again when it ends
    QStringList wanted;
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        if (it->registered)
            wanted << nameFor(it.key());
    }
    std::sort(wanted.begin(), wanted.end());
    if (wanted.isEmpty()) {
        closeSession();
        return;
    }
    if (m_session.isEmpty())
        createSession();
    else if (wanted != m_boundNames)
        bindShortcuts();
}

QVariant PortalGlobalShortcuts::shortcutList() const {
    QList<PortalShortcut> list;
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        if (!it->registered)
            continue;
        QVariantMap options{{QStringLiteral("preferred_trigger"), it->trigger}};
        options.insert(QStringLiteral("description"),
                       it->description.isEmpty() ? nameFor(it.key()) : it->description);
        list.append({nameFor(it.key()), options});
    }
    return QVariant::fromValue(list);
}

void PortalGlobalShortcuts::createSession() {
    m_state = State::Creating;
    // The shortcuts also travel with the session: Plasma 5.27 binds them from there and
    // would otherwise open its settings at every BindShortcuts.
    const QVariantMap options{
        {QStringLiteral("session_handle_token"), QString::fromLatin1(sessionToken)},
        {QStringLiteral("shortcuts"), shortcutList()}};
    auto* request =
        new PortalRequest(m_bus, m_service, shortcutsInterface, QStringLiteral("CreateSession"), {},
                          options, m_timeoutMs, this);
    connect(request, &PortalRequest::finished, this,
            [this](const PortalRequest::Response& response) {
                using Status = PortalRequest::Response::Status;
                if (response.status != Status::Success) {
                    giveUp(response.status == Status::Failed || response.status == Status::TimedOut
                               ? response.error
                               : QStringLiteral("the desktop declined the shortcuts session"));
                    return;
                }
                m_session = response.results.value(QStringLiteral("session_handle")).toString();
                if (m_session.isEmpty()) {
                    giveUp(QStringLiteral("the desktop opened no shortcuts session"));
                    return;
                }
                m_state = State::Idle;
                if (takeBound(response.results)) {
                    m_state = State::Bound;
                    Q_EMIT bound();
                }
                sync();
            });
    request->start();
}

void PortalGlobalShortcuts::bindShortcuts() {
    m_state = State::Binding;
    auto* request = new PortalRequest(
        m_bus, m_service, shortcutsInterface, QStringLiteral("BindShortcuts"),
        {QVariant::fromValue(QDBusObjectPath(m_session)), shortcutList(), QString()}, {},
        m_timeoutMs, this);
    connect(request, &PortalRequest::finished, this,
            [this](const PortalRequest::Response& response) {
                using Status = PortalRequest::Response::Status;
                if (response.status == Status::Cancelled || response.status == Status::Ended) {
                    giveUp(QStringLiteral("the shortcuts were not allowed"));
                    return;
                }
                if (response.status != Status::Success) {
                    giveUp(response.error);
                    return;
                }
                if (!takeBound(response.results)) {
                    // An answer without the list still bound what was asked for.
                    m_bound.clear();
                    m_boundNames.clear();
                    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
                        if (it->registered) {
                            m_bound.insert(nameFor(it.key()), QString());
                            m_boundNames << nameFor(it.key());
                        }
                    }
                    std::sort(m_boundNames.begin(), m_boundNames.end());
                }
                m_state = State::Bound;
                Q_EMIT bound();
                sync();
            });
    request->start();
}

// Reads the "shortcuts" list of an answer; true when it covers every registered shortcut.
bool PortalGlobalShortcuts::takeBound(const QVariantMap& results) {
    const auto shortcuts = results.constFind(QStringLiteral("shortcuts"));
    if (shortcuts == results.cend())
        return false;
    QMap<QString, QString> bound;
    for (const PortalShortcut& shortcut : PortalShortcut::listFrom(*shortcuts))
        bound.insert(shortcut.name,
                     shortcut.options.value(QStringLiteral("trigger_description")).toString());
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        if (it->registered && !bound.contains(nameFor(it.key())))
            return false;
    }
    m_bound = bound;
    m_boundNames = bound.keys();
    std::sort(m_boundNames.begin(), m_boundNames.end());
    return true;
}

void PortalGlobalShortcuts::closeSession() {
    if (m_session.isEmpty())
        return;
    if (m_bus.isConnected()) {
        m_bus.asyncCall(QDBusMessage::createMethodCall(m_service, m_session, sessionInterface,
                                                       QStringLiteral("Close")));
    }
    m_session.clear();
    m_bound.clear();
    m_boundNames.clear();
    if (m_state != State::Unavailable)
        m_state = State::Idle;
}

void PortalGlobalShortcuts::giveUp(const QString& reason) {
    closeSession();
    m_state = State::Unavailable;
    Q_EMIT unavailable(reason);
}

void PortalGlobalShortcuts::onActivated(const QDBusMessage& message) {
    // (session_handle o, shortcut_id s, timestamp t, options a{sv}); read leniently.
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 2 || m_session.isEmpty())
        return;
    const QString session = arguments[0].canConvert<QDBusObjectPath>()
                                ? arguments[0].value<QDBusObjectPath>().path()
                                : arguments[0].toString();
    const QString shortcut = arguments[1].toString();
    if (session != m_session)
        return;
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        if (it->registered && nameFor(it.key()) == shortcut) {
            Q_EMIT pressed(it.key());
            return;
        }
    }
}
