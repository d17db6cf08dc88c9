#include "ui/GTDropdown.h"
#include "ui/GTPillButton.h"
#include "ui/GTSegmented.h"
#include "ui/PillTheme.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QGraphicsOpacityEffect>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QPalette paletteWithWindow(const QColor& window, const QColor& text) {
    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    return palette;
}

QList<GTDropdown::Option> limits() {
    return {{25, "25 items"}, {50, "50 items"}, {100, "100 items"}};
}

QList<QAction*> checkedItems(QMenu* menu) {
    QList<QAction*> checked;
    for (QAction* item : menu->actions()) {
        if (item->isChecked())
            checked << item;
    }
    return checked;
}

void showAndWait(QWidget& widget) {
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
}

TEST(PillThemeTest, ColoursFollowTheWindowColour) {
    const QPalette dark = paletteWithWindow(QColor(30, 30, 30), Qt::white);
    const QPalette light = paletteWithWindow(QColor(236, 236, 236), Qt::black);
    EXPECT_TRUE(PillTheme::isDark(dark));
    EXPECT_FALSE(PillTheme::isDark(light));
    EXPECT_EQ(PillTheme::field(dark).rgb(), QColor(Qt::white).rgb());
    EXPECT_NEAR(PillTheme::field(dark).alphaF(), 0.06, 0.003);
    EXPECT_EQ(PillTheme::field(light).rgb(), QColor(Qt::black).rgb());
    EXPECT_NEAR(PillTheme::field(light).alphaF(), 0.05, 0.003);
    EXPECT_NEAR(PillTheme::fieldBorder(dark).alphaF(), 0.12, 0.003);
    EXPECT_NEAR(PillTheme::segOverlay(dark).alphaF(), 0.052, 0.003);
    EXPECT_NEAR(PillTheme::segOverlay(light).alphaF(), 0.075, 0.003);
    EXPECT_EQ(PillTheme::accent(), QColor(10, 132, 255));
}

TEST(PillThemeTest, OpenControlRepaintsInTheNewAppearance) {
    // The pill is drawn over the window colour: in dark it comes out lighter than the window
    // (white at 6 %), in light darker; a palette change while shown recolours it.
    QWidget window;
    window.setAutoFillBackground(true);
    window.setPalette(paletteWithWindow(QColor(30, 30, 30), Qt::white));
    GTDropdown pill(&window);
    pill.setGeometry(10, 10, 120, 24);
    showAndWait(window);
    const QPoint inside(20, 14); // clear of the border, the label and the chevron
    const QColor darkFill = window.grab().toImage().pixelColor(inside);
    EXPECT_NEAR(darkFill.red(), 30 + (255 - 30) * 0.06, 1.5);

    window.setPalette(paletteWithWindow(QColor(236, 236, 236), Qt::black));
    const QColor lightFill = window.grab().toImage().pixelColor(inside);
    EXPECT_NEAR(lightFill.red(), 236 * 0.95, 1.5);
}

TEST(GTDropdownTest, UnmatchedSelectionShowsNothingAndChecksNothing) {
    GTDropdown dropdown;
    dropdown.setOptions(limits());
    dropdown.setSelection(75);
    EXPECT_EQ(dropdown.label(), QString());
    dropdown.resize(160, 24);
    showAndWait(dropdown);
    QTest::mouseClick(&dropdown, Qt::LeftButton, {}, QPoint(150, 12)); // on the chevron
    ASSERT_TRUE(dropdown.menu());
    EXPECT_TRUE(dropdown.menu()->isVisible());
    EXPECT_EQ(dropdown.menu()->actions().size(), 3);
    EXPECT_TRUE(checkedItems(dropdown.menu()).isEmpty());
    // Opens just under the pill, aligned to its left edge, at least as wide.
    EXPECT_EQ(dropdown.menu()->geometry().topLeft(), dropdown.mapToGlobal(QPoint(0, 28)));
    EXPECT_GE(dropdown.menu()->width(), 160);
    dropdown.menu()->close();
}

TEST(GTDropdownTest, PickingWritesTheValueEvenWhenUnchanged) {
    GTDropdown dropdown;
    dropdown.setOptions(limits());
    dropdown.setSelection(50);
    EXPECT_EQ(dropdown.label(), "50 items");
    showAndWait(dropdown);
    QSignalSpy picked(&dropdown, &GTDropdown::selectionPicked);

    dropdown.openMenu();
    const QList<QAction*> checked = checkedItems(dropdown.menu());
    ASSERT_EQ(checked.size(), 1);
    EXPECT_EQ(checked.first()->text(), "50 items");
    checked.first()->trigger();
    ASSERT_EQ(picked.size(), 1);
    EXPECT_EQ(picked.at(0).at(0).toInt(), 50);

    dropdown.openMenu();
    dropdown.menu()->actions().at(2)->trigger();
    ASSERT_EQ(picked.size(), 2);
    EXPECT_EQ(picked.at(1).at(0).toInt(), 100);
    EXPECT_EQ(dropdown.label(), "100 items");
    EXPECT_EQ(dropdown.selection().toInt(), 100);

    // A change made elsewhere relabels without writing back.
    dropdown.setSelection(25);
    EXPECT_EQ(dropdown.label(), "25 items");
    EXPECT_EQ(picked.size(), 2);
}

TEST(GTDropdownTest, KeyboardStepsAndOpens) {
    GTDropdown dropdown;
    dropdown.setOptions(limits());
    dropdown.setSelection(25);
    showAndWait(dropdown);
    QSignalSpy picked(&dropdown, &GTDropdown::selectionPicked);
    QTest::keyClick(&dropdown, Qt::Key_Down);
    QTest::keyClick(&dropdown, Qt::Key_Down);
    QTest::keyClick(&dropdown, Qt::Key_Down); // stays on the last
    EXPECT_EQ(dropdown.selection().toInt(), 100);
    QTest::keyClick(&dropdown, Qt::Key_Up);
    EXPECT_EQ(dropdown.label(), "50 items");
    EXPECT_EQ(picked.size(), 4);
    EXPECT_FALSE(dropdown.menu());
    QTest::keyClick(&dropdown, Qt::Key_Space);
    ASSERT_TRUE(dropdown.menu());
    EXPECT_TRUE(dropdown.menu()->isVisible());
    dropdown.menu()->close();
}

TEST(GTPillButtonTest, NaturalWidthAndActionByClickAndKey) {
    int runs = 0;
    GTPillButton button("Clear…", false, [&] { ++runs; });
    const int titleWidth = button.fontMetrics().horizontalAdvance("Clear…");
    EXPECT_EQ(button.font().pointSizeF(), 11);
    EXPECT_EQ(button.font().weight(), QFont::DemiBold);
    EXPECT_GE(button.sizeHint().width(), titleWidth + 24);
    showAndWait(button);
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::keyClick(&button, Qt::Key_Space);
    EXPECT_EQ(runs, 2);

    const int before = button.sizeHint().width();
    button.setTitleText("Clear all captures…");
    EXPECT_GT(button.sizeHint().width(), before);
}

TEST(GTPillButtonTest, HiddenOrFadedPillsTakeNoClicks) {
    QWidget window;
    int runs = 0;
    GTPillButton button(
        "Sign in", true, [&] { ++runs; }, &window);
    GTDropdown dropdown(&window);
    dropdown.move(0, 40);
    showAndWait(window);

    auto* fade = new QGraphicsOpacityEffect;
    fade->setOpacity(0.005);
    window.setGraphicsEffect(fade); // on an ancestor: still counts
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&dropdown, Qt::LeftButton);
    EXPECT_EQ(runs, 0);
    EXPECT_FALSE(dropdown.menu());

    fade->setOpacity(0.5);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(runs, 1);

    window.setGraphicsEffect(nullptr);
    button.hide();
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(runs, 1);
}

struct Segments {
    Segments()
        : control({"view-list", "view-grid", "view-column"}, {"List", "Grid", "Columns"}, 90, 24) {
        QObject::connect(&control, &GTSegmented::selectionPicked,
                         [this](int index) { picked << index; });
        control.show();
    }
    GTSegmented control;
    QList<int> picked;
};

TEST(GTSegmentedTest, ClicksChooseEqualSegments) {
    Segments s;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&s.control));
    QTest::mouseClick(&s.control, Qt::LeftButton, {}, QPoint(5, 12)); // already selected
    EXPECT_TRUE(s.picked.isEmpty());
    QTest::mouseClick(&s.control, Qt::LeftButton, {}, QPoint(30, 12));  // 30 / 30 → second
    QTest::mouseClick(&s.control, Qt::LeftButton, {}, QPoint(400, 12)); // past the end
    EXPECT_EQ(s.picked, QList<int>({1, 2}));
    EXPECT_EQ(s.control.selectedIndex(), 2);

    s.control.setSelection(0); // from elsewhere: no callback
    EXPECT_EQ(s.picked.size(), 2);
    s.control.setEnabled(false);
    QTest::mouseClick(&s.control, Qt::LeftButton, {}, QPoint(80, 12));
    EXPECT_EQ(s.control.selectedIndex(), 0);
}

TEST(GTSegmentedTest, KeyboardMovesTheSelection) {
    Segments s;
    QTest::keyClick(&s.control, Qt::Key_Left); // at the first already
    QTest::keyClick(&s.control, Qt::Key_Right);
    QTest::keyClick(&s.control, Qt::Key_End);
    QTest::keyClick(&s.control, Qt::Key_End);
    QTest::keyClick(&s.control, Qt::Key_Home);
    EXPECT_EQ(s.picked, QList<int>({1, 2, 0}));
}

TEST(PillAccessibilityTest, RolesNamesValuesStatesAndActions) {
    QWidget window;
    int runs = 0;
    auto* button = new GTPillButton(
        "Check now", false, [&] { ++runs; }, &window);
    auto* dropdown = new GTDropdown(&window);
    dropdown->setOptions(limits());
    dropdown->setSelection(100);
    dropdown->setAccessibleName("History limit");
    dropdown->move(0, 40);
    auto* segments = new GTSegmented({"a", "b"}, {"List", "Grid"}, 60, 24, &window);
    segments->move(0, 80);
    showAndWait(window);

    QAccessibleInterface* b = QAccessible::queryAccessibleInterface(button);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->role(), QAccessible::Button);
    EXPECT_EQ(b->text(QAccessible::Name), "Check now");
    EXPECT_TRUE(b->state().focusable);
    b->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(runs, 1);
    button->setEnabled(false);
    EXPECT_TRUE(b->state().disabled);
    EXPECT_TRUE(b->actionInterface()->actionNames().isEmpty());

    QAccessibleInterface* d = QAccessible::queryAccessibleInterface(dropdown);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->role(), QAccessible::ComboBox);
    EXPECT_EQ(d->text(QAccessible::Name), "History limit");
    EXPECT_EQ(d->text(QAccessible::Value), "100 items");
    EXPECT_TRUE(d->state().collapsed);
    d->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    ASSERT_TRUE(dropdown->menu());
    EXPECT_TRUE(d->state().expanded);
    dropdown->menu()->close();

    QAccessibleInterface* s = QAccessible::queryAccessibleInterface(segments);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->text(QAccessible::Value), "List");
    s->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
    EXPECT_EQ(segments->selectedIndex(), 1);
    EXPECT_EQ(s->text(QAccessible::Value), "Grid");
}

} // namespace
