#include "support/AppLanguage.h"
#include "support/L10n.h"
#include "support/LocalizationTables.h"
#include "ui/HUDToast.h"
#include "ui/HUDToastWindow.h"

#include "support/fakes/FakeDesktopState.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QPointer>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

// A fifth of the real timings keeps the waits short and their proportions.
constexpr HUDToast::Timing fast{28ms, 320ms, 50ms};
constexpr int slack = 60; // ms of scheduling noise allowed around a deadline

void waitUntil(const QElapsedTimer& clock, qint64 at) {
    while (clock.elapsed() < at)
        QTest::qWait(5);
}

class Toast : public ::testing::Test {
protected:
    void TearDown() override { QTRY_VERIFY_WITH_TIMEOUT(toast.currentWindow() == nullptr, 2000); }

    FakeDesktopState desktop; // offscreen: no compositor
    HUDToast toast{desktop, fast};
};

} // namespace

TEST_F(Toast, ClickThroughNonActivatingCapsuleCentredAboveTheBottom) {
    EXPECT_EQ(HUDToast::defaultTiming.fadeIn, 140ms);
    EXPECT_EQ(HUDToast::defaultTiming.visible, 1600ms);
    EXPECT_EQ(HUDToast::defaultTiming.fadeOut, 250ms);
    QWidget front;
    front.show();
    front.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&front));

    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QFontMetrics metrics(HUDToastWindow::toastFont());
    int previousWidth = 0;
    for (const QString text : {"Copied", "Copied 1234 characters, and a longer message"}) {
        toast.show(text);
        HUDToastWindow* window = toast.currentWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->windowFlags().testFlags(HUDToastWindow::toastFlags));
        EXPECT_TRUE(window->testAttribute(Qt::WA_ShowWithoutActivating));
        const QRect g = window->geometry();
        EXPECT_EQ(g.size(), QSize(metrics.horizontalAdvance(text) + 28, metrics.height() + 16));
        EXPECT_GT(g.width(), previousWidth);
        previousWidth = g.width();
        EXPECT_LE(std::abs(g.center().x() - area.center().x()), 1);
        EXPECT_EQ(g.bottom(), area.bottom() - HUDToast::bottomMargin);
    }
    QTest::qWait(30);
    EXPECT_EQ(QApplication::activeWindow(), &front);

    // Wider than the screen: elided to fit between the margins, on one line.
    toast.show(QString("word ").repeated(2000) + "\nsecond line");
    const QRect g = toast.currentWindow()->geometry();
    EXPECT_GE(g.x(), area.x() + HUDToast::sideMargin);
    EXPECT_LE(std::abs(g.center().x() - area.center().x()), 1);
    EXPECT_FALSE(toast.currentWindow()->shownText().contains('\n'));
}

TEST_F(Toast, NewToastReplacesTheOldOneAtOnceAndKeepsItsFullTime) {
    toast.show("first");
    QPointer<HUDToastWindow> first = toast.currentWindow();
    QTRY_COMPARE_WITH_TIMEOUT(first->windowOpacity(), 1.0, int(fast.fadeIn.count()) + slack);
    QTest::qWait(int(fast.visible.count()) / 3);
    QElapsedTimer clock;
    clock.start();
    toast.show("second");
    QPointer<HUDToastWindow> second = toast.currentWindow();
    ASSERT_TRUE(first && second && first != second);
    EXPECT_FALSE(first->isVisible()); // at once, no fade-out
    QTRY_VERIFY_WITH_TIMEOUT(first.isNull(), slack);

    // Past the moment the first would have hidden, the second is still fully there.
    waitUntil(clock, fast.visible.count() - slack);
    ASSERT_TRUE(second);
    EXPECT_TRUE(second->isVisible() && !second->isFading());
    EXPECT_DOUBLE_EQ(second->windowOpacity(), 1.0);
    QTRY_VERIFY_WITH_TIMEOUT(second.isNull(), 2 * slack + int(fast.fadeOut.count()));
}

TEST_F(Toast, ShowDuringAFadeOutLeavesTheNewToastAlone) {
    toast.show("fading");
    QPointer<HUDToastWindow> fading = toast.currentWindow();
    QTRY_VERIFY_WITH_TIMEOUT(fading && fading->isFading() && fading->windowOpacity() < 1.0,
                             int(fast.visible.count()) + slack);
    toast.show("fresh");
    QPointer<HUDToastWindow> fresh = toast.currentWindow();
    EXPECT_TRUE(fading.isNull() || !fading->isVisible());
    QTest::qWait(int((fast.fadeOut + fast.fadeIn).count()) + slack);
    ASSERT_TRUE(fresh);
    EXPECT_EQ(toast.currentWindow(), fresh);
    EXPECT_TRUE(fresh->isVisible());
    EXPECT_DOUBLE_EQ(fresh->windowOpacity(), 1.0);
}

TEST_F(Toast, TranslucentOnlyWithACompositorOtherwiseAnOpaqueShapedCapsule) {
    toast.show("offscreen has no compositor");
    EXPECT_FALSE(toast.currentWindow()->isTranslucent());
    desktop.compositing = true; // asked afresh for every toast
    toast.show("composited");
    EXPECT_TRUE(toast.currentWindow()->testAttribute(Qt::WA_TranslucentBackground));

    HUDToastWindow glass("Copied 12 characters", true);
    const QImage clear = glass.grab().toImage();
    EXPECT_TRUE(glass.mask().isEmpty());
    EXPECT_EQ(qAlpha(clear.pixel(0, 0)), 0); // outside the capsule
    EXPECT_GT(qAlpha(clear.pixel(3, clear.height() / 2)), 150);
    EXPECT_LT(qAlpha(clear.pixel(3, clear.height() / 2)), 255);

    HUDToastWindow solid("Copied 12 characters", false);
    const QRegion shape = solid.mask();
    EXPECT_FALSE(shape.contains(QPoint(0, 0)) || shape.contains(solid.rect().bottomRight()));
    EXPECT_TRUE(shape.contains(QPoint(solid.width() / 2, 0)));
    const QImage opaque = solid.grab().toImage();
    EXPECT_EQ(opaque.pixel(opaque.width() / 2, 1), solid.backgroundColor().rgba());
}

TEST(ToastTexts, EveryToastFitsUncutOnAnEightHundredPixelScreenInEveryLanguage) {
    constexpr int screenWidth = 800;
    QStringList keys;
    for (auto it = LocalizationTables::en().cbegin(); it != LocalizationTables::en().cend(); ++it) {
        if (it.key().startsWith(QLatin1String("toast.")))
            keys.append(it.key());
    }
    ASSERT_EQ(keys.size(), 11);
    for (AppLanguage language : AppLanguage::allCases()) {
        for (const QString& key : keys) {
            const QString text = L10n::string(key, language).contains(QLatin1String("%d"))
                                     ? L10n::counted(key, 128000, language)
                                     : L10n::string(key, language);
            HUDToastWindow toast(text, false, screenWidth - 2 * HUDToast::sideMargin);
            EXPECT_EQ(toast.shownText(), text)
                << language.id().toStdString() << " " << key.toStdString();
        }
    }
}
