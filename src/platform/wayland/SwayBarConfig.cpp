#include "platform/wayland/SwayBarConfig.h"

#include <QJsonArray>

#include <cmath>

namespace {

// Enough to tell light from dark: the sRGB luminance weights on the encoded values.
qreal lightness(const QColor& colour) {
    return 0.2126 * colour.redF() + 0.7152 * colour.greenF() + 0.0722 * colour.blueF();
}

// A status-line colour this far from the background's lightness reads well on it.
constexpr qreal legibleDifference = 0.4;

} // namespace

namespace SwayBarConfig {

QColor parseColour(const QString& text) {
    if (!text.startsWith(u'#') || (text.size() != 7 && text.size() != 9))
        return {};
    bool ok = false;
    const uint value = text.mid(1).toUInt(&ok, 16);
    if (!ok)
        return {};
    // Qt reads eight digits as #aarrggbb; sway writes #rrggbbaa.
    if (text.size() == 7)
        return QColor::fromRgb(QRgb(0xff000000u | value));
    return QColor((value >> 24) & 0xff, (value >> 16) & 0xff, (value >> 8) & 0xff, value & 0xff);
}

bool showsTray(const QJsonObject& bar) {
    if (bar.value(QLatin1String("mode")).toString() == QLatin1String("invisible"))
        return false;
    const QJsonArray outputs = bar.value(QLatin1String("tray_outputs")).toArray();
    return !(outputs.size() == 1 && outputs.first().toString() == QLatin1String("none"));
}

std::optional<QColor> trayForeground(const QJsonObject& bar) {
    const QJsonObject colours = bar.value(QLatin1String("colors")).toObject();
    const QColor background = parseColour(colours.value(QLatin1String("background")).toString());
    if (!background.isValid() || background.alphaF() < 0.5)
        return std::nullopt;
    QColor text = parseColour(colours.value(QLatin1String("statusline")).toString());
    if (text.isValid() && text.alphaF() >= 0.5 &&
        std::abs(lightness(text) - lightness(background)) >= legibleDifference) {
        text.setAlpha(255);
        return text;
    }
    return lightness(background) < 0.5 ? QColor(Qt::white) : QColor(Qt::black);
}

std::optional<QColor> trayForeground(const QList<QJsonObject>& bars) {
    for (const QJsonObject& bar : bars) {
        if (showsTray(bar))
            return trayForeground(bar);
    }
    return std::nullopt;
}

} // namespace SwayBarConfig
