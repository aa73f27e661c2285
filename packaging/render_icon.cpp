// Renders the program icon from its SVG source into square PNGs, one per
// size, for the desktop's icon theme: render_icon SOURCE.svg OUTDIR SIZE...
// writes OUTDIR/SIZE.png for each size.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[]) {
    // It only draws into images, and runs during the build, where there may
    // be no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: render_icon SOURCE.svg OUTDIR SIZE...\n");
        return 2;
    }
    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render_icon: cannot read %s\n", qPrintable(args.at(1)));
        return 1;
    }
    const QDir outDir(args.at(2));
    if (!outDir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "render_icon: cannot create %s\n", qPrintable(args.at(2)));
        return 1;
    }
    for (qsizetype i = 3; i < args.size(); ++i) {
        bool ok = false;
        const int size = args.at(i).toInt(&ok);
        if (!ok || size < 1 || size > 1024) {
            std::fprintf(stderr, "render_icon: bad size %s\n", qPrintable(args.at(i)));
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        const QString out = outDir.filePath(QString::number(size) + QStringLiteral(".png"));
        if (!image.save(out, "PNG")) {
            std::fprintf(stderr, "render_icon: cannot write %s\n", qPrintable(out));
            return 1;
        }
    }
    return 0;
}
