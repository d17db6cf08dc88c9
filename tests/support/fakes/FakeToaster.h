#pragma once

#include "ui/Toaster.h"

#include <QStringList>

class FakeToaster : public Toaster {
public:
    void show(const QString& text) override { shown.append(text); }
    QStringList shown;
};
