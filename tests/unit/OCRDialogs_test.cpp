// Dialogs as toolkits draw them: square check boxes and outlined push buttons at scale 1,
// and a window whose contents are scaled up under a title bar the window manager keeps at
// its own small size.
#include "platform/tesseract/CaptionRereading.h"
#include "platform/tesseract/ScreenTextPreprocessor.h"
#include "platform/tesseract/TesseractTextAnalyzer.h"
#include "support/TesseractModels.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

QFont font(const QString& family, int px, bool bold = false) {
    QFont f(family);
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

QStringList rowsOf(const QString& transcript) {
    QStringList rows;
    for (const QString& row : transcript.split('\n'))
        if (!row.trimmed().isEmpty())
            rows.append(row.simplified());
    return rows;
}

// A light dialog at scale 1: square boxes with a grey outline and a white inside (the
// second one ticked) before their labels, and a row of outlined buttons.
QImage checkBoxDialog(const QStringList& labels, const QStringList& buttons, const QFont& type) {
    QImage image(300, 60 + 34 * int(labels.size()), QImage::Format_RGB32);
    image.fill(QColor(239, 239, 239));
    QPainter p(&image);
    p.setFont(type);
    for (int i = 0; i < labels.size(); ++i) {
        const QRect box(10, 14 + 34 * i, 13, 13);
        p.setPen(QColor(188, 188, 188));
        p.setBrush(Qt::white);
        p.drawRect(box);
        if (i == 1) {
            p.setPen(QPen(QColor(30, 30, 30), 2));
            p.drawPolyline(QPolygon({box.topLeft() + QPoint(3, 6), box.topLeft() + QPoint(6, 10),
                                     box.topLeft() + QPoint(11, 3)}));
        }
        p.setPen(QColor(30, 30, 30));
        p.drawText(QRect(32, 8 + 34 * i, 260, 26), Qt::AlignLeft | Qt::AlignVCenter, labels[i]);
    }
    const int top = 20 + 34 * int(labels.size());
    for (int i = 0; i < buttons.size(); ++i) {
        const QRect button(100 + 98 * i, top, 88, 28);
        p.setPen(QColor(170, 170, 170));
        p.setBrush(QColor(246, 246, 246));
        p.drawRoundedRect(button, 3, 3);
        p.setPen(QColor(30, 30, 30));
        p.drawText(button, Qt::AlignCenter, buttons[i]);
    }
    p.end();
    return image;
}

// A window scaled by two under a title bar of scale 1: a small bold caption between the
// window's icon and its buttons, and large text below.
QImage scaledWindow(const QString& caption, const QStringList& body, const QString& family) {
    QImage image(560, 40 + 56 * int(body.size()), QImage::Format_RGB32);
    image.fill(QColor(239, 239, 239));
    QPainter p(&image);
    p.fillRect(0, 0, image.width(), 20, QColor(96, 126, 170));
    p.setPen(Qt::white);
    p.drawRect(4, 4, 14, 11); // the window's icon
    p.fillRect(4, 4, 14, 4, Qt::white);
    p.setFont(font(family, 10, true));
    p.drawText(QRect(0, 0, image.width(), 20), Qt::AlignCenter, caption);
    for (int i = 0; i < 3; ++i)
        p.drawRect(image.width() - 54 + 17 * i, 4, 12, 11);
    p.setFont(font(family, 28));
    p.setPen(QColor(30, 30, 30));
    for (int i = 0; i < body.size(); ++i)
        p.drawText(24, 70 + 56 * i, body[i]);
    p.end();
    return image;
}

} // namespace

TEST(OCRDialogs, SquareCheckBoxesAndOutlinedButtonsLeaveOnlyTheirLabels) {
    if (!hasModels({"eng"}))
        GTEST_SKIP() << "no English model";
    TesseractTextAnalyzer en(pool(), {"eng", "", {}, {}, false, {}});
    const QStringList labels{"Show hidden files", "Sort folders first", "Open in new tabs"};
    EXPECT_EQ(rowsOf(en.analyze(checkBoxDialog(labels, {"OK", "Cancel"}, font("DejaVu Sans", 14)))
                         .transcript)
                  .join('\n')
                  .toStdString(),
              (labels.join('\n') + "\nOK Cancel").toStdString());
    // A Chinese model reads an empty box as the ideograph of a square mouth.
    if (!hasModels({"chi_sim"}))
        GTEST_SKIP() << "no Simplified Chinese model";
    TesseractTextAnalyzer zh(pool(), {"chi_sim+eng", "", {}, {}, true, {}});
    const QStringList zhLabels{"无需进行变更", "写入文件出错", "显示隐藏文件"};
    const QString read =
        rowsOf(zh.analyze(checkBoxDialog(zhLabels, {"确定", "取消"}, font("Noto Sans CJK SC", 14)))
                   .transcript)
            .join('\n')
            .remove(' ');
    EXPECT_EQ(read.toStdString(), (zhLabels.join('\n') + "\n确定取消").toStdString());
}

TEST(OCRDialogs, OnlyABoxWithASurfaceOfItsOwnIsErased) {
    // Outlines drawn on a grey page (`grey`) and as ink (`ink`): a box with a white inside,
    // a square glyph enclosing the page's shade, a small ring tinted inside by its rim.
    QImage grey(120, 40, QImage::Format_Grayscale8);
    grey.fill(236);
    QImage ink(grey.size(), QImage::Format_Grayscale8);
    ink.fill(255);
    auto outline = [&](QRect r, int rim, int inside) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                const bool edge =
                    y == r.top() || y == r.bottom() || x == r.left() || x == r.right();
                grey.scanLine(y)[x] = uchar(edge ? rim : inside);
                ink.scanLine(y)[x] = edge ? 0 : 255;
            }
        }
    };
    outline(QRect(10, 10, 13, 13), 188, 255);
    outline(QRect(40, 10, 13, 13), 30, 236);
    outline(QRect(70, 12, 8, 8), 30, 200);
    EXPECT_EQ(ScreenTextPreprocessor::removeCheckBoxes(ink, grey, 12), 1);
    EXPECT_EQ(ink.pixelColor(10, 16).value(), 255);
    EXPECT_EQ(ink.pixelColor(40, 16).value(), 0);
    EXPECT_EQ(ink.pixelColor(70, 16).value(), 0);
}

TEST(OCRDialogs, ASquareGlyphIsNoCheckBox) {
    if (!hasModels({"chi_sim"}))
        GTEST_SKIP() << "no Simplified Chinese model";
    // "口" opening a line, in the page's shade inside: text, not a box.
    QImage image(260, 60, QImage::Format_RGB32);
    image.fill(QColor(239, 239, 239));
    QPainter p(&image);
    p.setFont(font("Noto Sans CJK SC", 16));
    p.setPen(QColor(30, 30, 30));
    p.drawText(12, 36, "口令 错误");
    p.end();
    TesseractTextAnalyzer zh(pool(), {"chi_sim+eng", "", {}, {}, true, {}});
    EXPECT_TRUE(zh.analyze(image).transcript.startsWith("口"));
}

TEST(OCRDialogs, TheSmallCaptionOfAScaledWindowIsRead) {
    if (!hasModels({"eng"}))
        GTEST_SKIP() << "no English model";
    const QStringList body{"Archive settings", "Compression level"};
    TesseractTextAnalyzer en(pool(), {"eng", "", {}, {}, false, {}});
    EXPECT_EQ(rowsOf(en.analyze(scaledWindow("Preferences", body, "DejaVu Sans")).transcript)
                  .join('\n')
                  .toStdString(),
              ("Preferences\n" + body.join('\n')).toStdString());
    // A file name in the title of a Russian window is read in English.
    if (!hasModels({"rus"}))
        GTEST_SKIP() << "no Russian model";
    TesseractTextAnalyzer ru(pool(), {"rus+eng", "", {}, {}, true, {}});
    const QStringList russian{"Параметры архива", "Уровень сжатия"};
    QStringList rows =
        rowsOf(ru.analyze(scaledWindow("iso_3166-1.mo", russian, "DejaVu Sans")).transcript);
    ASSERT_FALSE(rows.isEmpty());
    // Small type leaves "i" and "I" alike; the letters are Latin.
    rows[0] = rows[0].toLower();
    EXPECT_EQ(rows.join('\n').toStdString(),
              ("iso_3166-1.mo\n" + russian.join('\n')).toStdString());
}

TEST(OCRDialogs, TheTopBandEndsAtTheFirstBlankRows) {
    QImage page(100, 60, QImage::Format_Grayscale8);
    page.fill(255);
    for (int y = 5; y < 12; ++y)
        page.scanLine(y)[40] = 0;
    for (int y = 20; y < 30; ++y)
        page.scanLine(y)[40] = 0;
    EXPECT_EQ(CaptionRereading::topBand(page), QRect(0, 5, 100, 7));
    // Ink down to the page's last rows is no band of its own.
    QImage full(100, 20, QImage::Format_Grayscale8);
    full.fill(255);
    for (int y = 3; y < 20; ++y)
        full.scanLine(y)[10] = 0;
    EXPECT_TRUE(CaptionRereading::topBand(full).isNull());
    QImage blank(100, 20, QImage::Format_Grayscale8);
    blank.fill(255);
    EXPECT_TRUE(CaptionRereading::topBand(blank).isNull());
}

TEST(OCRDialogs, OnlyOneCentredRunIsACaption) {
    QImage page(400, 40, QImage::Format_Grayscale8);
    auto mark = [&](int left, int width) {
        for (int y = 10; y < 20; ++y)
            std::fill_n(page.scanLine(y) + left, width, uchar(0));
    };
    // The window's icon, a caption of two words in the middle, three buttons.
    page.fill(255);
    mark(4, 10);
    mark(160, 40);
    mark(206, 34);
    for (int i = 0; i < 3; ++i)
        mark(340 + 18 * i, 12);
    const QRect band = CaptionRereading::topBand(page);
    EXPECT_EQ(CaptionRereading::captionIn(page, band), QRect(QPoint(160, 10), QPoint(239, 19)));
    // A table's header: columns apart, the first and last as small as an icon and a button.
    page.fill(255);
    mark(4, 18);
    mark(90, 50);
    mark(200, 80);
    mark(370, 20);
    EXPECT_TRUE(CaptionRereading::captionIn(page, band).isNull());
}
