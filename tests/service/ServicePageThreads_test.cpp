// The service no longer executes itself again to limit OpenMP: each thread that reads a
// page keeps Tesseract's parallel regions to itself, whatever the environment says.
#include "PageRecognizer.h"

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QtGlobal>

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <thread>

namespace {

// 0 when parallel regions started on this thread run on it alone; -1 without OpenMP.
int maxActiveLevels() {
    using Get = int (*)();
    const auto get = reinterpret_cast<Get>(::dlsym(RTLD_DEFAULT, "omp_get_max_active_levels"));
    return get ? get() : -1;
}

QImage line(const QString& text) {
    QImage image(360, 48, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(20);
    painter.setFont(font);
    painter.setPen(QColor(30, 30, 30));
    painter.drawText(12, 32, text);
    return image;
}

} // namespace

TEST(ServicePageThreads, AThreadThatReadsAPageRunsTesseractAlone) {
    if (maxActiveLevels() < 0)
        GTEST_SKIP() << "Tesseract brings no OpenMP runtime here";
    const QByteArray limit = qgetenv("OMP_THREAD_LIMIT");
    const bool hadLimit = qEnvironmentVariableIsSet("OMP_THREAD_LIMIT");
    qunsetenv("OMP_THREAD_LIMIT");
    std::optional<QString> text;
    int levels = -2;
    std::thread([&] {
        text = PageRecognizer::read(line(QStringLiteral("Service threads")), {"eng"});
        levels = maxActiveLevels();
    }).join();
    if (hadLimit)
        qputenv("OMP_THREAD_LIMIT", limit);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->simplified(), QStringLiteral("Service threads"));
    EXPECT_EQ(levels, 0);
}
