#include "ui/SelectionOverlayController.h"
#include "ui/SelectionOverlayGeometry.h"
#include "ui/SelectionOverlayWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include "support/ScreenFrames.h"

namespace Geo = SelectionOverlayGeometry;

namespace {

void sendMouse(QWidget* window, QEvent::Type type, QPointF local, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    QMouseEvent event(type, local, window->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(window, &event);
}

void drag(QWidget* window, QPointF from, QPointF to) {
    sendMouse(window, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    sendMouse(window, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
    sendMouse(window, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    sendMouse(window, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

void pressKey(QWidget* window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(window, &event);
}

// Opens the overlay on `frames` and records what the completion receives.
struct OverlayRun {
    explicit OverlayRun(const QList<ScreenFrame>& frames) {
        overlay.begin(frames, [this](std::optional<QRectF> rect) {
            ++calls;
            result = rect;
        });
    }
    ~OverlayRun() {
        overlay.finish(std::nullopt);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    SelectionOverlayWindow* window(int index) const { return overlay.windows().value(index); }
    SelectionOverlayController overlay{false}; // offscreen windows take no grabs
    int calls = 0;
    std::optional<QRectF> result;
};

} // namespace

TEST(SelectionOverlayGeometry, SizeRulesForAcceptingAndLabelling) {
    EXPECT_TRUE(Geo::isAcceptable(Geo::selectionRect({10, 10}, {14, 14})));
    EXPECT_FALSE(Geo::isAcceptable(Geo::selectionRect({10, 10}, {13.9, 14})));
    EXPECT_FALSE(Geo::isAcceptable(Geo::selectionRect({10, 10}, {14, 13.9})));
    EXPECT_FALSE(Geo::isAcceptable(QRectF(0, 0, 0, 0)));

    EXPECT_FALSE(Geo::showsLabel(QRectF(0, 0, 40, 100)));
    EXPECT_FALSE(Geo::showsLabel(QRectF(0, 0, 100, 20)));
    EXPECT_TRUE(Geo::showsLabel(QRectF(0, 0, 41, 21)));
    EXPECT_EQ(Geo::labelText(QRectF(0, 0, 320.9, 180.2)), QString::fromUtf8("320 × 180"));
}

TEST(SelectionOverlayGeometry, ReverseDragGivesTheSameRectangleAndBadgeStaysOnScreen) {
    const QRectF forward = Geo::selectionRect({12.5, 30}, {300.25, 190});
    const QRectF reverse = Geo::selectionRect({300.25, 190}, {12.5, 30});
    EXPECT_EQ(forward, reverse);
    EXPECT_EQ(forward, QRectF(12.5, 30, 287.75, 160));

    const QSizeF text(50, 12);
    // Under the bottom-right corner, two points below the selection.
    const QRectF badge = Geo::badgeRect(QRectF(100, 100, 200, 100), text, 600);
    EXPECT_DOUBLE_EQ(badge.right(), 300);
    EXPECT_DOUBLE_EQ(badge.top(), 202);
    EXPECT_DOUBLE_EQ(badge.width(), 58);
    EXPECT_DOUBLE_EQ(badge.height(), 20);
    // A selection reaching the bottom keeps the badge two points above the edge.
    const QRectF low = Geo::badgeRect(QRectF(100, 500, 200, 100), text, 600);
    EXPECT_DOUBLE_EQ(low.bottom(), 598);
    const QRectF nearly = Geo::badgeRect(QRectF(100, 560, 200, 17), text, 600);
    EXPECT_DOUBLE_EQ(nearly.bottom(), 598);
}

TEST(SelectionOverlay, DragReturnsGlobalRectangleOnceAndClosesEveryWindow) {
    OverlayRun run(
        {solidFrame({0, 0, 400, 300}, Qt::white), solidFrame({400, 0, 400, 300}, Qt::white)});
    ASSERT_EQ(run.overlay.windows().size(), 2);
    EXPECT_EQ(run.window(1)->screenFrame(), QRect(400, 0, 400, 300));
    EXPECT_EQ(run.window(1)->geometry(), QRect(400, 0, 400, 300));

    // A second begin keeps the first completion and adds no windows.
    int secondCalls = 0;
    run.overlay.begin({solidFrame({0, 0, 10, 10}, Qt::red)},
                      [&](std::optional<QRectF>) { ++secondCalls; });
    ASSERT_EQ(run.overlay.windows().size(), 2);

    // Reverse drag on the second screen.
    drag(run.window(1), {210, 150}, {10, 50});
    EXPECT_EQ(run.calls, 1);
    ASSERT_TRUE(run.result);
    EXPECT_EQ(*run.result, QRectF(410, 50, 200, 100));
    EXPECT_FALSE(run.overlay.isOpen());
    run.overlay.finish(QRectF(1, 1, 5, 5));
    EXPECT_EQ(run.calls, 1);
    EXPECT_EQ(secondCalls, 0);
}

TEST(SelectionOverlay, SmallDragsClicksAndKeysCancel) {
    struct Case {
        const char* name;
        std::function<void(SelectionOverlayWindow*)> act;
        bool accepted;
        QRectF rect;
    };
    const QList<Case> cases = {
        {"exact 4x4",
         [](auto* w) {
             drag(w, {20, 20}, {24, 24});
         },
         true, QRectF(20, 20, 4, 4)},
        {"3.9 wide",
         [](auto* w) {
             drag(w, {20, 20}, {23.9, 40});
         },
         false,
         {}},
        {"3.9 high",
         [](auto* w) {
             drag(w, {20, 20}, {40, 23.9});
         },
         false,
         {}},
        {"3 px",
         [](auto* w) {
             drag(w, {20, 20}, {23, 23});
         },
         false,
         {}},
        {"click",
         [](auto* w) {
             drag(w, {20, 20}, {20, 20});
         },
         false,
         {}},
        {"escape", [](auto* w) { pressKey(w, Qt::Key_Escape); }, false, {}},
        {"ctrl+period",
         [](auto* w) { pressKey(w, Qt::Key_Period, Qt::ControlModifier); },
         false,
         {}},
        {"right button",
         [](auto* w) {
             sendMouse(w, QEvent::MouseButtonPress, {5, 5}, Qt::RightButton, Qt::RightButton);
         },
         false,
         {}},
    };
    for (const Case& c : cases) {
        OverlayRun run({solidFrame({0, 0, 300, 200}, Qt::white)});
        c.act(run.window(0));
        EXPECT_EQ(run.calls, 1) << c.name;
        EXPECT_EQ(run.result.has_value(), c.accepted) << c.name;
        if (c.accepted && run.result) {
            EXPECT_EQ(*run.result, c.rect) << c.name;
        }
        EXPECT_FALSE(run.overlay.isOpen()) << c.name;
    }
    // Other keys leave the overlay open, and so does the release of a press that began
    // before it opened; a drag after that still selects.
    OverlayRun run({solidFrame({0, 0, 300, 200}, Qt::white)});
    pressKey(run.window(0), Qt::Key_2, Qt::ControlModifier | Qt::ShiftModifier);
    sendMouse(run.window(0), QEvent::MouseButtonRelease, {30, 30}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(run.calls, 0);
    EXPECT_TRUE(run.overlay.isOpen());
    drag(run.window(0), {10, 10}, {60, 40});
    EXPECT_EQ(run.calls, 1);
    EXPECT_EQ(run.result, QRectF(10, 10, 50, 30));
}

TEST(SelectionOverlay, ScreenLeftOfPrimaryAndDragPastTheScreenEdge) {
    OverlayRun run(
        {solidFrame({0, 0, 400, 300}, Qt::white), solidFrame({-400, 0, 400, 300}, Qt::white)});
    // The drag starts on the left screen and ends over the primary one.
    drag(run.window(1), {300, 100}, {450, 180});
    ASSERT_TRUE(run.result);
    EXPECT_EQ(*run.result, QRectF(-100, 100, 150, 80));
    EXPECT_LT(run.result->x(), 0);
}

TEST(SelectionOverlay, PaintsFrozenFrameDimmedWithTheSelectionCutOut) {
    OverlayRun run({solidFrame({0, 0, 400, 300}, QColor(200, 100, 50)),
                    solidFrame({400, 0, 400, 300}, QColor(200, 100, 50))});
    SelectionOverlayWindow* first = run.window(0);
    // Drag from the first screen into the second, and hold.
    sendMouse(first, QEvent::MouseButtonPress, {300, 100}, Qt::LeftButton, Qt::LeftButton);
    sendMouse(first, QEvent::MouseMove, {500, 200}, Qt::NoButton, Qt::LeftButton);

    const QImage a = first->grab().toImage();
    const QImage b = run.window(1)->grab().toImage();
    const QColor frame(200, 100, 50);
    const QColor dimmed(qRound(200 * 0.82), qRound(100 * 0.82), qRound(50 * 0.82));
    auto near = [](QColor x, QColor y) {
        return std::abs(x.red() - y.red()) <= 2 && std::abs(x.green() - y.green()) <= 2 &&
               std::abs(x.blue() - y.blue()) <= 2;
    };
    EXPECT_TRUE(near(a.pixelColor(350, 150), frame));  // inside the selection
    EXPECT_TRUE(near(a.pixelColor(100, 150), dimmed)); // outside it
    EXPECT_TRUE(near(b.pixelColor(50, 150), frame));   // the part on the second screen
    EXPECT_TRUE(near(b.pixelColor(200, 150), dimmed));
    EXPECT_TRUE(near(a.pixelColor(300, 50), dimmed)); // above the selection
    // The outline sits just outside the selection, in the accent colour.
    const QColor outline = a.pixelColor(299, 150);
    EXPECT_GT(outline.blue(), 200) << outline.name().toStdString();
    EXPECT_LT(outline.red(), 120) << outline.name().toStdString();
    // The size label sits under the selection's bottom-right corner, on the second screen.
    EXPECT_LT(b.pixelColor(95, 212).lightness(), 120);
    EXPECT_TRUE(near(b.pixelColor(95, 240), dimmed));
    sendMouse(first, QEvent::MouseButtonRelease, {500, 200}, Qt::LeftButton, Qt::NoButton);
}
