// The command line of the real binary on a machine without any display, as over SSH or in
// CI: what needs no display works, and mistakes are reported, never an abort in the toolkit.
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct CliRun {
    int status = -1;
    QProcess::ExitStatus exit = QProcess::CrashExit;
    QString out;
    QString err;
};

CliRun glintext(const QStringList& args, const QString& serviceUrl = {}) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("GLINTEXT_SERVICE_URL");
    if (!serviceUrl.isEmpty())
        env.insert("GLINTEXT_SERVICE_URL", serviceUrl);
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    process.setProcessEnvironment(env);
    process.start(GLINTEXT_BINARY, args);
    process.waitForFinished(30000);
    return {process.exitCode(), process.exitStatus(),
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

} // namespace

TEST(CommandLine, HelpListsEveryCommandAndOptionWithoutADisplay) {
    for (const char* flag : {"--help", "-h"}) {
        const CliRun help = glintext({QString::fromLatin1(flag)});
        ASSERT_EQ(help.exit, QProcess::NormalExit);
        EXPECT_EQ(help.status, 0);
        EXPECT_TRUE(help.err.isEmpty()) << help.err.toStdString();
        for (const char* item :
             {"capture [--hq]", "settings", "sign-in", "recognize [OPTIONS] FILE...", "glintext://",
              "--version", "--json", "--no-cleanup", "--no-codes", "--hq"})
            EXPECT_TRUE(help.out.contains(QString::fromLatin1(item))) << item;
    }

    const CliRun recognize = glintext({"recognize", "--help"});
    EXPECT_EQ(recognize.status, 0);
    EXPECT_TRUE(recognize.out.startsWith("usage: glintext recognize [OPTIONS] FILE...\n"));
    EXPECT_TRUE(recognize.out.contains("--no-codes"));
    EXPECT_FALSE(recognize.out.contains("--hq")) << "only this command's options";

    const CliRun version = glintext({"-v"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.startsWith("Glintext "));
}

TEST(CommandLine, MistakesExitTwoWithAMessageAndNoDisplayIsSaidPlainly) {
    for (const QStringList& bad :
         {QStringList{"--bogus"}, QStringList{"frobnicate"}, QStringList{"capture", "--fast"},
          QStringList{"settings", "x"}, QStringList{"recognize", "--bogus", "a.png"}}) {
        const CliRun run = glintext(bad);
        ASSERT_EQ(run.exit, QProcess::NormalExit) << bad.join(' ').toStdString();
        EXPECT_EQ(run.status, 2) << bad.join(' ').toStdString();
        EXPECT_TRUE(run.err.startsWith("glintext")) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_TRUE(glintext({"--bogus"}).err.contains("unknown command '--bogus'"));
    EXPECT_TRUE(glintext({"frobnicate"}).err.contains("unknown command 'frobnicate'"));

    // The tray application needs a display; without one it says so instead of aborting.
    for (const QStringList& app : {QStringList{}, QStringList{"capture"}}) {
        const CliRun run = glintext(app);
        ASSERT_EQ(run.exit, QProcess::NormalExit);
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.err.contains("no display")) << run.err.toStdString();
    }
}

TEST(CommandLine, AServiceAddressThatWouldLeakTheTokenStopsTheStartWithItsReason) {
    for (const QStringList& app : {QStringList{}, QStringList{"sign-in"}}) {
        const CliRun run = glintext(app, "http://service.example");
        ASSERT_EQ(run.exit, QProcess::NormalExit);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, "glintext: GLINTEXT_SERVICE_URL=\"http://service.example\" cannot be "
                           "used: plain http is accepted only for this computer's loopback "
                           "address (127.0.0.1, ::1, localhost); use https\n");
    }
    // Commands that never reach the service do not care.
    EXPECT_EQ(glintext({"--version"}, "http://service.example").status, 0);
    EXPECT_TRUE(glintext({}, "https://service.example").err.contains("no display"));
}
