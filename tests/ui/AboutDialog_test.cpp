#include "BuildConfig.h"
#include "core/CloudConfig.h"
#include "core/Defaults.h"
#include "support/DefaultsLanguageStore.h"
#include "support/L10n.h"
#include "ui/settings/AboutDialog.h"
#include "ui/settings/AboutHeader.h"

#include "support/TestEnvironment.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Every text of the box shown whole: wrapped labels as tall as their text needs, the others
// as wide, and the window wide enough for its title beside a title bar's buttons.
QStringList clippedTexts(AboutDialog& box) {
    QStringList clipped;
    for (QLabel* label : box.findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue;
        const bool fits = label->wordWrap()
                              ? label->height() >= label->heightForWidth(label->width())
                              : label->width() >= label->sizeHint().width();
        if (!fits)
            clipped << label->text();
    }
    if (box.width() < box.fontMetrics().horizontalAdvance(box.windowTitle()) + 120)
        clipped << "title: " + box.windowTitle();
    return clipped;
}

class AboutDialogTest : public ::testing::Test {
protected:
    void TearDown() override { l10n.apply(QStringLiteral("en")); }

    Defaults defaults{TestEnvironment::home() + "/about-defaults.json"};
    DefaultsLanguageStore store{defaults};
    L10n l10n{store};
};

} // namespace

TEST_F(AboutDialogTest, ShowsVersionBuildLinkAndCopyright) {
    l10n.apply(QStringLiteral("en"));
    AboutDialog box(l10n);
    const QString version = box.header()->versionLabel()->text();
    EXPECT_TRUE(version.startsWith("Version " + QString(BuildConfig::version)))
        << version.toStdString();
    if (!QString(BuildConfig::buildNumber).isEmpty())
        EXPECT_TRUE(version.contains(QString(BuildConfig::buildNumber)));

    const QUrl page = AboutHeader::webPage();
    EXPECT_EQ(page.host(), CloudConfig::baseURL().host());
    EXPECT_TRUE(box.header()->linkLabel()->text().contains(page.toEncoded()));

    QStringList texts;
    for (QLabel* label : box.findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains("Glintext"));
    EXPECT_TRUE(texts.contains(L10n::string("about.copyright", AppLanguage::en)));
    EXPECT_TRUE(texts.contains(L10n::string("about.tagline", AppLanguage::en)));
}

TEST_F(AboutDialogTest, FitsItsTextsInEveryLanguageAndRelabelsWhileOpen) {
    AboutDialog box(l10n);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    for (AppLanguage language : AppLanguage::allCases()) {
        l10n.apply(language.id());
        QApplication::processEvents();
        SCOPED_TRACE(language.id().toStdString());
        EXPECT_EQ(box.windowTitle(), L10n::string("menu.about", language));
        EXPECT_EQ(box.closeButton()->text(), L10n::string("common.ok", language));
        EXPECT_TRUE(box.header()->versionLabel()->text().contains(QString(BuildConfig::version)));
        EXPECT_EQ(clippedTexts(box), QStringList());
    }
}
