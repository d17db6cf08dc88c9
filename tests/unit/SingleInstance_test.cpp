#include "app/AppCommand.h"
#include "app/CommandLine.h"
#include "app/SingleInstance.h"

#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSignalSpy>

#include <future>
#include <thread>

#include <gtest/gtest.h>

using Kind = AppCommand::Kind;

namespace {

// The command a command line hands to the instance; nothing when it asks for anything else.
std::optional<AppCommand> appCommand(const QStringList& arguments) {
    const CommandLine::Invocation invocation = CommandLine::parse(arguments);
    if (invocation.kind != CommandLine::Invocation::Kind::App)
        return std::nullopt;
    return invocation.command;
}

} // namespace

TEST(AppCommand, ParsesTheCommandLineAndRejectsWhatItDoesNotKnow) {
    EXPECT_EQ(appCommand({}), AppCommand{});
    EXPECT_EQ(appCommand({"capture"}), (AppCommand{Kind::Capture, {}}));
    EXPECT_EQ(appCommand({"capture", "--hq"}), (AppCommand{Kind::CaptureHQ, {}}));
    EXPECT_EQ(appCommand({"settings"}), (AppCommand{Kind::Settings, {}}));
    EXPECT_EQ(appCommand({"settings", "permissions"}), (AppCommand{Kind::Settings, "permissions"}));
    EXPECT_EQ(appCommand({"sign-in"}), (AppCommand{Kind::SignIn, {}}));
    EXPECT_EQ(appCommand({"GLINTEXT://auth?code=x"}),
              (AppCommand{Kind::OpenUrl, "GLINTEXT://auth?code=x"}));

    for (const QStringList& bad :
         {QStringList{"capture", "--fast"}, QStringList{"setting"},
          QStringList{"https://auth?code=x"}, QStringList{"settings", "now"},
          QStringList{"settings", "about", "general"}, QStringList{"settings", "General"}}) {
        const CommandLine::Invocation invocation = CommandLine::parse(bad);
        EXPECT_EQ(invocation.kind, CommandLine::Invocation::Kind::Fail)
            << bad.join(' ').toStdString();
        EXPECT_FALSE(invocation.text.isEmpty());
    }

    for (const AppCommand& command :
         {AppCommand{}, AppCommand{Kind::Capture, {}}, AppCommand{Kind::CaptureHQ, {}},
          AppCommand{Kind::Settings, {}}, AppCommand{Kind::Settings, "account"},
          AppCommand{Kind::SignIn, {}}, AppCommand{Kind::OpenUrl, "glintext://auth?code=ä b"}})
        EXPECT_EQ(AppCommand::decode(command.encode()), command);
    EXPECT_FALSE(AppCommand::decode("capture --hq --more"));
    EXPECT_FALSE(AppCommand::decode(""));
}

TEST(SingleInstance, WithoutABusTheSocketCarriesCommandsToTheFirstInstance) {
    const QString path = TestEnvironment::home() + "/instance.sock";
    // A socket file left behind by a process that died does not block the next start.
    TestEnvironment::writeFile(path, "stale");

    SingleInstance first(false, path);
    ASSERT_EQ(first.start(AppCommand{}), SingleInstance::Role::Primary);
    QSignalSpy received(&first, &SingleInstance::commandReceived);

    // The second process runs its blocking client while this one serves.
    auto forward = [&](AppCommand command) {
        auto result = std::async(std::launch::async, [&path, command] {
            SingleInstance second(false, path);
            return second.start(command);
        });
        while (result.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
            QCoreApplication::processEvents();
        return result.get();
    };
    EXPECT_EQ(forward(AppCommand{Kind::CaptureHQ, {}}), SingleInstance::Role::Forwarded);
    EXPECT_EQ(forward(AppCommand{Kind::OpenUrl, "glintext://auth?code=1"}),
              SingleInstance::Role::Forwarded);

    QDeadlineTimer deadline(5000);
    while (received.count() < 2 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_EQ(received.count(), 2);
    EXPECT_EQ(received.at(0).at(0).value<AppCommand>(), (AppCommand{Kind::CaptureHQ, {}}));
    EXPECT_EQ(received.at(1).at(0).value<AppCommand>().argument, "glintext://auth?code=1");
}
