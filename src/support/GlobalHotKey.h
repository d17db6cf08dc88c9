#pragma once

#include <QKeySequence>
#include <QList>
#include <QMetaObject>
#include <QObject>

#include <functional>

class HotKeyService;
class L10n;

// The two fixed system-wide capture shortcuts: Ctrl+Shift+2 (normal) and Ctrl+Alt+Shift+2
// (high accuracy), named "capture" and "capture-hq" with their menu titles as descriptions
// for desktops that list them. GUI thread only.
class GlobalHotKey : public QObject {
    Q_OBJECT
public:
    enum class HotKeyID : quint32 { Capture = 1, CaptureHQ = 2 };

    GlobalHotKey(HotKeyService& service, const L10n& l10n, QObject* parent = nullptr);

    // The name a desktop keeps the user's keys under; never translated.
    static QString nameFor(HotKeyID id);
    // The keys of shortcut `id`, as registered and as the settings window shows them.
    static QKeySequence sequenceFor(HotKeyID id);

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

    // Writes, once per process, the debug-log line that shortcuts will not work here and
    // that the commands are the way. The service reports it itself; the root calls it for
    // a desktop that has no global shortcuts at all.
    void reportUnavailable(const QString& reason);

private:
    void registerKey(Qt::Key key, Qt::KeyboardModifiers modifiers, HotKeyID id);

    HotKeyService& m_service;
    const L10n& m_l10n;
    bool m_reportedUnavailable = false;
    QList<HotKeyID> m_hotKeyRefs;
    QMetaObject::Connection m_eventHandler;
};
