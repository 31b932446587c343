// Renders an SVG picture to a PNG of the given size in pixels (square when
// only the width is given), with Qt's own SVG renderer. The build draws the
// program's artwork and the installed icons with it, so that the program
// itself needs no SVG renderer at start-up.
//   svg2png <picture.svg> <out.png> <width> [<height>]
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 4 && argc != 5) {
    std::fprintf(stderr, "usage: svg2png <picture.svg> <out.png> <width> [<height>]\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const int width = std::atoi(argv[3]);
  const int height = argc == 5 ? std::atoi(argv[4]) : width;
  QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
  if (!renderer.isValid() || width <= 0 || height <= 0) return 1;
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  renderer.render(&painter);
  painter.end();
  return image.save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
}
