#include "ui/AlertBadge.h"
#include "ui/TrayIcon.h"

#include <QFile>
#include <QPainter>
#include <QSignalSpy>
#include <QSvgRenderer>

#include <gtest/gtest.h>

namespace {

QImage render(bool badged, qreal dotScale, int side, qreal dpr = 1.0) {
    QPalette palette;
    palette.setColor(QPalette::WindowText, Qt::black);
    return TrayIcon::image(TrayIcon::State::Active, badged, dotScale, palette)
        .pixmap(QSize(side, side), dpr)
        .toImage()
        .convertToFormat(QImage::Format_ARGB32);
}

TEST(TrayIconTest, CrispAtEveryScaleWithBadgeHole) {
    // At scale 2 the icon is painted at 32 device pixels, not blown up from 16: the 2.4 px
    // stroke of the left edge (x = 4 px) covers two pixel columns fully.
    const QImage twice = render(false, 0, 16, 2.0);
    ASSERT_EQ(twice.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(twice.pixel(3, 8)), 255);
    EXPECT_EQ(qAlpha(twice.pixel(4, 8)), 255);
    EXPECT_EQ(qAlpha(twice.pixel(8, 8)), 0);
    const QImage large = render(false, 0, 64);
    EXPECT_EQ(qAlpha(large.pixel(8, 32 - 16)), 255); // a vertical stroke, 64 px

    // The top-right corner lies in the badge hole: gone when badged, dot drawn into it.
    const QPoint corner(int(12.8 * 4), int(2.0 * 4)); // (16, 2.5) design units at 64 px
    EXPECT_EQ(qAlpha(large.pixel(corner)), 255);
    EXPECT_EQ(qAlpha(render(true, 0, 64).pixel(corner)), 0);
    const QImage dotted = render(true, 1.0, 64);
    EXPECT_EQ(dotted.pixelColor(13 * 4, int(3.1 * 4)).red(), 255);
    EXPECT_LT(dotted.pixelColor(13 * 4, int(3.1 * 4)).green(), 80);
    EXPECT_EQ(qAlpha(dotted.pixel(8, 32 - 16)), 255); // the rest is untouched

    // The hole is cut from the icon only, never from what lies under it.
    QImage panel(64, 64, QImage::Format_ARGB32);
    panel.fill(Qt::white);
    {
        QPainter p(&panel);
        TrayIcon::paint(p, QRectF(0, 0, 64, 64), Qt::black, true);
    }
    EXPECT_EQ(panel.pixelColor(corner), QColor(Qt::white));
}

TEST(TrayIconTest, DesktopIconFileMatchesThePath) {
    QFile file(QStringLiteral(GLINTEXT_SOURCE_DIR "/data/glintext.svg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), TrayIcon::svgDocument());

    // And the SVG draws what the painter draws.
    QSvgRenderer svg(TrayIcon::svgDocument());
    ASSERT_TRUE(svg.isValid());
    QImage fromSvg(64, 64, QImage::Format_ARGB32);
    fromSvg.fill(Qt::transparent);
    {
        QPainter p(&fromSvg);
        svg.render(&p);
    }
    const QImage painted = render(false, 0, 64);
    int differing = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            differing += std::abs(qAlpha(fromSvg.pixel(x, y)) - qAlpha(painted.pixel(x, y))) > 64;
    EXPECT_LT(differing, 20);
}

TEST(AlertBadgeTest, HeartbeatAndReduceMotion) {
    EXPECT_DOUBLE_EQ(AlertBadge::scaleAt(0.0), 1.0);
    qreal lowest = 1.0, second = 1.0;
    bool restAtOne = true;
    for (int i = 0; i <= 1000; ++i) {
        const qreal phase = i / 1000.0, s = AlertBadge::scaleAt(phase);
        EXPECT_GE(s, 0.74 - 1e-9);
        EXPECT_LE(s, 1.0 + 1e-9);
        lowest = std::min(lowest, s);
        if (phase > 0.4 && phase < 0.55) // the second, shallower beat
            second = std::min(second, s);
        if (phase > 0.62)
            restAtOne &= qFuzzyCompare(s, 1.0);
    }
    EXPECT_NEAR(lowest, 0.74, 0.005);
    EXPECT_NEAR(second, 0.82, 0.005);
    EXPECT_TRUE(restAtOne);

    AlertBadge badge;
    QSignalSpy changed(&badge, &AlertBadge::changed);
    badge.update(true, true); // reduce motion: a still dot
    EXPECT_TRUE(badge.isVisible() && !badge.isPulsing());
    EXPECT_EQ(badge.currentScale(), 1.0);
    badge.update(true, false);
    badge.update(true, false); // shown again: the pulse is not restarted
    EXPECT_TRUE(badge.isPulsing());
    EXPECT_EQ(changed.size(), 1); // appeared once; frames follow from the pulse
    badge.update(false, false);
    EXPECT_FALSE(badge.isVisible() || badge.isPulsing());
}

} // namespace
