#include "platform/wayland/DesktopPicture.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

ScreenFrame screen(QRect geometry, qreal ratio) {
    ScreenFrame frame;
    frame.geometry = geometry;
    frame.devicePixelRatio = ratio;
    return frame;
}

// A picture of `bounds` (logical pixels) at `scale`, each screen filled with its own colour
// and a white 10x10 logical square at `marker` (logical, desktop coordinates).
QImage picture(QRect bounds, qreal scale, const QList<QPair<QRect, QColor>>& screens,
               QPoint marker) {
    QImage image(int(bounds.width() * scale), int(bounds.height() * scale), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.scale(scale, scale);
    painter.translate(-bounds.topLeft());
    for (const auto& [geometry, colour] : screens)
        painter.fillRect(geometry, colour);
    painter.fillRect(QRect(marker, QSize(10, 10)), Qt::white);
    return image;
}

} // namespace

// The sway layout of the end-to-end tests: a scale-1 output and, right of it, a scale-2
// output of half the logical size. The compositor draws the picture at scale 2.
TEST(DesktopPicture, CutsEachScreenAtItsOwnResolution) {
    const QRect left(0, 0, 1280, 720), right(1280, 0, 640, 360);
    const QImage desktop =
        picture(QRect(0, 0, 1920, 720), 2, {{left, Qt::red}, {right, Qt::blue}}, {1300, 20});
    ASSERT_EQ(desktop.size(), QSize(3840, 1440));

    const QList<ScreenFrame> frames =
        DesktopPicture::split(desktop, {screen(left, 1), screen(right, 2)});
    ASSERT_EQ(frames.size(), 2);
    EXPECT_EQ(frames[0].geometry, left);
    EXPECT_EQ(frames[0].image.size(), QSize(1280, 720)) << "scale 1: one pixel per point";
    EXPECT_EQ(frames[1].image.size(), QSize(1280, 720)) << "scale 2: two pixels per point";
    EXPECT_TRUE(frames[0].error.isEmpty());
    EXPECT_EQ(frames[0].image.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(frames[0].image.pixelColor(1279, 719), QColor(Qt::red));
    EXPECT_EQ(frames[1].image.pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(frames[1].image.pixelColor(1279, 719), QColor(Qt::blue));
    // The marker at logical (1300, 20) is at (20, 20) on the right screen: device (40, 40)
    // to (59, 59), and nothing of it leaks onto the left screen.
    EXPECT_EQ(frames[1].image.pixelColor(41, 41), QColor(Qt::white));
    EXPECT_EQ(frames[1].image.pixelColor(58, 58), QColor(Qt::white));
    EXPECT_EQ(frames[1].image.pixelColor(38, 38), QColor(Qt::blue));
    EXPECT_EQ(frames[1].image.pixelColor(61, 61), QColor(Qt::blue));
    EXPECT_EQ(frames[0].image.format(), QImage::Format_RGB32);
}

TEST(DesktopPicture, ScreenLeftOfThePrimaryHasANegativeOrigin) {
    const QRect secondary(-800, 100, 800, 600), primary(0, 0, 1024, 768);
    const QImage desktop = picture(QRect(-800, 0, 1824, 768), 1,
                                   {{secondary, Qt::green}, {primary, Qt::red}}, {-790, 110});
    const QList<ScreenFrame> frames =
        DesktopPicture::split(desktop, {screen(primary, 1), screen(secondary, 1)});
    ASSERT_EQ(frames.size(), 2);
    EXPECT_EQ(frames[0].image.size(), QSize(1024, 768));
    EXPECT_EQ(frames[0].image.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(frames[1].image.size(), QSize(800, 600));
    EXPECT_EQ(frames[1].image.pixelColor(15, 15), QColor(Qt::white));
    EXPECT_EQ(frames[1].image.pixelColor(25, 25), QColor(Qt::green));
}

TEST(DesktopPicture, WithoutAPictureEveryScreenCarriesAnError) {
    const QList<ScreenFrame> frames =
        DesktopPicture::split(QImage(), {screen({0, 0, 100, 100}, 1), screen({100, 0, 50, 50}, 2)});
    ASSERT_EQ(frames.size(), 2);
    for (const ScreenFrame& frame : frames) {
        EXPECT_TRUE(frame.image.isNull());
        EXPECT_FALSE(frame.error.isEmpty());
    }
    EXPECT_TRUE(DesktopPicture::split(QImage(10, 10, QImage::Format_RGB32), {}).isEmpty());
}
