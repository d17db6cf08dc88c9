// Recognition must not spread over a team of OpenMP threads, whether or not the user's
// environment limits them: the program no longer executes itself again to set that limit.
#include "platform/tesseract/SerialOpenMP.h"

#include <QByteArray>
#include <QtGlobal>

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <thread>

namespace {

// What OpenMP lets a parallel region started on this thread use: 0 runs each on the thread
// alone. -1 when no OpenMP runtime is loaded.
int maxActiveLevels() {
    using Get = int (*)();
    const auto get = reinterpret_cast<Get>(::dlsym(RTLD_DEFAULT, "omp_get_max_active_levels"));
    return get ? get() : -1;
}

int levelsOnNewThread(bool asked) {
    int levels = -2;
    std::thread([&] {
        if (asked)
            SerialOpenMP::onThisThread();
        levels = maxActiveLevels();
    }).join();
    return levels;
}

class SerialOpenMPTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_limit = qgetenv("OMP_THREAD_LIMIT");
        m_hadLimit = qEnvironmentVariableIsSet("OMP_THREAD_LIMIT");
        if (maxActiveLevels() < 0)
            GTEST_SKIP() << "Tesseract brings no OpenMP runtime here";
    }
    void TearDown() override {
        if (m_hadLimit)
            qputenv("OMP_THREAD_LIMIT", m_limit);
        else
            qunsetenv("OMP_THREAD_LIMIT");
    }

private:
    QByteArray m_limit;
    bool m_hadLimit = false;
};

} // namespace

TEST_F(SerialOpenMPTest, AThreadThatRecognisesRunsItsRegionsAloneAndOthersAreUntouched) {
    qunsetenv("OMP_THREAD_LIMIT");
    EXPECT_EQ(levelsOnNewThread(true), 0);
    // The setting is the thread's own: the thread pool's other threads and the user's keep
    // theirs until they recognise.
    EXPECT_GT(levelsOnNewThread(false), 0);
    // Asking again on the same thread is harmless.
    std::thread([] {
        SerialOpenMP::onThisThread();
        SerialOpenMP::onThisThread();
        EXPECT_EQ(maxActiveLevels(), 0);
    }).join();
}

TEST_F(SerialOpenMPTest, ALimitTheUserSetHoldsInstead) {
    qputenv("OMP_THREAD_LIMIT", "2");
    EXPECT_GT(levelsOnNewThread(true), 0);
}
