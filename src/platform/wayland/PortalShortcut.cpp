#include "platform/wayland/PortalShortcut.h"

#include <QDBusMetaType>

void PortalShortcut::registerType() {
    static const bool registered = [] {
        qDBusRegisterMetaType<PortalShortcut>();
        qDBusRegisterMetaType<QList<PortalShortcut>>();
        return true;
    }();
    (void)registered;
}

QList<PortalShortcut> PortalShortcut::listFrom(const QVariant& value) {
    if (value.canConvert<QDBusArgument>()) {
        const QDBusArgument argument = value.value<QDBusArgument>();
        if (argument.currentSignature() == QLatin1String("a(sa{sv})"))
            return qdbus_cast<QList<PortalShortcut>>(argument);
        return {};
    }
    return value.value<QList<PortalShortcut>>();
}

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut) {
    argument.beginStructure();
    argument << shortcut.name << shortcut.options;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut) {
    argument.beginStructure();
    argument >> shortcut.name >> shortcut.options;
    argument.endStructure();
    return argument;
}
