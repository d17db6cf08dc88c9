#include "platform/qt/QtClipboardService.h"

#include <QClipboard>
#include <QGuiApplication>

void QtClipboardService::setText(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear(QClipboard::Clipboard);
    clipboard->setText(text, QClipboard::Clipboard);
}

QString QtClipboardService::text() {
    return QGuiApplication::clipboard()->text(QClipboard::Clipboard);
}
