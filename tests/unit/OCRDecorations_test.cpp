// Window decorations and code views: what a window manager and a toolkit draw around text
// (a title bar in gradients with its buttons, check boxes, radio buttons) is not text, and
// an editor's gutter of line numbers is not part of the code. A numbered list keeps its
// numbers.
#include "platform/tesseract/LineNumberGutter.h"
#include "platform/tesseract/TesseractTextAnalyzer.h"
#include "support/TesseractModels.h"

#include <QLinearGradient>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

QFont font(const QString& family, int px, bool bold = false) {
    QFont f(family);
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

// A dialog's title bar: two gradients meeting half way (each half only a few rows tall),
// a caption in the middle and the window manager's three buttons at the right, drawn as
// line glyphs in the caption's colour: minimise, maximise, close.
void drawTitleBar(QPainter& p, int width, const QString& caption) {
    QLinearGradient upper(0, 0, 0, 11), lower(0, 11, 0, 22);
    upper.setColorAt(0, QColor(186, 186, 186));
    upper.setColorAt(1, QColor(172, 172, 172));
    lower.setColorAt(0, QColor(166, 166, 166));
    lower.setColorAt(1, QColor(154, 154, 154));
    p.fillRect(0, 0, width, 11, upper);
    p.fillRect(0, 11, width, 11, lower);
    p.setFont(font("DejaVu Sans", 11, true));
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, width, 22), Qt::AlignCenter, caption);
    p.setPen(QPen(Qt::white, 2));
    const int right = width - 8;
    p.drawLine(right - 50, 15, right - 42, 15);
    p.drawRect(right - 32, 7, 8, 8);
    p.drawLine(right - 10, 7, right - 2, 15);
    p.drawLine(right - 2, 7, right - 10, 15);
}

} // namespace

TEST(OCRDecorations, ATitleBarInTwoGradientsGivesItsCaptionAndNotItsButtons) {
    if (!hasModels({"eng"}))
        GTEST_SKIP() << "no English model";
    const QStringList body{"The archive could not be opened.", "Check the file name and retry."};
    QImage image(420, 110, QImage::Format_RGB32);
    image.fill(QColor(239, 239, 239));
    QPainter p(&image);
    drawTitleBar(p, image.width(), "Extract Files");
    p.setFont(font("DejaVu Sans", 14));
    p.setPen(QColor(30, 30, 30));
    p.drawText(14, 58, body[0]);
    p.drawText(14, 86, body[1]);
    p.end();
    TesseractTextAnalyzer en(pool(), {"eng", ""});
    QStringList rows;
    for (const QString& row : en.analyze(image).transcript.split('\n'))
        rows.append(row.simplified());
    EXPECT_EQ(rows.join('\n').toStdString(), ("Extract Files\n" + body.join('\n')).toStdString());
}

TEST(OCRDecorations, CheckBoxesAndRadioButtonsLeaveOnlyTheirLabels) {
    if (!hasModels({"eng"}))
        GTEST_SKIP() << "no English model";
    // At scale 2, in a light theme: each box is a surface of its own, white when off and
    // of the accent colour with a tick or a dot when on.
    const QStringList labels{"Show hidden files", "Sort folders first", "Use a single click",
                             "Open folders in tabs"};
    QImage image(440, 4 * 56 + 20, QImage::Format_RGB32);
    image.fill(QColor(239, 239, 239));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor accent(48, 140, 198);
    for (int i = 0; i < labels.size(); ++i) {
        const QRectF box(20, 22 + i * 56, 30, 30);
        const bool on = i % 2 == 0;
        const bool radio = i >= 2;
        p.setPen(QPen(on ? accent.darker(120) : QColor(160, 160, 160), 2));
        p.setBrush(on ? accent : Qt::white);
        if (radio)
            p.drawEllipse(box);
        else
            p.drawRoundedRect(box, 5, 5);
        if (on && radio) {
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawEllipse(box.center(), 6, 6);
        } else if (on) {
            p.setPen(QPen(Qt::white, 4));
            p.drawPolyline(
                QPolygonF({box.topLeft() + QPointF(7, 15), box.topLeft() + QPointF(13, 22),
                           box.topLeft() + QPointF(24, 8)}));
        }
        p.setPen(QColor(30, 30, 30));
        p.setFont(font("DejaVu Sans", 26));
        p.drawText(68, 47 + i * 56, labels[i]);
    }
    p.end();
    TesseractTextAnalyzer en(pool(), {"eng", ""});
    EXPECT_EQ(en.analyze(image).transcript.toStdString(), labels.join('\n').toStdString());
}

TEST(OCRDecorations, AGutterOfLineNumbersGoesAndANumberedListKeepsItsNumbers) {
    if (!hasModels({"eng"}))
        GTEST_SKIP() << "no English model";
    // An editor: a gutter counting 41 to 46 in a dimmer colour, a blank line of code.
    const QStringList code{"int main(void)",    "{", "    int count = size;", "",
                           "    return count;", "}"};
    QImage editor(380, 6 * 22 + 16, QImage::Format_RGB32);
    editor.fill(Qt::white);
    QPainter p(&editor);
    p.setFont(font("DejaVu Sans Mono", 14));
    for (int i = 0; i < code.size(); ++i) {
        p.setPen(QColor(140, 140, 140));
        p.drawText(QRect(6, 8 + i * 22, 30, 22), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(41 + i));
        p.setPen(QColor(30, 30, 30));
        p.drawText(QRect(56, 8 + i * 22, 320, 22), Qt::AlignLeft | Qt::AlignVCenter, code[i]);
    }
    p.end();
    TesseractTextAnalyzer en(pool(), {"eng", ""});
    QStringList read;
    for (const QString& row : en.analyze(editor).transcript.split('\n'))
        if (!row.trimmed().isEmpty())
            read.append(row.simplified());
    EXPECT_EQ(read.join('\n').toStdString(),
              "int main(void)\n{\nint count = size;\nreturn count;\n}");

    // Steps of an installation guide, numbered by hand.
    const QStringList steps{"1. Download the archive", "2. Unpack it in your home folder",
                            "3. Run the installer", "4. Log out and back in",
                            "5. Start the application"};
    QImage list(420, 5 * 26 + 16, QImage::Format_RGB32);
    list.fill(Qt::white);
    QPainter q(&list);
    q.setFont(font("DejaVu Sans", 15));
    q.setPen(QColor(30, 30, 30));
    for (int i = 0; i < steps.size(); ++i)
        q.drawText(12, 28 + i * 26, steps[i]);
    q.end();
    EXPECT_EQ(en.analyze(list).transcript.toStdString(), steps.join('\n').toStdString());
}

TEST(OCRDecorations, OnlyAStronglyEvidencedGutterIsStripped) {
    // Code keeps its indentation relative to the least indented line; a blank code line
    // stays a blank line.
    EXPECT_EQ(LineNumberGutter::strip("7   def f():\n8       return 1\n9\n10  x = f()\n11  "
                                      "print(x)")
                  .toStdString(),
              "def f():\n    return 1\n\nx = f()\nprint(x)");
    // Text above the code view is left as it is.
    EXPECT_EQ(LineNumberGutter::strip("main.c\n1 a\n2 b\n3\n4 c\n5 d").toStdString(),
              "main.c\na\nb\n\nc\nd");
    // Not a gutter: a table of contents (every row has a title), numbers that do not count
    // by one, too few rows, a column of numbers alone, list numbers with their stops.
    for (const char* kept :
         {"1 Introduction\n2 Installation\n3 Usage\n4 Options\n5 Files", "1 a\n2 b\n4\n5 d\n6 e",
          "1 a\n2\n3 c\n4 d", "10\n11\n12\n13\n14", "1. a\n2. b\n3.\n4. d\n5. e"})
        EXPECT_EQ(LineNumberGutter::strip(kept).toStdString(), kept);
}

TEST(OCRDecorations, RunsOfUnderscoresInCodeStayWithTheirNames) {
    if (!hasModels({"eng"}))
        GTEST_SKIP() << "no English model";
    // Reserved names of a C header: the recogniser cuts "__" from the name behind it.
    const QStringList code{"   marked with __THROW. */",
                           "#if defined __USE_ISOC99 || defined __USE_UNIX98",
                           "  __THROWNL __attribute__ (__printf__);"};
    QImage image(560, 3 * 24 + 16, QImage::Format_RGB32);
    image.fill(QColor(30, 30, 30));
    QPainter p(&image);
    p.setFont(font("Liberation Mono", 13));
    p.setPen(QColor(212, 212, 212));
    for (int i = 0; i < code.size(); ++i)
        p.drawText(8, 24 + i * 24, code[i]);
    p.end();
    TesseractTextAnalyzer en(pool(), {"eng", ""});
    QStringList read;
    for (const QString& row : en.analyze(image).transcript.split('\n'))
        read.append(row.simplified());
    QStringList expected;
    for (const QString& row : code)
        expected.append(row.simplified());
    EXPECT_EQ(read.join('\n').toStdString(), expected.join('\n').toStdString());
}

TEST(OCRDecorations, ASmallCaptionBesideBevelledButtonsIsKept) {
    if (!hasModels({"eng"}))
        GTEST_SKIP() << "no English model";
    // A narrow list window at scale 2 under a window manager drawing at scale 1: the
    // caption is far smaller than the rows, and its three bevelled buttons stand close
    // beside it.
    const QStringList rows{"Name", "Libyan dinar", "Swiss franc", "Moldovan leu", "Kyat"};
    QImage image(210, 60 + 50 * int(rows.size()), QImage::Format_RGB32);
    image.fill(QColor(44, 44, 44));
    QPainter p(&image);
    QLinearGradient bar(0, 0, 0, 22);
    bar.setColorAt(0, QColor(150, 178, 218));
    bar.setColorAt(1, QColor(112, 144, 196));
    p.fillRect(0, 0, image.width(), 22, bar);
    p.setFont(font("DejaVu Sans", 12, true));
    p.setPen(Qt::white);
    p.drawText(QRect(24, 0, 128, 22), Qt::AlignCenter, "Currencies");
    for (int i = 0; i < 3; ++i) {
        const QRect button(image.width() - 58 + i * 18, 4, 15, 14);
        p.setPen(QColor(80, 104, 150));
        p.setBrush(QColor(160, 184, 222));
        p.drawRect(button);
        p.setPen(QPen(QColor(40, 56, 90), 2));
        const QPoint c = button.center();
        if (i == 0)
            p.drawLine(c.x() - 3, c.y() + 3, c.x() + 3, c.y() + 3);
        else if (i == 1)
            p.drawRect(c.x() - 3, c.y() - 3, 6, 6);
        else {
            p.drawLine(c.x() - 3, c.y() - 3, c.x() + 3, c.y() + 3);
            p.drawLine(c.x() + 3, c.y() - 3, c.x() - 3, c.y() + 3);
        }
    }
    p.setFont(font("DejaVu Sans", 26));
    p.setPen(QColor(238, 238, 236));
    for (int i = 0; i < rows.size(); ++i)
        p.drawText(16, 64 + 50 * i, rows[i]);
    p.end();
    TesseractTextAnalyzer en(pool(), {"eng", ""});
    const QString text = en.analyze(image).transcript;
    EXPECT_EQ(text.section('\n', 0, 0).simplified().toStdString(), "Currencies")
        << qPrintable(text);
    EXPECT_EQ(text.section('\n', 1).toStdString(), rows.join('\n').toStdString());
}

TEST(OCRDecorations, RunsOfUnderscoresInCodeKeepTheirLength) {
    if (!hasModels({"eng"}))
        GTEST_SKIP() << "no English model";
    // Double underscores in front of and behind names, in two monospaced faces: the
    // recogniser reads some of them as one. Proportional prose with an underscore in a
    // name is left as read.
    const QStringList code{
        "extern int vprintf (const char *__restrict __format, __gnuc_va_list __arg);",
        "    __THROWNL __attribute__ ((__format__ (__printf__, 3, 4)));"};
    TesseractTextAnalyzer en(pool(), {"eng", ""});
    for (const char* family : {"Liberation Mono", "DejaVu Sans Mono"}) {
        QImage image(720, 2 * 22 + 16, QImage::Format_RGB32);
        image.fill(QColor(43, 43, 43));
        QPainter p(&image);
        p.setFont(font(family, 13));
        p.setPen(QColor(220, 220, 220));
        for (int i = 0; i < code.size(); ++i)
            p.drawText(8, 24 + i * 22, code[i]);
        p.end();
        QStringList read;
        for (const QString& row : en.analyze(image).transcript.split('\n'))
            read.append(row.simplified());
        QStringList expected;
        for (const QString& row : code)
            expected.append(row.simplified());
        EXPECT_EQ(read.join('\n').toStdString(), expected.join('\n').toStdString()) << family;
    }
}
