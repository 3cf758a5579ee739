#include "bitmap_writer.h"

#include <QSaveFile>
#include <cstdint>

namespace tomtura {

namespace {

constexpr int kHeadersBytes = 14 + 40;

void Put16(QByteArray& b, int at, std::uint16_t v) {
  b[at] = char(v & 0xFF);
  b[at + 1] = char(v >> 8);
}
void Put32(QByteArray& b, int at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
}

}  // namespace

QByteArray EncodeBitmap24(const QImage& image) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  const int width = rgb.width();
  const int height = rgb.height();
  const int stride = (3 * width + 3) / 4 * 4;
  const int pixelBytes = stride * height;

  QByteArray b(kHeadersBytes + pixelBytes, '\0');
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, std::uint32_t(b.size()));
  Put32(b, 10, kHeadersBytes);
  Put32(b, 14, 40);
  Put32(b, 18, std::uint32_t(width));
  Put32(b, 22, std::uint32_t(height));
  Put16(b, 26, 1);   // planes
  Put16(b, 28, 24);  // bits per pixel
  Put32(b, 34, std::uint32_t(pixelBytes));
  Put32(b, 38, 2835);  // 72 dots per inch, in dots per metre
  Put32(b, 42, 2835);

  for (int y = 0; y < height; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(height - 1 - y));
    char* out = b.data() + kHeadersBytes + stride * y;
    for (int x = 0; x < width; ++x) {
      out[3 * x] = char(qBlue(line[x]));
      out[3 * x + 1] = char(qGreen(line[x]));
      out[3 * x + 2] = char(qRed(line[x]));
    }
  }
  return b;
}

bool WriteBitmap24(const QImage& image, const QString& path) {
  const QByteArray bytes = EncodeBitmap24(image);
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(bytes) != bytes.size()) return false;
  return file.commit();
}

}  // namespace tomtura
