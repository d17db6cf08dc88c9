#include "ui/GTSegmented.h"

namespace {

QList<QIcon> themeIcons(const QStringList& symbols) {
    QList<QIcon> icons;
    for (const QString& name : symbols)
        icons << QIcon::fromTheme(name);
    return icons;
}

} // namespace

GTSegmented::GTSegmented(const QStringList& symbols, const QStringList& tooltips, int width,
                         int height, QWidget* parent)
    : CapsuleSegmentedControl(themeIcons(symbols), tooltips, width, height, 6.0, parent) {
    onSelect = [this](int index) { Q_EMIT selectionPicked(index); };
}
