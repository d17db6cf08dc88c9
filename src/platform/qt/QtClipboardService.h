#pragma once

#include "platform/ClipboardService.h"

class QtClipboardService : public ClipboardService {
public:
    void setText(const QString& text) override;
    QString text() override;
};
