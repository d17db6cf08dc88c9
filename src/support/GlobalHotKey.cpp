#include "support/GlobalHotKey.h"

#include "core/DebugLog.h"
#include "platform/HotKeyService.h"
#include "support/L10n.h"

GlobalHotKey::GlobalHotKey(HotKeyService& service, const L10n& l10n, QObject* parent)
    : QObject(parent), m_service(service), m_l10n(l10n) {
    connect(&m_service, &HotKeyService::unavailable, this, &GlobalHotKey::reportUnavailable);
}

QString GlobalHotKey::nameFor(HotKeyID id) {
    return id == HotKeyID::CaptureHQ ? QStringLiteral("capture-hq") : QStringLiteral("capture");
}

QKeySequence GlobalHotKey::sequenceFor(HotKeyID id) {
    const Qt::KeyboardModifiers hq = id == HotKeyID::CaptureHQ ? Qt::AltModifier : Qt::NoModifier;
    return QKeySequence(QKeyCombination(Qt::ControlModifier | hq | Qt::ShiftModifier, Qt::Key_2));
}

void GlobalHotKey::registerDefaultCaptureHotKey() {
    unregister();
    if (!m_eventHandler) {
        m_eventHandler =
            connect(&m_service, &HotKeyService::pressed, this, &GlobalHotKey::handlePress);
    }
    for (HotKeyID id : {HotKeyID::Capture, HotKeyID::CaptureHQ}) {
        const QKeyCombination keys = sequenceFor(id)[0];
        registerKey(keys.key(), keys.keyboardModifiers(), id);
    }
}

void GlobalHotKey::registerKey(Qt::Key key, Qt::KeyboardModifiers modifiers, HotKeyID id) {
    const QString title = m_l10n.string(id == HotKeyID::CaptureHQ ? QStringLiteral("menu.captureHQ")
                                                                  : QStringLiteral("menu.capture"));
    m_service.describeHotKey(quint32(id), nameFor(id), title);
    if (m_service.registerHotKey(quint32(id), key, modifiers))
        m_hotKeyRefs.append(id);
}

void GlobalHotKey::unregister() {
    for (HotKeyID id : std::as_const(m_hotKeyRefs))
        m_service.unregisterHotKey(quint32(id));
    m_hotKeyRefs.clear();
    if (m_eventHandler) {
        disconnect(m_eventHandler);
        m_eventHandler = {};
    }
}

void GlobalHotKey::handlePress(quint32 id) {
    if (id == quint32(HotKeyID::CaptureHQ)) {
        if (onTriggerHQ)
            onTriggerHQ();
    } else if (onTrigger) {
        onTrigger();
    }
}

void GlobalHotKey::reportUnavailable(const QString& reason) {
    if (m_reportedUnavailable)
        return;
    m_reportedUnavailable = true;
    DebugLog::log(QStringLiteral("Hotkey: no global shortcuts on this desktop (%1); bind "
                                 "`glintext capture` and `glintext capture --hq` in its keyboard "
                                 "settings")
                      .arg(reason));
}
