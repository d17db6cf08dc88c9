#include "platform/wayland/SwayBarConfig.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

namespace {

QJsonObject bar(const char* json) {
    return QJsonDocument::fromJson(QByteArray(json)).object();
}

} // namespace

// sway writes colours as #rrggbbaa, which Qt would read as #aarrggbb.
TEST(SwayBarConfig, ReadsSwaysColours) {
    EXPECT_EQ(SwayBarConfig::parseColour("#11223344"), QColor(0x11, 0x22, 0x33, 0x44));
    EXPECT_EQ(SwayBarConfig::parseColour("#dddddd"), QColor(0xdd, 0xdd, 0xdd));
    for (const char* bad : {"", "dddddd", "#ddd", "#gg0000", "#1122334455"})
        EXPECT_FALSE(SwayBarConfig::parseColour(bad).isValid()) << bad;
}

// The default bar (black, white status text), a light bar whose status text stayed the
// default white, a bar coloured by hand, and one the wallpaper shows through.
TEST(SwayBarConfig, GlyphColourSuitsTheBar) {
    EXPECT_EQ(
        SwayBarConfig::trayForeground(
            bar(R"({"id":"bar-0","colors":{"background":"#000000ff","statusline":"#ffffffff"}})")),
        QColor(Qt::white));
    EXPECT_EQ(
        SwayBarConfig::trayForeground(
            bar(R"({"id":"bar-0","colors":{"background":"#ddddddff","statusline":"#ffffffff"}})")),
        QColor(Qt::black));
    EXPECT_EQ(
        SwayBarConfig::trayForeground(
            bar(R"({"id":"bar-0","colors":{"background":"#282a36ff","statusline":"#f8f8f2ff"}})")),
        QColor(0xf8, 0xf8, 0xf2));
    EXPECT_EQ(
        SwayBarConfig::trayForeground(bar(R"({"id":"bar-0","colors":{"background":"#00000020"}})")),
        std::nullopt);
    EXPECT_EQ(SwayBarConfig::trayForeground(bar(R"({"id":"bar-0"})")), std::nullopt);
}

// The icon sits in the first bar that has a tray.
TEST(SwayBarConfig, TheFirstBarWithATrayCounts) {
    const QJsonObject hidden =
        bar(R"({"id":"a","mode":"invisible","colors":{"background":"#ffffffff"}})");
    const QJsonObject noTray =
        bar(R"({"id":"b","tray_outputs":["none"],"colors":{"background":"#ffffffff"}})");
    const QJsonObject dark = bar(R"({"id":"c","mode":"dock","colors":{"background":"#101010ff"}})");
    EXPECT_FALSE(SwayBarConfig::showsTray(hidden));
    EXPECT_FALSE(SwayBarConfig::showsTray(noTray));
    EXPECT_TRUE(SwayBarConfig::showsTray(dark));
    EXPECT_EQ(SwayBarConfig::trayForeground(QList<QJsonObject>{hidden, noTray, dark}),
              QColor(Qt::white));
    EXPECT_EQ(SwayBarConfig::trayForeground(QList<QJsonObject>{hidden, noTray}), std::nullopt);
}
