#include "ui/HUDToast.h"
#include "ui/HUDToastWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QImage>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

// A fifth of the real timings keeps the waits short while keeping their proportions.
constexpr HUDToast::Timing fast{28ms, 320ms, 50ms};
constexpr int slack = 60; // ms of scheduling noise allowed around a deadline

// Waits until `clock` reads `at` milliseconds.
void waitUntil(const QElapsedTimer& clock, int at) {
    while (clock.elapsed() < at)
        QTest::qWait(int(std::min<qint64>(5, at - clock.elapsed())));
}

class Toast : public ::testing::Test {
protected:
    void SetUp() override {
        HUDToast::setTiming(fast);
        HUDToast::setCompositingOverride(std::nullopt);
    }
    void TearDown() override {
        // Let any toast run out so the next test starts idle.
        QTRY_VERIFY_WITH_TIMEOUT(HUDToast::currentWindow() == nullptr, 2000);
        HUDToast::setTiming(HUDToast::defaultTiming);
    }
};

QRect availableArea() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

int ms(std::chrono::milliseconds d) {
    return int(d.count());
}

} // namespace

TEST_F(Toast, WindowIsClickThroughNonActivatingAndKeepsFocusWhereItWas) {
    EXPECT_EQ(HUDToast::defaultTiming.fadeIn, 140ms);
    EXPECT_EQ(HUDToast::defaultTiming.visible, 1600ms);
    EXPECT_EQ(HUDToast::defaultTiming.fadeOut, 250ms);

    QWidget front;
    front.resize(300, 200);
    front.show();
    front.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&front));

    HUDToast::show("Copied 3 characters");
    HUDToastWindow* toast = HUDToast::currentWindow();
    ASSERT_NE(toast, nullptr);
    const Qt::WindowFlags flags = toast->windowFlags();
    for (Qt::WindowType flag : {Qt::ToolTip, Qt::FramelessWindowHint, Qt::WindowStaysOnTopHint,
                                Qt::WindowTransparentForInput, Qt::WindowDoesNotAcceptFocus})
        EXPECT_TRUE(flags.testFlag(flag)) << flag;
    EXPECT_TRUE(toast->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(toast->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(toast->focusPolicy(), Qt::NoFocus);
    QTest::qWait(30);
    EXPECT_TRUE(toast->isVisible());
    EXPECT_EQ(QApplication::activeWindow(), &front);
}

TEST_F(Toast, CapsuleFitsItsTextAndSitsCentredAboveTheBottom) {
    const QRect area = availableArea();
    const QFontMetrics metrics(HUDToastWindow::toastFont());
    EXPECT_EQ(HUDToastWindow::toastFont().pixelSize(), 12);
    EXPECT_EQ(HUDToastWindow::toastFont().weight(), QFont::Medium);

    int previousWidth = 0;
    for (const QString text : {"Copied", "Copied 1234 characters to the clipboard, a long one"}) {
        HUDToast::show(text);
        HUDToastWindow* toast = HUDToast::currentWindow();
        ASSERT_NE(toast, nullptr);
        const QRect g = toast->geometry();
        EXPECT_EQ(g.width(), metrics.horizontalAdvance(text) + 28) << text.toStdString();
        EXPECT_EQ(g.height(), metrics.height() + 16);
        EXPECT_GT(g.width(), previousWidth);
        previousWidth = g.width();
        EXPECT_LE(std::abs((g.x() + g.width() / 2) - (area.x() + area.width() / 2)), 1);
        EXPECT_EQ(g.y() + g.height(), area.y() + area.height() - HUDToast::bottomMargin);
    }

    // Wider than the screen: elided, kept inside the margins, still centred; one line only.
    HUDToast::show(QString("word ").repeated(2000) + "\nsecond line");
    HUDToastWindow* toast = HUDToast::currentWindow();
    ASSERT_NE(toast, nullptr);
    const QRect g = toast->geometry();
    EXPECT_LE(g.width(), area.width() - 2 * HUDToast::sideMargin);
    EXPECT_GE(g.x(), area.x() + HUDToast::sideMargin);
    EXPECT_LE(std::abs((g.x() + g.width() / 2) - (area.x() + area.width() / 2)), 1);
    EXPECT_NE(toast->shownText(), toast->text());
    EXPECT_FALSE(toast->shownText().contains('\n'));

    // A single character still makes a capsule, not a pill narrower than tall.
    HUDToast::show("1");
    EXPECT_GE(HUDToast::currentWindow()->width(), HUDToast::currentWindow()->height());
}

TEST_F(Toast, OneToastFadesInStaysAndFadesOut) {
    QElapsedTimer clock;
    clock.start();
    HUDToast::show("one");
    QPointer<HUDToastWindow> toast = HUDToast::currentWindow();
    ASSERT_TRUE(toast);
    EXPECT_DOUBLE_EQ(toast->windowOpacity(), 0.0);
    QTRY_COMPARE_WITH_TIMEOUT(toast->windowOpacity(), 1.0, ms(fast.fadeIn) + slack);
    waitUntil(clock, ms(fast.visible) - slack);
    ASSERT_TRUE(toast);
    EXPECT_TRUE(toast->isVisible());
    EXPECT_FALSE(toast->isFading());
    QTRY_VERIFY_WITH_TIMEOUT(toast.isNull(), 2 * slack + ms(fast.fadeOut));
    EXPECT_EQ(HUDToast::currentWindow(), nullptr);
}

TEST_F(Toast, NewToastReplacesTheOldOneAtOnceAndKeepsItsFullTime) {
    HUDToast::show("first");
    QPointer<HUDToastWindow> first = HUDToast::currentWindow();
    QTest::qWait(ms(fast.visible) / 3);
    QElapsedTimer clock;
    clock.start();
    HUDToast::show("second");
    QPointer<HUDToastWindow> second = HUDToast::currentWindow();
    ASSERT_TRUE(first && second);
    EXPECT_NE(first, second);
    EXPECT_FALSE(first->isVisible()); // gone at once, no fade-out
    QTRY_VERIFY_WITH_TIMEOUT(first.isNull(), slack);

    // Past the moment the first toast would have hidden, the second is still fully there.
    waitUntil(clock, ms(fast.visible) - slack);
    ASSERT_TRUE(second);
    EXPECT_TRUE(second->isVisible());
    EXPECT_FALSE(second->isFading());
    EXPECT_DOUBLE_EQ(second->windowOpacity(), 1.0);
    EXPECT_EQ(HUDToast::currentWindow(), second);
    QTRY_VERIFY_WITH_TIMEOUT(second.isNull(), 2 * slack + ms(fast.fadeOut));
}

TEST_F(Toast, ShowDuringAFadeOutLeavesTheNewToastAlone) {
    HUDToast::show("fading");
    QPointer<HUDToastWindow> fading = HUDToast::currentWindow();
    QTRY_VERIFY_WITH_TIMEOUT(fading && fading->isFading() && fading->windowOpacity() < 1.0,
                             ms(fast.visible) + slack);
    HUDToast::show("fresh");
    QPointer<HUDToastWindow> fresh = HUDToast::currentWindow();
    ASSERT_TRUE(fresh);
    EXPECT_NE(fresh, fading);
    EXPECT_TRUE(fading.isNull() || !fading->isVisible());

    // Well after the old fade would have completed, the new toast is untouched.
    QTest::qWait(ms(fast.fadeOut) + ms(fast.fadeIn) + slack);
    ASSERT_TRUE(fresh);
    EXPECT_TRUE(fresh->isVisible());
    EXPECT_EQ(HUDToast::currentWindow(), fresh);
    EXPECT_DOUBLE_EQ(fresh->windowOpacity(), 1.0);
}

TEST_F(Toast, TranslucentOnlyWithACompositorOtherwiseAnOpaqueShapedCapsule) {
    // Offscreen has no compositor.
    HUDToast::show("plain");
    ASSERT_NE(HUDToast::currentWindow(), nullptr);
    EXPECT_FALSE(HUDToast::currentWindow()->isTranslucent());
    HUDToast::setCompositingOverride(true);
    HUDToast::show("composited");
    EXPECT_TRUE(HUDToast::currentWindow()->isTranslucent());
    EXPECT_TRUE(HUDToast::currentWindow()->testAttribute(Qt::WA_TranslucentBackground));

    HUDToastWindow glass("Copied 12 characters", true);
    EXPECT_TRUE(glass.mask().isEmpty());
    const QImage clear = glass.grab().toImage();
    const QPoint centre(clear.width() / 2, clear.height() / 2);
    EXPECT_EQ(qAlpha(clear.pixel(0, 0)), 0); // outside the capsule
    EXPECT_GT(qAlpha(clear.pixel(3, centre.y())), 150);
    EXPECT_LT(qAlpha(clear.pixel(3, centre.y())), 255);

    HUDToastWindow solid("Copied 12 characters", false);
    EXPECT_FALSE(solid.testAttribute(Qt::WA_TranslucentBackground));
    const QRegion shape = solid.mask();
    EXPECT_FALSE(shape.contains(QPoint(0, 0)));
    EXPECT_FALSE(shape.contains(QPoint(solid.width() - 1, solid.height() - 1)));
    EXPECT_TRUE(shape.contains(QPoint(solid.width() / 2, 0)));
    EXPECT_TRUE(shape.contains(QPoint(1, solid.height() / 2)));
    const QImage opaque = solid.grab().toImage();
    EXPECT_EQ(qAlpha(opaque.pixel(opaque.width() / 2, 1)), 255);
    EXPECT_EQ(QColor(opaque.pixel(opaque.width() / 2, 1)).rgb(),
              solid.backgroundColor().rgb()); // the body is the plain background

    // The text is drawn: some pixel in the middle row differs from the background.
    bool ink = false;
    for (int x = 0; x < opaque.width() && !ink; ++x)
        ink = QColor(opaque.pixel(x, opaque.height() / 2)).rgb() != solid.backgroundColor().rgb();
    EXPECT_TRUE(ink);
}
