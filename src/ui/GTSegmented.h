#pragma once

#include "ui/CapsuleSegmentedControl.h"

// A segmented choice of icons named by the desktop's icon theme, bound to an index:
// `selectionPicked` when the user chooses, `setSelection` to follow a change made elsewhere.
class GTSegmented : public CapsuleSegmentedControl {
    Q_OBJECT
public:
    GTSegmented(const QStringList& symbols, const QStringList& tooltips, int width, int height,
                QWidget* parent = nullptr);

    void setSelection(int index) { setSelectedIndex(index); }

Q_SIGNALS:
    void selectionPicked(int index);
};
