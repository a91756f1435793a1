// Run by the build: writes the program's icon, painted by the same code as the tray icon, as
// the files the desktop's icon theme needs: quorvex.svg and quorvex-SIZE.png for each size
// given. Usage: quorvex_icon_render OUTPUT-FOLDER SIZE...
#include "ui/icons.hpp"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// The drawing's own grid; the SVG keeps it as its view box, so it scales without loss.
constexpr int kGrid = 16;

bool writeSvg(const QString& file)
{
    QSvgGenerator svg;
    svg.setFileName(file);
    svg.setSize(QSize(kGrid, kGrid));
    svg.setViewBox(QRect(0, 0, kGrid, kGrid));
    svg.setTitle(QStringLiteral("Quorvex"));
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    quorvex::icons::paintApplication(painter, kGrid);
    return painter.end();
}

bool writePng(const QString& file, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        quorvex::icons::paintApplication(painter, size);
    }
    return image.save(file, "PNG");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: quorvex_icon_render OUTPUT-FOLDER SIZE...\n");
        return 2;
    }
    // Rendering needs no screen; the build may have none.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!writeSvg(folder + "/quorvex.svg")) {
        std::fprintf(stderr, "quorvex_icon_render: cannot write %s/quorvex.svg\n", argv[1]);
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString file = folder + QStringLiteral("/quorvex-%1.png").arg(size);
        if (size <= 0 || !writePng(file, size)) {
            std::fprintf(stderr, "quorvex_icon_render: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
