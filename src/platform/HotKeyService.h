#pragma once

#include <QObject>

// System-wide shortcuts. A registration names a key (Qt::Key_0..9, Key_A..Z) and a
// modifier set; presses arrive as pressed(id) on the GUI thread, whatever the state of the
// lock keys. Where the desktop answers later (a portal), registration succeeds at first and
// unavailable() may follow.
class HotKeyService : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // False when the combination cannot be had (another client holds it, or no global
    // shortcuts on this desktop); nothing is left half-registered then.
    virtual bool registerHotKey(quint32 id, Qt::Key key, Qt::KeyboardModifiers modifiers) = 0;
    virtual void unregisterHotKey(quint32 id) = 0;
    // A stable name and a description for shortcut `id`, for desktops that list an
    // application's shortcuts and let the user change them (and keep the change under that
    // name); given before registering it. Services that grab keys themselves ignore it.
    virtual void describeHotKey(quint32 id, const QString& name, const QString& description) {
        Q_UNUSED(id)
        Q_UNUSED(name)
        Q_UNUSED(description)
    }

Q_SIGNALS:
    void pressed(quint32 id);
    // At most once: no presses will come from this desktop after all, and why.
    void unavailable(const QString& reason);
};
