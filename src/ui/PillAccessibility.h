#pragma once

class QObject;
class QAccessibleInterface;
class QString;

// Makes the pill controls visible to assistive technology (AT-SPI on Linux): their role,
// name, value, state and the actions a screen reader can trigger.
namespace PillAccessibility {

// Registers the factory once per process; every pill control calls it when built.
void install();
// The interface for a pill control, or nullptr for any other object.
QAccessibleInterface* create(const QString& className, QObject* object);

} // namespace PillAccessibility
