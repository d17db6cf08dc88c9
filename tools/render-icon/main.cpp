// Renders an SVG icon to square PNG files, one per size, for the icon theme's fixed-size
// folders: render-icon ICON.svg OUTPUT_DIR SIZE... writes OUTPUT_DIR/<size>.png.
// Desktops that cannot scale SVG icons (and some that can, for small sizes) look for these.

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

// Paths and fills only: no application object, no platform plugin, no display.
int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (arguments.size() < 4) {
        std::fprintf(stderr, "usage: render-icon ICON.svg OUTPUT_DIR SIZE...\n");
        return 2;
    }
    QSvgRenderer svg(arguments.at(1));
    if (!svg.isValid()) {
        std::fprintf(stderr, "render-icon: %s is not a usable SVG file\n", argv[1]);
        return 1;
    }
    for (const QString& sizeText : arguments.mid(3)) {
        bool ok = false;
        const int size = sizeText.toInt(&ok);
        if (!ok || size < 1 || size > 1024) {
            std::fprintf(stderr, "render-icon: bad size '%s'\n", qPrintable(sizeText));
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            svg.render(&painter);
        }
        const QString file = arguments.at(2) + u'/' + sizeText + QStringLiteral(".png");
        if (!image.save(file, "PNG")) {
            std::fprintf(stderr, "render-icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
