#pragma once

#include <QLabel>

// A small capsule label that states something ("Always on", "Granted").
class Badge : public QLabel {
    Q_OBJECT
public:
    enum class Tone { Positive, Accent };

    explicit Badge(Tone tone = Tone::Positive, QWidget* parent = nullptr);
    Tone tone() const { return m_tone; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor toneColour() const;

    Tone m_tone;
};
