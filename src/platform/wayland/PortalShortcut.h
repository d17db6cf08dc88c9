#pragma once

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

// One entry of the GlobalShortcuts portal's shortcut lists, D-Bus type (sa{sv}): a name
// and its options ("description", "preferred_trigger", "trigger_description").
struct PortalShortcut {
    QString name;
    QVariantMap options;

    // Registers the D-Bus type; idempotent.
    static void registerType();
    // The list in a portal answer's "shortcuts" entry; empty when absent or malformed.
    static QList<PortalShortcut> listFrom(const QVariant& value);
};

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut);

Q_DECLARE_METATYPE(PortalShortcut)
