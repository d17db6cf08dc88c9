#include "ui/settings/AppIconButton.h"

#include "core/TesterMode.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

// The icon is compiled into a static library, whose resources are registered by hand.
static void registerIconResource() {
    Q_INIT_RESOURCE(glintext);
}

namespace {

// The ring's frame is 8 points wider than the icon, centred on it.
constexpr int ringMargin = 4;

} // namespace

AppIconButton::AppIconButton(TesterMode& testerMode, const Clock& clock, QWidget* parent)
    : QWidget(parent), m_testerMode(testerMode), m_taps(clock) {
    registerIconResource();
    m_renderer = new QSvgRenderer(QStringLiteral(":/icons/glintext.svg"), this);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(QStringLiteral("Glintext"));
    connect(&m_testerMode, &TesterMode::enabledChanged, this, qOverload<>(&QWidget::update));
}

QSize AppIconButton::sizeHint() const {
    return {iconSize + 2 * ringMargin, iconSize + 2 * ringMargin};
}

bool AppIconButton::ringShown() const {
    return m_testerMode.enabled();
}

void AppIconButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_taps.tap())
        m_testerMode.toggle();
    event->accept();
}

void AppIconButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF icon(ringMargin, ringMargin, iconSize, iconSize);
    m_renderer->render(&painter, icon);
    if (!ringShown())
        return;
    const qreal width = 2;
    const qreal radius = iconSize * 0.225 + 3;
    const QRectF ring = QRectF(rect()).adjusted(width / 2, width / 2, -width / 2, -width / 2);
    painter.setPen(QPen(QColor(0xff, 0x3b, 0x30), width));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(ring, radius, radius);
}
