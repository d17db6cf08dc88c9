#include "core/Defaults.h"
#include "support/DefaultsLanguageStore.h"
#include "support/FrameworkLanguage.h"
#include "support/L10n.h"

#include "support/TestEnvironment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

bool haveCatalogue(const char* suffix) {
    return QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_" + suffix +
                         ".qm");
}

QString buttonText(QMessageBox& box, QMessageBox::StandardButton which) {
    QAbstractButton* button = box.button(which);
    return button ? button->text() : QStringLiteral("<none>");
}

QStringList menuTexts(QLineEdit& edit) {
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList texts;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator())
            texts.append(action->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0));
    }
    return texts;
}

class LanguageSwitch : public ::testing::Test {
protected:
    void SetUp() override {
        if (!haveCatalogue("de"))
            GTEST_SKIP() << "Qt's translations (qt6-translations-l10n) are not installed";
    }
    void TearDown() override { l10n.apply(QStringLiteral("en")); }

    Defaults defaults{TestEnvironment::home() + "/switch-defaults.json"};
    DefaultsLanguageStore store{defaults};
    L10n l10n{store};
};

} // namespace

TEST_F(LanguageSwitch, MessageBoxButtonsFollowTheLanguageWithoutRestart) {
    l10n.apply(QStringLiteral("de"));
    {
        QMessageBox box(QMessageBox::Question, "t", "b",
                        QMessageBox::Save | QMessageBox::Cancel | QMessageBox::Yes);
        EXPECT_EQ(buttonText(box, QMessageBox::Cancel), "Abbrechen");
        EXPECT_EQ(buttonText(box, QMessageBox::Save), "Speichern");
        EXPECT_EQ(buttonText(box, QMessageBox::Yes).remove('&'), "Ja");
    }
    l10n.apply(QStringLiteral("en"));
    {
        QMessageBox box(QMessageBox::Question, "t", "b", QMessageBox::Save | QMessageBox::Cancel);
        EXPECT_EQ(buttonText(box, QMessageBox::Cancel), "Cancel");
        EXPECT_EQ(buttonText(box, QMessageBox::Save), "Save");
    }

    // A box that is already open relabels itself.
    QMessageBox open(QMessageBox::Warning, "t", "b", QMessageBox::Ok | QMessageBox::Cancel);
    open.show();
    l10n.apply(QStringLiteral("ja"));
    QCoreApplication::processEvents();
    EXPECT_EQ(buttonText(open, QMessageBox::Cancel), QString::fromUtf8("キャンセル"));
    l10n.apply(QStringLiteral("fr"));
    QCoreApplication::processEvents();
    EXPECT_EQ(buttonText(open, QMessageBox::Cancel), "Annuler");
    open.hide();
}

TEST_F(LanguageSwitch, TextFieldMenusAndFileDialogsFollowTheLanguage) {
    QLineEdit edit("some text");
    l10n.apply(QStringLiteral("de"));
    EXPECT_TRUE(menuTexts(edit).contains(QString::fromUtf8("Rückgängig")))
        << menuTexts(edit).join('|').toStdString();
    {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        QStringList buttons;
        for (QPushButton* b : dialog.findChildren<QPushButton*>())
            buttons.append(b->text());
        EXPECT_TRUE(buttons.contains("Abbrechen")) << buttons.join('|').toStdString();
    }
    l10n.apply(QStringLiteral("pt-BR"));
    EXPECT_TRUE(menuTexts(edit).contains(QString::fromUtf8("Desfazer")))
        << menuTexts(edit).join('|').toStdString();
    l10n.apply(QStringLiteral("en"));
    EXPECT_TRUE(menuTexts(edit).contains("Undo")) << menuTexts(edit).join('|').toStdString();
}

TEST_F(LanguageSwitch, EveryLanguageGivesQtTextsInThatLanguage) {
    // Each of our languages either has a Qt catalogue or cleanly stays English.
    QStringList english;
    for (AppLanguage language : AppLanguage::allCases()) {
        l10n.apply(language.id());
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        const QString text = box.button(QDialogButtonBox::Cancel)->text();
        if (text == "Cancel")
            english.append(language.id());
    }
    EXPECT_EQ(english, QStringList{"en"});
}

// Shows the clear-history confirmation in Japanese and takes a screenshot of the screen.
// Run by tests/e2e/JapaneseDialog_test.sh under Xvfb; skipped elsewhere.
TEST_F(LanguageSwitch, JapaneseDialogScreenshot) {
    const QString shot = qEnvironmentVariable("GLINTEXT_SCREENSHOT");
    if (shot.isEmpty() || QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs GLINTEXT_SCREENSHOT and an X server";
    l10n.apply(QStringLiteral("ja"));
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Glintext"), l10n.string("clear.title"),
                    QMessageBox::Cancel);
    box.setInformativeText(l10n.string("clear.body") + "\n" + l10n.counted("hist.clearNowSub", 42));
    box.addButton(l10n.string("clear.all"), QMessageBox::DestructiveRole);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QTest::qWait(300); // let the window manager frame and paint it
    const int rc = QProcess::execute("import", {"-window", "root", shot});
    EXPECT_EQ(rc, 0);
    EXPECT_TRUE(QFile::exists(shot));
}
