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

// The icon on a panel: `glyph` is the toolkit's text colour, `panel` the bar's colour.
QImage onPanel(QColor glyph, QColor panel, int side = 22) {
    QPalette palette;
    palette.setColor(QPalette::WindowText, glyph);
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(panel);
    QPainter p(&image);
    p.drawPixmap(0, 0, TrayIcon::image(TrayIcon::State::Active, false, 0, palette).pixmap(side));
    return image;
}

int pixelsFarFrom(const QImage& image, QColor colour) {
    int far = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            far += std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                       std::abs(c.blue() - colour.blue()) >
                   150;
        }
    return far;
}

// A glyph in the wrong tone for its panel (the toolkit's black text on swaybar's black bar,
// white text on a white panel) still shows through its edge; where the tone is right, the
// edge melts into the panel and the icon looks as it does without one.
TEST(TrayIconTest, SeenOnPanelsOfEitherTone) {
    EXPECT_GT(pixelsFarFrom(onPanel(Qt::black, Qt::black), Qt::black), 40);
    EXPECT_GT(pixelsFarFrom(onPanel(Qt::white, Qt::white), Qt::white), 40);

    for (const QColor& glyph : {QColor(Qt::black), QColor(Qt::white)}) {
        const QColor panel = glyph == Qt::black ? QColor(Qt::white) : QColor(Qt::black);
        QImage plain(22, 22, QImage::Format_ARGB32);
        plain.fill(panel);
        {
            QPainter p(&plain);
            TrayIcon::paint(p, QRectF(0, 0, 22, 22), glyph, false);
        }
        const QImage edged = onPanel(glyph, panel);
        int largest = 0;
        for (int y = 0; y < 22; ++y)
            for (int x = 0; x < 22; ++x) {
                const QColor a = edged.pixelColor(x, y), b = plain.pixelColor(x, y);
                largest =
                    std::max({largest, std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                              std::abs(a.blue() - b.blue())});
            }
        EXPECT_LE(largest, 3) << "the edge shows on a panel of the right tone";
    }
    EXPECT_EQ(TrayIcon::edgeColour(QColor(40, 40, 40)).rgb(), QColor(Qt::white).rgb());
    EXPECT_EQ(TrayIcon::edgeColour(QColor(230, 230, 200)).rgb(), QColor(Qt::black).rgb());
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
    // The path itself, without the tray's contrasting edge.
    QImage painted(64, 64, QImage::Format_ARGB32);
    painted.fill(Qt::transparent);
    {
        QPainter p(&painted);
        TrayIcon::paint(p, QRectF(0, 0, 64, 64), Qt::black, false);
    }
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
