#pragma once

#include <QObject>

// System-wide shortcuts. A registration names a key (Qt::Key_0..9, Key_A..Z) and a
// modifier set; presses arrive as pressed(id) on the GUI thread, whatever the state of the
// lock keys.
class HotKeyService : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // False when the combination cannot be had (another client holds it, or no global
    // shortcuts on this desktop); nothing is left half-registered then.
    virtual bool registerHotKey(quint32 id, Qt::Key key, Qt::KeyboardModifiers modifiers) = 0;
    virtual void unregisterHotKey(quint32 id) = 0;

Q_SIGNALS:
    void pressed(quint32 id);
};
