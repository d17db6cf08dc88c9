#pragma once

#include <QList>
#include <QMetaObject>
#include <QObject>

#include <functional>

class HotKeyService;

// The two fixed system-wide capture shortcuts: Ctrl+Shift+2 (normal) and Ctrl+Alt+Shift+2
// (high accuracy). GUI thread only.
class GlobalHotKey : public QObject {
    Q_OBJECT
public:
    enum class HotKeyID : quint32 { Capture = 1, CaptureHQ = 2 };

    explicit GlobalHotKey(HotKeyService& service, QObject* parent = nullptr);

    std::function<void()> onTrigger;
    std::function<void()> onTriggerHQ;

    // (Re)registers both shortcuts; one another client holds is left out silently.
    void registerDefaultCaptureHotKey();
    // Removes every shortcut and stops listening.
    void unregister();

    // The shortcuts registered now, in registration order.
    const QList<HotKeyID>& hotKeyRefs() const { return m_hotKeyRefs; }
    bool hasEventHandler() const { return bool(m_eventHandler); }

    // One press as the service reports it; 2 is high accuracy, anything else normal.
    void handlePress(quint32 id);

private:
    void registerKey(Qt::Key key, Qt::KeyboardModifiers modifiers, HotKeyID id);

    HotKeyService& m_service;
    QList<HotKeyID> m_hotKeyRefs;
    QMetaObject::Connection m_eventHandler;
};
