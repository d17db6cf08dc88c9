// `glintext recognize` as a user or CI runs it: the real binary on generated files.
#include "support/TestEnvironment.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

CliRun recognize(const QStringList& args) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LANGUAGE", "en");
    env.remove("DISPLAY");
    process.setProcessEnvironment(env);
    process.start(GLINTEXT_BINARY, QStringList{"recognize"} + args);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QString textImage(const QString& dir, const QString& text) {
    QImage image(360, 50, QImage::Format_RGB32);
    image.fill(QColor(40, 40, 44));
    QPainter p(&image);
    QFont font("DejaVu Sans");
    font.setPixelSize(14);
    p.setFont(font);
    p.setPen(QColor(235, 235, 235));
    p.drawText(QRect(10, 0, 340, 50), Qt::AlignVCenter, text);
    p.end();
    const QString path = dir + "/line.png";
    image.save(path);
    return path;
}

} // namespace

TEST(RecognitionCommand, PrintsTheTextAndJsonFieldsWithoutADisplay) {
    QTemporaryDir dir;
    const QString png = textImage(dir.path(), "Settings and Preferences");
    CliRun plain = recognize({png});
    EXPECT_EQ(plain.status, 0) << plain.err.toStdString();
    EXPECT_EQ(plain.out, "Settings and Preferences\n");

    CliRun json = recognize({"--json", "--no-codes", png});
    EXPECT_EQ(json.status, 0);
    const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(o["text"].toString(), "Settings and Preferences");
    EXPECT_TRUE(o["barcodePayloads"].isArray());
    EXPECT_TRUE(o["vertical"].isBool());
    EXPECT_TRUE(o.contains("langHint"));
    EXPECT_GE(o["ms"].toInteger(-1), 0);
}

TEST(RecognitionCommand, BadFilesAreNamedOnStderrAndTheRestStillRuns) {
    QTemporaryDir dir;
    const QString good = textImage(dir.path(), "Network Bluetooth Display");
    const QString notImage = dir.path() + "/notes.png";
    TestEnvironment::writeFile(notImage, "this is not a picture");
    const QString missing = dir.path() + "/missing.png";
    CliRun run = recognize({missing, good, notImage});
    EXPECT_EQ(run.status, 2);
    const QStringList errors = run.err.trimmed().split('\n');
    ASSERT_EQ(errors.size(), 2) << run.err.toStdString();
    EXPECT_TRUE(errors[0].contains(missing));
    EXPECT_TRUE(errors[1].contains(notImage));
    EXPECT_TRUE(run.out.contains("Network Bluetooth Display")) << run.out.toStdString();

    CliRun usage = recognize({});
    EXPECT_EQ(usage.status, 2);
    EXPECT_TRUE(usage.err.startsWith("usage: glintext recognize"));
    EXPECT_EQ(recognize({"--bogus", good}).status, 2);
}
