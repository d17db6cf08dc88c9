#include "ui/settings/KeyChips.h"

#include "ui/PillTheme.h"

#include <QEvent>
#include <QPainter>

namespace {

constexpr int capHeight = 22;
constexpr int capPadding = 8;
constexpr int capMinWidth = 22;
constexpr int capSpacing = 4;

} // namespace

KeyChips::KeyChips(QWidget* parent) : QWidget(parent) {
    QFont capFont = font();
    capFont.setPointSizeF(capFont.pointSizeF() * 0.9);
    capFont.setWeight(QFont::DemiBold);
    setFont(capFont);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QStringList KeyChips::keysOf(const QKeySequence& sequence) {
    if (sequence.isEmpty())
        return {};
    const QKeyCombination combination = sequence[0];
    QStringList caps;
    // Each modifier on its own, in the desktop's words and order.
    const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
    for (Qt::KeyboardModifier modifier :
         {Qt::MetaModifier, Qt::ControlModifier, Qt::AltModifier, Qt::ShiftModifier}) {
        if (modifiers & modifier) {
            QString name = QKeySequence(modifier).toString(QKeySequence::NativeText);
            if (name.endsWith(QLatin1Char('+')))
                name.chop(1);
            caps << name;
        }
    }
    caps << QKeySequence(combination.key()).toString(QKeySequence::NativeText);
    return caps;
}

void KeyChips::setKeys(const QStringList& keys) {
    m_keys = keys;
    m_sequence = QKeySequence();
    setAccessibleName(keys.join(QLatin1Char('+')));
    updateGeometry();
    update();
}

void KeyChips::setSequence(const QKeySequence& sequence) {
    setKeys(keysOf(sequence));
    m_sequence = sequence;
}

int KeyChips::capWidth(const QString& key) const {
    return std::max(capMinWidth, fontMetrics().horizontalAdvance(key) + 2 * capPadding);
}

QSize KeyChips::sizeHint() const {
    int width = 0;
    for (const QString& key : m_keys)
        width += capWidth(key);
    width += capSpacing * std::max<int>(0, int(m_keys.size()) - 1);
    return {width + 2, capHeight + 2};
}

void KeyChips::changeEvent(QEvent* event) {
    // Key names follow the toolkit's translation when the language changes.
    if (event->type() == QEvent::LanguageChange && !m_sequence.isEmpty())
        setSequence(m_sequence);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange)
        update();
    QWidget::changeEvent(event);
}

void KeyChips::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    qreal x = 1;
    for (const QString& key : m_keys) {
        const QRectF cap(x + 0.5, 1.5, capWidth(key) - 1, capHeight - 1);
        painter.setPen(QPen(PillTheme::fieldBorder(pal), 1));
        painter.setBrush(PillTheme::field(pal));
        painter.drawRoundedRect(cap, 5, 5);
        painter.setPen(pal.color(QPalette::WindowText));
        painter.drawText(cap, Qt::AlignCenter, key);
        x += capWidth(key) + capSpacing;
    }
}
