// libFuzzer target of the board picture's BMP reader. Whatever the bytes, the decoder must not
// read past them; a picture it accepts has the header's size, and every sprite of the game can
// be cut from it as the sheet, however small it is.
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "fuzz_support.h"
#include "ui/board_picture.h"

// Qt keeps caches alive until exit that the leak checker would count on every run.
extern "C" const char* __asan_default_options() {
  return "detect_leaks=0";
}

namespace {

using tomtura::BoardPicture;
using tomtura::fuzz::Require;

std::int32_t I32(const std::uint8_t* p) {
  return static_cast<std::int32_t>(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                                   std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24);
}

void CutSprites(const QImage& image) {
  BoardPicture picture;
  picture.SetSheet(image);
  picture.Opaque(tomtura::sheet::kBoard);
  for (int face = 1; face <= 6; ++face) picture.DieFace(face);
  for (int token = 0; token <= 9; ++token) picture.OwnerMark(token);
  for (int group = 0; group <= 10; ++group) picture.GroupMarker(group);
  picture.MortgageMark();
  picture.House(1);
  picture.Hotel(2);
  picture.FrameTile(3);
  picture.SlotButton(true, true);
  picture.BackgroundBrush();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QGuiApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const std::optional<QImage> image = BoardPicture::DecodeBitmap(bytes);
  if (!image) return 0;
  Require(size >= 54, "a picture has both headers");
  Require(!image->isNull() && image->format() == QImage::Format_RGB32, "a picture is RGB32");
  Require(image->width() == I32(data + 18) && image->height() == std::abs(I32(data + 22)),
          "a picture has the header's size");
  CutSprites(*image);
  return 0;
}
