// Renders an SVG picture to a PNG of the given size in pixels (square when
// only the width is given), with Qt's own SVG renderer. The build draws the
// program's artwork and the installed icons with it, so that the program
// itself needs no SVG renderer at start-up.
// An output name ending in ".argb" gets the bare pixels instead: the width
// and height (32 bits each, in the machine's order), then the rows of
// premultiplied 32-bit ARGB, which the program shows without decoding.
//   svg2png <picture.svg> <out.png|out.argb> <width> [<height>]
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdint>
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
  const QString out = QString::fromLocal8Bit(argv[2]);
  if (!out.endsWith(".argb")) return image.save(out, "PNG") ? 0 : 1;
  QFile file(out);
  if (!file.open(QIODevice::WriteOnly)) return 1;
  const std::uint32_t header[2] = {static_cast<std::uint32_t>(width),
                                   static_cast<std::uint32_t>(height)};
  file.write(reinterpret_cast<const char*>(header), sizeof header);
  for (int y = 0; y < height; ++y) {
    file.write(reinterpret_cast<const char*>(image.constScanLine(y)), width * 4);
  }
  return file.error() == QFile::NoError ? 0 : 1;
}
