// The crash catcher on real crashes: a child process installs it and dies of a fault, an
// abort or a signal sent from outside; the next "run" (this test) reads what it left.
#include "platform/crash/CrashRecord.h"
#include "platform/crash/SignalCrashCatcher.h"

#include "support/TestEnvironment.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

namespace {

QString freshDir(const char* name) {
    const QString dir = TestEnvironment::home() + "/crashes-" + name;
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    return dir;
}

QJsonArray frames(const CrashDiagnostic& diagnostic) {
    return QJsonDocument::fromJson(diagnostic.callStack)
        .object()
        .value("callStacks")
        .toArray()
        .first()
        .toObject()
        .value("callStackFrames")
        .toArray();
}

bool namesFunction(const QJsonArray& frames, const QString& name) {
    for (const QJsonValue& frame : frames) {
        if (frame.toObject().value("symbol").toString().contains(name))
            return true;
    }
    return false;
}

// Runs the child until it dies; `fromOutside` sends it SIGSEGV once it is ready.
void runChild(const QString& dir, const char* how, bool fromOutside = false) {
    QProcess child;
    child.start(CRASHING_CHILD, {dir, how});
    ASSERT_TRUE(child.waitForStarted());
    if (fromOutside) {
        ASSERT_TRUE(child.waitForReadyRead(10000));
        ASSERT_EQ(child.readLine().trimmed(), "ready");
        ::kill(pid_t(child.processId()), SIGSEGV);
    }
    ASSERT_TRUE(child.waitForFinished(10000));
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
}

} // namespace

TEST(CrashCatcher, AFaultLeavesOneRecordWithTheSignalAndANamedCallStack) {
    const QString dir = freshDir("fault");
    runChild(dir, "segv");
    EXPECT_EQ(QDir(dir).entryList({"crash-*.record"}, QDir::Files).size(), 1);

    SignalCrashCatcher catcher(dir);
    const QList<CrashDiagnostic> diagnostics = catcher.takeDiagnostics();
    ASSERT_EQ(diagnostics.size(), 1);
    const CrashDiagnostic& crash = diagnostics[0];
    EXPECT_EQ(crash.signal, SIGSEGV);
    EXPECT_TRUE(crash.terminationReason.value_or("").startsWith("SIGSEGV (signal 11), code "))
        << crash.terminationReason.value_or("").toStdString();
    EXPECT_FALSE(crash.osVersion.isEmpty());
    EXPECT_FALSE(crash.architecture.isEmpty());
    EXPECT_FALSE(crash.exceptionType || crash.exceptionCode);
    const QJsonArray stack = frames(crash);
    ASSERT_GE(stack.size(), 3);
    // The stack starts where the fault happened, not in the handler.
    EXPECT_TRUE(stack[0].toObject().value("symbol").toString().contains("crashInTheMiddleOfWork"))
        << crash.callStack.constData();
    EXPECT_TRUE(namesFunction(stack, "main"));
    EXPECT_EQ(stack[0].toObject().value("index"), 0);

    // Handed over once: the record is gone.
    EXPECT_TRUE(catcher.takeDiagnostics().isEmpty());
    EXPECT_TRUE(QDir(dir).entryList(QDir::Files).isEmpty());
}

TEST(CrashCatcher, ASignalFromOutsideAndAnAbortAreCaughtToo) {
    const QString dir = freshDir("outside");
    runChild(dir, "wait", true);
    runChild(dir, "abort");
    const QList<CrashDiagnostic> diagnostics = SignalCrashCatcher(dir).takeDiagnostics();
    ASSERT_EQ(diagnostics.size(), 2);
    EXPECT_EQ(diagnostics[0].signal, SIGSEGV); // oldest first
    EXPECT_EQ(diagnostics[0].terminationReason,
              QString("SIGSEGV (signal 11), sent by process %1").arg(::getpid()));
    EXPECT_FALSE(frames(diagnostics[0]).isEmpty());
    EXPECT_EQ(diagnostics[1].signal, SIGABRT);
    EXPECT_TRUE(namesFunction(frames(diagnostics[1]), "abort"));
}

TEST(CrashRecord, ACutOrForeignRecordStillReadsWithoutInventingMembers) {
    const QByteArray header = CrashRecord::header("Debian GNU/Linux 12", "x86_64");
    // Cut off in the frames: the signal and what was written are there.
    const CrashDiagnostic cut = CrashRecord::diagnostic(header + "signal 7\ncode 2\nframes\n0x1");
    EXPECT_EQ(cut.signal, 7);
    EXPECT_EQ(cut.osVersion, "Debian GNU/Linux 12");
    EXPECT_EQ(frames(cut).size(), 1);
    EXPECT_FALSE(frames(cut)[0].toObject().contains("binaryName")); // no map: no binary

    const CrashDiagnostic empty = CrashRecord::diagnostic("garbage\n\n");
    EXPECT_FALSE(empty.signal);
    EXPECT_FALSE(empty.terminationReason);
    EXPECT_TRUE(frames(empty).isEmpty());
}
