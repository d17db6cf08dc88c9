#include "ui/TrayIcon.h"

#include "ui/AlertBadge.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace {

// The hole for the alert dot, in points.
const QRectF badgeHole(9.0, -0.9, 8.0, 8.0);

class TrayIconEngine : public QIconEngine {
public:
    TrayIconEngine(bool badged, qreal dotScale, const QPalette& palette, bool edged)
        : m_badged(badged), m_dotScale(dotScale), m_edged(edged),
          m_normal(palette.color(QPalette::Active, QPalette::WindowText)),
          m_disabled(palette.color(QPalette::Disabled, QPalette::WindowText)),
          m_selected(palette.color(QPalette::Active, QPalette::HighlightedText)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        // Keep the icon square and centred in whatever rectangle it is given.
        const qreal side = std::min(rect.width(), rect.height());
        const QRectF target(rect.x() + (rect.width() - side) / 2.0,
                            rect.y() + (rect.height() - side) / 2.0, side, side);
        const QColor colour = colourFor(mode);
        TrayIcon::paint(*painter, target, colour, m_badged, m_dotScale,
                        m_edged ? TrayIcon::edgeColour(colour) : QColor());
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }

    // Offered to hosts that take a list of bitmaps; any other size is painted on request.
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {QSize(16, 16), QSize(22, 22), QSize(24, 24), QSize(32, 32), QSize(48, 48)};
    }

    QIconEngine* clone() const override { return new TrayIconEngine(*this); }
    QString key() const override { return QStringLiteral("GlintextTrayIcon"); }

private:
    QColor colourFor(QIcon::Mode mode) const {
        switch (mode) {
        case QIcon::Disabled:
            return m_disabled;
        case QIcon::Selected:
            return m_selected;
        default:
            return m_normal;
        }
    }

    bool m_badged;
    qreal m_dotScale;
    bool m_edged;
    QColor m_normal;
    QColor m_disabled;
    QColor m_selected;
};

QString number(qreal value) {
    return QString::number(value, 'g', 6);
}

} // namespace

namespace TrayIcon {

QPainterPath designPath() {
    QPainterPath path;
    // Top-left corner.
    path.moveTo(6, 2.5);
    path.lineTo(4, 2.5);
    path.cubicTo(3.1771, 2.5, 2.5, 3.1771, 2.5, 4);
    path.lineTo(2.5, 6);
    // Top-right corner.
    path.moveTo(14, 2.5);
    path.lineTo(16, 2.5);
    path.cubicTo(16.8229, 2.5, 17.5, 3.1771, 17.5, 4);
    path.lineTo(17.5, 6);
    // Bottom-right corner.
    path.moveTo(17.5, 14);
    path.lineTo(17.5, 16);
    path.cubicTo(17.5, 16.8229, 16.8229, 17.5, 16, 17.5);
    path.lineTo(14, 17.5);
    // Bottom-left corner.
    path.moveTo(6, 17.5);
    path.lineTo(4, 17.5);
    path.cubicTo(3.1771, 17.5, 2.5, 16.8229, 2.5, 16);
    path.lineTo(2.5, 14);
    // The letter A and its crossbar.
    path.moveTo(6.5, 13.5);
    path.lineTo(10, 6.5);
    path.lineTo(13.5, 13.5);
    path.moveTo(8, 10.5);
    path.lineTo(12, 10.5);
    return path;
}

QColor edgeColour(const QColor& colour) {
    // Relative luminance in the sRGB sense is more than this needs: the weights alone tell
    // a dark glyph from a light one.
    const qreal luminance =
        0.2126 * colour.redF() + 0.7152 * colour.greenF() + 0.0722 * colour.blueF();
    return luminance < 0.5 ? QColor(255, 255, 255, edgeAlpha) : QColor(0, 0, 0, edgeAlpha);
}

void paint(QPainter& painter, const QRectF& target, const QColor& colour, bool badged,
           qreal dotScale, const QColor& edge) {
    if (!painter.isActive() || target.isEmpty())
        return;
    const qreal unit = target.width() / iconPoints; // painter units per point
    const QTransform& world = painter.worldTransform();
    const qreal deviceScale =
        std::hypot(world.m11(), world.m12()) * painter.device()->devicePixelRatioF();
    const int layerSide = std::max(1, int(std::ceil(target.width() * deviceScale)));

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(target.topLeft());
    painter.scale(unit, unit);

    // The shape is stroked in a layer of its own so that cutting the hole leaves whatever
    // lies under the icon untouched.
    QImage layer(layerSide, layerSide, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter shape(&layer);
        shape.setRenderHint(QPainter::Antialiasing);
        const qreal layerUnit = layer.width() / iconPoints;
        shape.scale(layerUnit, layerUnit);
        shape.save();
        shape.scale(designScale, designScale);
        shape.setBrush(Qt::NoBrush);
        const QPainterPath path = designPath();
        auto stroke = [&](const QColor& penColour, qreal width) {
            QPen pen(penColour, width);
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
            shape.setPen(pen);
            shape.drawPath(path);
        };
        if (edge.isValid())
            stroke(edge, strokeWidth + 2 * edgeWidth);
        stroke(colour, strokeWidth);
        shape.restore();
        if (badged) {
            shape.setCompositionMode(QPainter::CompositionMode_DestinationOut);
            shape.setPen(Qt::NoPen);
            shape.setBrush(Qt::black);
            shape.drawEllipse(badgeHole);
            shape.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
    }
    painter.drawImage(QRectF(0, 0, iconPoints, iconPoints), layer);
    painter.restore();

    if (badged && dotScale > 0)
        AlertBadge::paint(painter, target.topLeft(), unit, dotScale);
}

QIcon image(State, bool badged, qreal dotScale, const QPalette& palette, bool edged) {
    return QIcon(new TrayIconEngine(badged, dotScale, palette, edged));
}

QIcon image(State state, bool badged) {
    return image(state, badged, 0, QGuiApplication::palette());
}

QByteArray svgDocument(const QColor& colour) {
    // Same path, same stroke, in a 16-point view box.
    QString d;
    const QPainterPath path = designPath();
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            d += QStringLiteral("M%1 %2").arg(number(e.x), number(e.y));
        } else if (e.isLineTo()) {
            d += QStringLiteral("L%1 %2").arg(number(e.x), number(e.y));
        } else if (e.isCurveTo()) {
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            d += QStringLiteral("C%1 %2 %3 %4 %5 %6")
                     .arg(number(e.x), number(e.y), number(c2.x), number(c2.y), number(end.x),
                          number(end.y));
            i += 2;
        }
    }
    const QString svg =
        QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\" "
                       "viewBox=\"0 0 16 16\">\n"
                       "  <path transform=\"scale(%1)\" d=\"%2\" fill=\"none\" stroke=\"%3\" "
                       "stroke-width=\"%4\" stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n"
                       "</svg>\n")
            .arg(number(designScale), d, colour.name(), number(strokeWidth));
    return svg.toUtf8();
}

} // namespace TrayIcon
