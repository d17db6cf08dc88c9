// `glintext recognize` as a user or CI runs it: the real binary on generated files.
#include "support/TestEnvironment.h"

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

QProcessEnvironment cliEnvironment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LANGUAGE", "en");
    env.remove("DISPLAY");
    return env;
}

CliRun finish(QProcess& process) {
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {-1, {}, "still running after 60 s"};
    }
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

CliRun recognize(const QStringList& args, const QProcessEnvironment& env = cliEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(GLINTEXT_BINARY, QStringList{"recognize"} + args);
    return finish(process);
}

// Every file below `root` with its bytes.
QMap<QString, QByteArray> tree(const QString& root) {
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path.mid(root.size()), TestEnvironment::readFile(path));
    }
    return files;
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
    EXPECT_EQ(o["models"].toArray(), QJsonArray({"eng"})) << "which models read the text";
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

TEST(RecognitionCommand, APipeOrFolderIsRefusedAndTheFilesAfterItAreStillRead) {
    QTemporaryDir dir;
    const QString good = textImage(dir.path(), "Display Arrangement");
    const QString pipe = dir.path() + "/pipe.png";
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    CliRun run = recognize({pipe, dir.path(), good});
    EXPECT_EQ(run.status, 2) << run.err.toStdString();
    EXPECT_EQ(run.err, QString("glintext recognize: %1: not a regular file\n"
                               "glintext recognize: %2: not a regular file\n")
                           .arg(pipe, dir.path()));
    EXPECT_TRUE(run.out.contains("Display Arrangement")) << run.out.toStdString();
}

TEST(RecognitionCommand, ANameThatIsNotUtf8IsOpenedByItsBytes) {
    QTemporaryDir dir;
    const QString good = textImage(dir.path(), "Keyboard Shortcuts");
    const QByteArray latin1Name = QFile::encodeName(dir.path()) + "/caf\xe9.png";
    ASSERT_EQ(::rename(QFile::encodeName(good).constData(), latin1Name.constData()), 0);
    QProcess process; // QProcess would re-encode the name; the shell passes the bytes
    process.setProcessEnvironment(cliEnvironment());
    process.start("/bin/sh", {"-c", "exec \"$0\" recognize \"$1\"$(printf '\\351').png",
                              GLINTEXT_BINARY, dir.path() + "/caf"});
    CliRun run = finish(process);
    // QTemporaryDir cannot remove a name that is not UTF-8: the test removes its own.
    ::unlink(latin1Name.constData());
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "Keyboard Shortcuts\n");
}

// A read-only command: a damaged preferences file stays where it is and nothing is created.
TEST(RecognitionCommand, WritesNothingOfTheUsersState) {
    QTemporaryDir home;
    const QString defaults = home.path() + "/.config/Glintext/defaults.json";
    TestEnvironment::writeFile(defaults, "{\"detectQR\": fals");
    QTemporaryDir dir;
    const QString good = textImage(dir.path(), "Power Saving");
    const QMap<QString, QByteArray> before = tree(home.path());

    QProcessEnvironment env = cliEnvironment();
    for (const auto& [name, below] : {std::pair{"HOME", ""},
                                      {"XDG_CONFIG_HOME", "/.config"},
                                      {"XDG_DATA_HOME", "/.local/share"},
                                      {"XDG_CACHE_HOME", "/.cache"}})
        env.insert(name, home.path() + below);
    CliRun run = recognize({good, dir.path() + "/missing.png"}, env);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "==> " + good + " <==\nPower Saving\n");
    EXPECT_EQ(tree(home.path()), before);
}
