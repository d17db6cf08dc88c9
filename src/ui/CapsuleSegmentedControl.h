#pragma once

#include <QIcon>
#include <QList>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>

// A capsule divided into equal segments, one icon each, one of them selected. A click (or
// Left/Right/Home/End with the focus) selects a segment and calls `onSelect`; choosing the
// selected one again calls nothing.
class CapsuleSegmentedControl : public QWidget {
    Q_OBJECT
public:
    CapsuleSegmentedControl(const QList<QIcon>& images, const QStringList& tooltips, int width,
                            int height, std::optional<qreal> cornerRadius = std::nullopt,
                            QWidget* parent = nullptr);

    std::function<void(int)> onSelect;

    int segmentCount() const { return int(m_icons.size()); }
    int selectedIndex() const { return m_selected; }
    // Follows a change made elsewhere: no `onSelect`.
    void setSelectedIndex(int index);
    QString tooltipAt(int index) const { return m_tooltips.value(index); }
    // The segment under x, clamped to the existing ones.
    int indexAt(qreal x) const;
    // Selects `index` as a click does: `onSelect` only when it changes the selection.
    void choose(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    qreal radius() const;

    QList<QIcon> m_icons;
    QStringList m_tooltips;
    int m_selected = 0;
    std::optional<qreal> m_cornerRadius;
};
