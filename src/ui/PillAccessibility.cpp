#include "ui/PillAccessibility.h"

#include "ui/CapsuleSegmentedControl.h"
#include "ui/PillAccessible.h"
#include "ui/PillButton.h"
#include "ui/PulldownPill.h"

#include <QAccessible>
#include <mutex>

namespace PillAccessibility {

QAccessibleInterface* create(const QString&, QObject* object) {
    // Checked by type, not by class name, so subclasses are covered too.
    if (auto* pill = qobject_cast<PulldownPill*>(object))
        return new PillAccessible(pill, PillAccessible::Kind::Dropdown);
    if (auto* button = qobject_cast<PillButton*>(object))
        return new PillAccessible(button, PillAccessible::Kind::Button);
    if (auto* segmented = qobject_cast<CapsuleSegmentedControl*>(object))
        return new PillAccessible(segmented, PillAccessible::Kind::Segmented);
    return nullptr;
}

void install() {
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(&create); });
}

} // namespace PillAccessibility
