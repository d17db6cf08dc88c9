#pragma once

#include <QString>

// The system clipboard (not the primary selection).
class ClipboardService {
public:
    virtual ~ClipboardService() = default;
    // Replaces the whole clipboard content with plain text.
    virtual void setText(const QString& text) = 0;
    virtual QString text() = 0;
};
