#include "ui/onboarding/OKWindow.h"

#include <QCloseEvent>

OKWindow::OKWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Glintext"));
}

void OKWindow::closeEvent(QCloseEvent* event) {
    if (onWillClose)
        onWillClose();
    event->accept();
}
