#pragma once

#include "platform/HotKeyService.h"

#include <QList>
#include <QMap>
#include <QPair>
#include <QSet>

// Grants every combination except the `taken` ones; press() plays a key press, refuse()
// the desktop's later refusal.
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
    void describeHotKey(quint32 id, const QString& name, const QString& description) override {
        descriptions.insert(id, {name, description});
    }
    void press(quint32 id) { Q_EMIT pressed(id); }
    void refuse(const QString& reason) { Q_EMIT unavailable(reason); }

    QList<Registration> registrations;
    QSet<quint32> active;
    QList<Qt::KeyboardModifiers> taken;
    QMap<quint32, QPair<QString, QString>> descriptions; // id -> name, description
};
