#include "support/GlobalHotKey.h"

#include "platform/HotKeyService.h"

GlobalHotKey::GlobalHotKey(HotKeyService& service, QObject* parent)
    : QObject(parent), m_service(service) {}

void GlobalHotKey::registerDefaultCaptureHotKey() {
    unregister();
    if (!m_eventHandler) {
        m_eventHandler =
            connect(&m_service, &HotKeyService::pressed, this, &GlobalHotKey::handlePress);
    }
    registerKey(Qt::Key_2, Qt::ControlModifier | Qt::ShiftModifier, HotKeyID::Capture);
    registerKey(Qt::Key_2, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier,
                HotKeyID::CaptureHQ);
}

void GlobalHotKey::registerKey(Qt::Key key, Qt::KeyboardModifiers modifiers, HotKeyID id) {
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
