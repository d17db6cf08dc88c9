#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/TestEnvironment.h"

// Every test process gets a private home so that what the tests build (settings, history, log)
// never touches the developer's real files.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home(QDir::tempPath() + "/glintext-test-XXXXXX");
    TestEnvironment::useHome(home.path());

    QApplication app(argc, argv);
    QCoreApplication::setApplicationName("Glintext");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
