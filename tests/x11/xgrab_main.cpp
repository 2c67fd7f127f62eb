// Reads the screen of an X display through the toolkit's own X connection,
// so the window tests need no image tool beside the packages the program
// builds with.
//   qarv-xgrab png FILE [X Y W H]  the screen (or the rectangle) as a PNG
//   qarv-xgrab pixels X Y W H      one line "col,row: (r,g,b)" per pixel of
//                                  the rectangle, row by row
// The display is $DISPLAY. Exit 0 on success, 1 with a message otherwise.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    const bool png = argc > 1 && std::strcmp(argv[1], "png") == 0;
    const bool pixels = argc > 1 && std::strcmp(argv[1], "pixels") == 0;
    if (!((png && (argc == 3 || argc == 7)) || (pixels && argc == 6))) {
        std::fprintf(stderr, "usage: qarv-xgrab png FILE [X Y W H] | pixels X Y W H\n");
        return 1;
    }
    // Only the X display will do: a headless platform would grab nothing.
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        std::fprintf(stderr, "qarv-xgrab: no screen\n");
        return 1;
    }
    const QImage image = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) {
        std::fprintf(stderr, "qarv-xgrab: the screen could not be read\n");
        return 1;
    }
    if (png) {
        QImage part = image;
        if (argc == 7)
            part = image.copy(std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]));
        if (part.isNull() || !part.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
            std::fprintf(stderr, "qarv-xgrab: cannot write %s\n", argv[2]);
            return 1;
        }
        return 0;
    }
    const int x = std::atoi(argv[2]), y = std::atoi(argv[3]), w = std::atoi(argv[4]), h = std::atoi(argv[5]);
    if (w <= 0 || h <= 0) return 1;
    std::string out;
    char line[64];
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col) {
            const int px = x + col, py = y + row;
            if (px < 0 || py < 0 || px >= image.width() || py >= image.height()) continue;
            const QRgb c = image.pixel(px, py);
            std::snprintf(line, sizeof line, "%d,%d: (%d,%d,%d)\n", col, row, qRed(c), qGreen(c), qBlue(c));
            out += line;
        }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
