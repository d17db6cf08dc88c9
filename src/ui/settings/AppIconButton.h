#pragma once

#include "core/TapCounter.h"

#include <QWidget>

class QSvgRenderer;
class TesterMode;

// The application icon at the top of the settings sidebar. It hides the tester-mode
// gesture: eight quick taps switch the mode, and a red ring around the icon shows while the
// mode is on.
class AppIconButton : public QWidget {
    Q_OBJECT
public:
    static constexpr int iconSize = 56;

    AppIconButton(TesterMode& testerMode, const Clock& clock, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    bool ringShown() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    TesterMode& m_testerMode;
    TapCounter m_taps;
    QSvgRenderer* m_renderer = nullptr;
};
