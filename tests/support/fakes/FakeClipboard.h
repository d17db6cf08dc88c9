#pragma once

#include "platform/ClipboardService.h"

class FakeClipboard : public ClipboardService {
public:
    void setText(const QString& text) override {
        content = text;
        ++writes;
    }
    QString text() override { return content; }
    QString content = "previous";
    int writes = 0;
};
