#pragma once

#include <QWidget>

#include <functional>

// The guide's top-level window: titled and closable, without minimise or maximise. It tells
// its owner when it is about to close, whoever closed it.
class OKWindow : public QWidget {
    Q_OBJECT
public:
    explicit OKWindow(QWidget* parent = nullptr);

    std::function<void()> onWillClose;

protected:
    void closeEvent(QCloseEvent* event) override;
};
