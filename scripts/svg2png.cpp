// Renders an SVG picture to a PNG of the given size in pixels (square when
// only the width is given), with Qt's own SVG renderer. The build draws the
// program's artwork and the installed icons with it, so that the program
// itself needs no SVG renderer at start-up.
// An output name ending in ".argb" gets the bare pixels instead: the width
// and height (32 bits each, in the machine's order), then the rows of
// premultiplied 32-bit ARGB, which the program shows without decoding.
// One ending in ".ico" gets a Windows icon of square pictures of each size
// given (PNG pictures, as icons from Windows Vista on hold them).
//   svg2png <picture.svg> <out.png|out.argb> <width> [<height>]
//   svg2png <picture.svg> <out.ico> <size> [<size>...]
#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
QImage Render(QSvgRenderer& renderer, int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  renderer.render(&painter);
  painter.end();
  return image;
}

void Put16(QByteArray& out, unsigned v) {
  out.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
}
void Put32(QByteArray& out, unsigned v) {
  Put16(out, v & 0xffff);
  Put16(out, v >> 16);
}

int WriteIcon(QSvgRenderer& renderer, const QString& out, int count, char** sizes) {
  std::vector<QByteArray> pictures;
  std::vector<int> sides;
  for (int i = 0; i < count; ++i) {
    const int side = std::atoi(sizes[i]);
    if (side <= 0 || side > 256) return 1;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!Render(renderer, side, side).save(&buffer, "PNG")) return 1;
    pictures.push_back(png);
    sides.push_back(side);
  }
  QByteArray icon;
  Put16(icon, 0);
  Put16(icon, 1);  // an icon
  Put16(icon, unsigned(pictures.size()));
  unsigned offset = 6 + 16 * unsigned(pictures.size());
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    icon.append(char(sides[i] == 256 ? 0 : sides[i])).append(char(sides[i] == 256 ? 0 : sides[i]));
    icon.append(char(0)).append(char(0));
    Put16(icon, 1);
    Put16(icon, 32);
    Put32(icon, unsigned(pictures[i].size()));
    Put32(icon, offset);
    offset += unsigned(pictures[i].size());
  }
  for (const auto& png : pictures) icon.append(png);
  QFile file(out);
  return file.open(QIODevice::WriteOnly) && file.write(icon) == icon.size() ? 0 : 1;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc >= 4 && QString::fromLocal8Bit(argv[2]).endsWith(".ico")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) return 1;
    return WriteIcon(renderer, QString::fromLocal8Bit(argv[2]), argc - 3, argv + 3);
  }
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
  const QImage image = Render(renderer, width, height);
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
