#pragma once

#include "platform/HotKeyService.h"

#include <QList>
#include <QSet>

// Grants every combination except the `taken` ones; press() plays a key press.
class FakeHotKeyService : public HotKeyService {
public:
    struct Registration {
        quint32 id;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    };

    bool registerHotKey(quint32 id, Qt::Key key, Qt::KeyboardModifiers modifiers) override {
        registrations.append({id, key, modifiers});
        if (taken.contains(modifiers))
            return false;
        active.insert(id);
        return true;
    }
    void unregisterHotKey(quint32 id) override { active.remove(id); }
    void press(quint32 id) { Q_EMIT pressed(id); }

    QList<Registration> registrations;
    QSet<quint32> active;
    QList<Qt::KeyboardModifiers> taken;
};
