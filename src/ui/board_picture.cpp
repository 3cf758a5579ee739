// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/board_picture.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace tomtura {

namespace {

constexpr int kFileHeaderBytes = 14;
constexpr int kInfoHeaderBytes = 40;
constexpr int kColourEntryBytes = 4;
constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;  // far above any sheet; refuses absurd files
constexpr int kMaxSide = 16384;
// Far above any sheet (685 x 765): a small 1-bit file could otherwise ask for a gigabyte image.
constexpr qint64 kMaxPixels = 4096 * 4096;

constexpr int kSpriteKind = 0;
constexpr int kOpaqueKind = 1;
constexpr int kOwnerMarkKind = 2;
constexpr int kOwnerMarkSize = 20;
constexpr int kMortgageIcon = 3;

constexpr int kDieSize = 40;
constexpr int kDiceTop = 685;
constexpr int kTumblingTop = 725;
constexpr int kIconLeft = 264;
constexpr int kIconTop = 685;
constexpr int kIconSize = 25;
constexpr int kTokenLeft = 264;
constexpr int kTokenTop = 710;
constexpr int kTokenSize = 40;
constexpr int kMarkerTop = 750;
constexpr int kMarkerWidth = 20;
constexpr int kMarkerHeight = 14;
constexpr int kMarkerFirstColumn = 14;
constexpr int kSlotLeft = 240;
constexpr QSize kSlotSize(24, 20);

constexpr int kTileStep = 44;
constexpr int kTileInset = 3;
constexpr int kTileThickness = 7;
constexpr int kTileSideOffset = 11;

std::uint32_t U32(const QByteArray& b, qint64 at) {
  const auto* p = reinterpret_cast<const unsigned char*>(b.constData()) + at;
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}
std::uint16_t U16(const QByteArray& b, qint64 at) {
  const auto* p = reinterpret_cast<const unsigned char*>(b.constData()) + at;
  return std::uint16_t(p[0] | p[1] << 8);
}

bool ValidIndex(int value, int count) {
  return value >= 0 && value < count;
}

// Draws the segment from `from` towards `to`, leaving out the end point, as the frame lines of
// Windows are drawn; the next segment starts on that point.
void Segment(QPainter& p, QPoint from, QPoint to) {
  if (from == to) return;
  const int sx = (to.x() > from.x()) - (to.x() < from.x());
  const int sy = (to.y() > from.y()) - (to.y() < from.y());
  const QPoint last = to - QPoint(sx, sy);
  if (last == from) {
    p.drawPoint(from);
  } else {
    p.drawLine(from, last);
  }
}

void Polyline(QPainter& p, std::initializer_list<QPoint> points) {
  const QPoint* previous = nullptr;
  for (const QPoint& point : points) {
    if (previous) Segment(p, *previous, point);
    previous = &point;
  }
}

}  // namespace

namespace sheet {

QRect DieFace(int face) {
  return QRect(kDieSize * (face - 1), kDiceTop, kDieSize, kDieSize);
}
QRect TumblingDie(int frame) {
  return QRect(kDieSize * frame, kTumblingTop, kDieSize, kDieSize);
}
QRect Token(int token) {
  return QRect(kTokenLeft + kTokenSize * token, kTokenTop, kTokenSize, kTokenSize);
}
QRect ButtonIcon(int index) {
  return QRect(kIconLeft + kIconSize * index, kIconTop, kIconSize, kIconSize);
}
QRect House(int edge) {
  static constexpr int kLeft[] = {440, 455, 470};
  return QRect(kLeft[ValidIndex(edge, 3) ? edge : 0], 685, 15, 15);
}
QRect Hotel(int edge) {
  static constexpr QRect kHotels[] = {QRect(485, 685, 25, 21), QRect(510, 685, 21, 25),
                                      QRect(531, 685, 21, 25)};
  return kHotels[ValidIndex(edge, 3) ? edge : 0];
}
QRect GroupMarker(int group) {
  return QRect((group + kMarkerFirstColumn) * kMarkerWidth, kMarkerTop, kMarkerWidth,
               kMarkerHeight);
}
QRect FrameTile(int which) {
  static constexpr QRect kTiles[] = {QRect(500, 750, 43, 7), QRect(500, 758, 43, 7),
                                     QRect(670, 685, 7, 43), QRect(678, 685, 7, 43)};
  return kTiles[ValidIndex(which, 4) ? which : 0];
}
QRect SlotButton(bool next, bool pressed) {
  const int top = (next ? 685 : 725) + (pressed ? kSlotSize.height() : 0);
  return QRect(QPoint(kSlotLeft, top), kSlotSize);
}

}  // namespace sheet

std::optional<QImage> BoardPicture::DecodeBitmap(const QByteArray& bytes) {
  const qint64 size = bytes.size();
  if (size < kFileHeaderBytes + kInfoHeaderBytes) return std::nullopt;
  if (bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  if (U32(bytes, kFileHeaderBytes) != kInfoHeaderBytes) return std::nullopt;

  const auto width = static_cast<std::int32_t>(U32(bytes, 18));
  const auto height = static_cast<std::int32_t>(U32(bytes, 22));
  const int bitCount = U16(bytes, 28);
  const std::uint32_t compression = U32(bytes, 30);
  const std::uint32_t colourCountField = U32(bytes, 46);

  // Uncompressed pixels only, in the depths whose colour count the header gives or implies.
  if (compression != 0) return std::nullopt;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24) return std::nullopt;
  // The height is compared before it is negated: the most negative value has no opposite.
  if (width <= 0 || width > kMaxSide || height == 0 || height > kMaxSide || height < -kMaxSide) {
    return std::nullopt;
  }
  const int rows = std::abs(height);
  const bool bottomUp = height > 0;
  if (qint64(width) * rows > kMaxPixels) return std::nullopt;

  qint64 colours = colourCountField;
  if (colours == 0 && bitCount != 24) colours = qint64(1) << bitCount;
  const qint64 tableAt = kFileHeaderBytes + kInfoHeaderBytes;
  // The pixels lie directly after the colour table; the file header's offset is not used.
  const qint64 pixelsAt = tableAt + kColourEntryBytes * colours;
  const qint64 stride = (qint64(bitCount) * width + 31) / 32 * 4;
  if (pixelsAt > size || stride * rows > size - pixelsAt) return std::nullopt;

  QList<QRgb> table;
  if (bitCount != 24) {
    const qint64 usable = std::min<qint64>(colours, qint64(1) << bitCount);
    table.fill(qRgb(0, 0, 0), 1 << bitCount);  // indices beyond the table show black
    for (qint64 i = 0; i < usable; ++i) {
      const auto* q = reinterpret_cast<const unsigned char*>(bytes.constData()) + tableAt +
                      kColourEntryBytes * i;
      table[i] = qRgb(q[2], q[1], q[0]);
    }
  }

  QImage image(width, rows, QImage::Format_RGB32);
  if (image.isNull()) return std::nullopt;
  const auto* pixels = reinterpret_cast<const unsigned char*>(bytes.constData()) + pixelsAt;
  for (int row = 0; row < rows; ++row) {
    const unsigned char* src = pixels + stride * row;
    auto* dst = reinterpret_cast<QRgb*>(image.scanLine(bottomUp ? rows - 1 - row : row));
    for (int x = 0; x < width; ++x) {
      if (bitCount == 24) {
        dst[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
      } else {
        const int perByte = 8 / bitCount;
        const int shift = 8 - bitCount * (x % perByte + 1);
        const int index = (src[x / perByte] >> shift) & ((1 << bitCount) - 1);
        dst[x] = table[index];
      }
    }
  }
  return image;
}

std::optional<QImage> BoardPicture::LoadBitmapFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const qint64 size = file.size();
  if (size <= 0 || size > kMaxFileBytes) return std::nullopt;
  const QByteArray bytes = file.readAll();
  if (bytes.size() != size) return std::nullopt;  // the whole file or nothing
  return DecodeBitmap(bytes);
}

bool BoardPicture::Load(const QString& path) {
  std::optional<QImage> image = LoadBitmapFile(path);
  if (!image) return false;
  SetSheet(*image);
  return true;
}

void BoardPicture::SetSheet(const QImage& image) {
  cache_.clear();
  sheet_ = image.convertToFormat(QImage::Format_RGB32);
}

const QPixmap& BoardPicture::Cached(const QRect& source, QRgb keyColour, int kind) const {
  const Key key{source.x(), source.y(), source.width(), source.height(), keyColour, kind};
  auto found = cache_.find(key);
  if (found != cache_.end()) return found->second;

  QImage cut = sheet_.copy(source).convertToFormat(QImage::Format_ARGB32);
  if (kind != kOpaqueKind) {
    const QRgb wanted = keyColour & 0xFFFFFFu;
    for (int y = 0; y < cut.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(cut.scanLine(y));
      for (int x = 0; x < cut.width(); ++x) {
        if ((line[x] & 0xFFFFFFu) == wanted) line[x] = 0;
      }
    }
  }
  if (kind == kOwnerMarkKind) {
    cut = cut.convertToFormat(QImage::Format_ARGB32_Premultiplied)
              .scaled(kOwnerMarkSize, kOwnerMarkSize, Qt::IgnoreAspectRatio,
                      Qt::SmoothTransformation);
  }
  return cache_.emplace(key, QPixmap::fromImage(cut)).first->second;
}

const QPixmap& BoardPicture::Sprite(const QRect& source, QRgb keyColour) const {
  return Cached(source, keyColour, kSpriteKind);
}
const QPixmap& BoardPicture::Opaque(const QRect& source) const {
  return Cached(source, 0, kOpaqueKind);
}
const QPixmap& BoardPicture::Board() const {
  return Opaque(sheet::kBoard);
}
const QPixmap& BoardPicture::DieFace(int face) const {
  return Sprite(sheet::DieFace(face), kKeyDice);
}
const QPixmap& BoardPicture::TumblingDie(int frame) const {
  return Sprite(sheet::TumblingDie(frame), kKeyDice);
}
const QPixmap& BoardPicture::Token(int token) const {
  return Sprite(sheet::Token(token), kKeyWhite);
}
const QPixmap& BoardPicture::OwnerMark(int token) const {
  return Cached(sheet::Token(token), kKeyWhite, kOwnerMarkKind);
}
const QPixmap& BoardPicture::ButtonIcon(int index) const {
  return Sprite(sheet::ButtonIcon(index), kKeySilver);
}
const QPixmap& BoardPicture::MortgageMark() const {
  return ButtonIcon(kMortgageIcon);
}
const QPixmap& BoardPicture::House(int edge) const {
  return Sprite(sheet::House(edge), kKeyWhite);
}
const QPixmap& BoardPicture::Hotel(int edge) const {
  return Sprite(sheet::Hotel(edge), kKeyWhite);
}
const QPixmap& BoardPicture::GroupMarker(int group) const {
  return Sprite(sheet::GroupMarker(group), kKeyCream);
}
const QPixmap& BoardPicture::Coin() const {
  return Sprite(sheet::kCoin, kKeyWhite);
}
QBrush BoardPicture::BackgroundBrush() const {
  return QBrush(Opaque(sheet::kBackgroundPattern));
}
QBrush BoardPicture::PanelBrush() const {
  return QBrush(Opaque(sheet::kPanelPattern));
}
const QPixmap& BoardPicture::SlotButton(bool next, bool pressed) const {
  return Opaque(sheet::SlotButton(next, pressed));
}
const QPixmap& BoardPicture::FrameTile(int which) const {
  return Sprite(sheet::FrameTile(which), kKeyWhite);
}

void Frame3D(QPainter& p, const QRect& r, bool raised, bool dim, int chamfer) {
  const QColor light = dim ? QColor(192, 192, 192) : QColor(255, 255, 255);
  const QColor dark = dim ? QColor(0, 0, 0) : QColor(128, 128, 128);
  const int left = r.left();
  const int top = r.top();
  const int right = r.left() + r.width();  // exclusive, as the outline is measured
  const int bottom = r.top() + r.height();
  const int c = chamfer;

  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(raised ? dark : light, 0));
  Polyline(p, {QPoint(left + c, bottom - 1), QPoint(right - c - 1, bottom - 1),
               QPoint(right - 1, bottom - c - 1), QPoint(right - 1, top + c),
               QPoint(right - c - 1, top)});
  p.setPen(QPen(raised ? light : dark, 0));
  Polyline(p, {QPoint(right - c - 1, top), QPoint(left + c, top), QPoint(left, top + c),
               QPoint(left, bottom - c - 1), QPoint(left + c, bottom - 1)});
  p.restore();
}

QSize TiledFrameSize(int nx, int ny) {
  return QSize(nx * kTileStep + 2 * kTileInset, ny * kTileStep + 2 * kTileSideOffset);
}

void DrawTiledFrame(QPainter& p, const QSize& client, int nx, int ny, const BoardPicture& pic) {
  const int farX = client.width() - kTileInset - kTileThickness;
  const int farY = client.height() - kTileInset - kTileThickness;
  for (int k = 0; k < nx; ++k) {
    const int x = kTileInset + kTileStep * k;
    p.drawPixmap(x, kTileInset, pic.FrameTile(0));
    p.drawPixmap(x, farY, pic.FrameTile(1));
  }
  for (int k = 0; k < ny; ++k) {
    const int y = kTileSideOffset + kTileStep * k;
    p.drawPixmap(kTileInset, y, pic.FrameTile(2));
    p.drawPixmap(farX, y, pic.FrameTile(3));
  }
}

void DrawPropertyItem(QPainter& p, const QRect& r, int property, const PropertyTable& table,
                      bool focused, const BoardPicture& pic, const QFont& font) {
  constexpr QColor kItemFill(255, 255, 235);
  constexpr QColor kFocusFill(128, 0, 128);
  constexpr int kMarkerInset = 2;
  constexpr int kNameInset = 24;

  p.save();
  // An empty list has no item to mark: its field keeps the item colour, with a focus frame.
  const bool shown = ValidIndex(property, kPropertyCount);
  p.fillRect(r, focused && shown ? kFocusFill : kItemFill);
  Frame3D(p, r, false, false, 0);
  if (focused && !shown) {
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.drawRect(r.adjusted(2, 2, -3, -3));
  }
  if (shown) {
    const Property& entry = table[property];
    if (ValidIndex(entry.group, kJailCardGroup + 1)) {
      p.drawPixmap(r.left() + kMarkerInset, r.top() + 1, pic.GroupMarker(entry.group));
    }
    QColor ink = focused ? QColor(255, 255, 255) : QColor(0, 0, 0);
    if (entry.mortgaged) ink = focused ? QColor(255, 255, 0) : QColor(255, 0, 0);
    p.setPen(ink);
    p.setFont(font);
    p.setClipRect(r);
    const QRect text(r.left() + kNameInset, r.top(), std::max(0, r.width() - kNameInset),
                     r.height());
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               QString::fromStdString(entry.name.utf8()));
  }
  p.restore();
}

}  // namespace tomtura
