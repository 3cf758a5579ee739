// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/board_picture.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPainter>
#include <QPen>
#include <QtEndian>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

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
constexpr int kPatternKind = 3;
// A pattern is repeated to this size in its brush, so that a fill copies long runs of pixels
// rather than one short row of the small tile at a time; a multiple of every pattern's size.
constexpr int kPatternTile = 128;
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

namespace {

// What the headers of an uncompressed BMP file say, checked against the file's size.
struct BitmapLayout {
  int width = 0;
  int rows = 0;
  bool bottomUp = true;
  int bitCount = 0;
  qint64 pixelsAt = 0;  // directly after the colour table; the file header's offset is not used
  qint64 stride = 0;
  QList<QRgb> table;  // the colours of 1, 4 and 8 bits
};

// The largest start of a file that the layout is read from: the headers and a full table.
constexpr qint64 kMaxHeadBytes = kFileHeaderBytes + kInfoHeaderBytes + kColourEntryBytes * 256;

// `head` is the start of a file of `size` bytes, at least its first kMaxHeadBytes or the whole.
std::optional<BitmapLayout> ReadLayout(const QByteArray& head, qint64 size) {
  if (head.size() < kFileHeaderBytes + kInfoHeaderBytes) return std::nullopt;
  if (head[0] != 'B' || head[1] != 'M') return std::nullopt;
  if (U32(head, kFileHeaderBytes) != kInfoHeaderBytes) return std::nullopt;

  BitmapLayout layout;
  const auto width = static_cast<std::int32_t>(U32(head, 18));
  const auto height = static_cast<std::int32_t>(U32(head, 22));
  layout.bitCount = U16(head, 28);
  const std::uint32_t compression = U32(head, 30);
  const std::uint32_t colourCountField = U32(head, 46);

  // Uncompressed pixels only, in the depths whose colour count the header gives or implies.
  const int bitCount = layout.bitCount;
  if (compression != 0) return std::nullopt;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24) return std::nullopt;
  // The height is compared before it is negated: the most negative value has no opposite.
  if (width <= 0 || width > kMaxSide || height == 0 || height > kMaxSide || height < -kMaxSide) {
    return std::nullopt;
  }
  layout.width = width;
  layout.rows = std::abs(height);
  layout.bottomUp = height > 0;
  if (qint64(width) * layout.rows > kMaxPixels) return std::nullopt;

  qint64 colours = colourCountField;
  if (colours == 0 && bitCount != 24) colours = qint64(1) << bitCount;
  const qint64 tableAt = kFileHeaderBytes + kInfoHeaderBytes;
  layout.pixelsAt = tableAt + kColourEntryBytes * colours;
  layout.stride = (qint64(bitCount) * width + 31) / 32 * 4;
  if (layout.pixelsAt > size || layout.stride * layout.rows > size - layout.pixelsAt) {
    return std::nullopt;
  }

  if (bitCount != 24) {
    const qint64 usable = std::min<qint64>(colours, qint64(1) << bitCount);
    if (tableAt + kColourEntryBytes * usable > head.size()) return std::nullopt;
    layout.table.fill(qRgb(0, 0, 0), 1 << bitCount);  // indices beyond the table show black
    for (qint64 i = 0; i < usable; ++i) {
      const auto* q = reinterpret_cast<const unsigned char*>(head.constData()) + tableAt +
                      kColourEntryBytes * i;
      layout.table[i] = qRgb(q[2], q[1], q[0]);
    }
  }
  return layout;
}

// One row of the file's pixels into the 32-bit row `dst`.
void DecodeRow(const BitmapLayout& layout, const unsigned char* src, QRgb* dst) {
  const int width = layout.width;
  const int bitCount = layout.bitCount;
  const QRgb* colour = layout.table.constData();
  if (bitCount == 24) {
    // Blue, green, red in the file are the low three bytes of a little-endian 0xAARRGGBB; each
    // pixel but the last is read as four bytes, the fourth belonging to the next.
    int x = 0;
    for (; x + 1 < width; ++x) {
      std::uint32_t bgr;
      std::memcpy(&bgr, src + 3 * x, sizeof bgr);
      dst[x] = 0xFF000000u | (qFromLittleEndian(bgr) & 0x00FFFFFFu);
    }
    if (x < width) dst[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
  } else if (bitCount == 8) {
    for (int x = 0; x < width; ++x) dst[x] = colour[src[x]];
  } else {
    const int perByte = 8 / bitCount;
    for (int x = 0; x < width; ++x) {
      const int shift = 8 - bitCount * (x % perByte + 1);
      dst[x] = colour[(src[x / perByte] >> shift) & ((1 << bitCount) - 1)];
    }
  }
}

QRgb* ImageRow(QImage& image, const BitmapLayout& layout, int row) {
  return reinterpret_cast<QRgb*>(image.scanLine(layout.bottomUp ? layout.rows - 1 - row : row));
}

}  // namespace

std::optional<QImage> BoardPicture::DecodeBitmap(const QByteArray& bytes) {
  const std::optional<BitmapLayout> layout = ReadLayout(bytes, bytes.size());
  if (!layout) return std::nullopt;
  QImage image(layout->width, layout->rows, QImage::Format_RGB32);
  if (image.isNull()) return std::nullopt;
  const auto* pixels = reinterpret_cast<const unsigned char*>(bytes.constData()) + layout->pixelsAt;
  for (int row = 0; row < layout->rows; ++row) {
    DecodeRow(*layout, pixels + layout->stride * row, ImageRow(image, *layout, row));
  }
  return image;
}

// Read a row at a time, so that the file's bytes are never held whole beside the picture.
std::optional<QImage> BoardPicture::LoadBitmapFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const qint64 size = file.size();
  if (size <= 0 || size > kMaxFileBytes) return std::nullopt;
  const QByteArray head = file.read(std::min(size, kMaxHeadBytes));
  if (head.size() != std::min(size, kMaxHeadBytes)) return std::nullopt;
  const std::optional<BitmapLayout> layout = ReadLayout(head, size);
  if (!layout || !file.seek(layout->pixelsAt)) return std::nullopt;
  QImage image(layout->width, layout->rows, QImage::Format_RGB32);
  if (image.isNull()) return std::nullopt;
  QByteArray row(layout->stride, Qt::Uninitialized);
  for (int r = 0; r < layout->rows; ++r) {
    // The whole picture or nothing: a file cut short meanwhile is refused.
    if (file.read(row.data(), layout->stride) != layout->stride) return std::nullopt;
    DecodeRow(*layout, reinterpret_cast<const unsigned char*>(row.constData()),
              ImageRow(image, *layout, r));
  }
  return image;
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

  // Cut in the formats a pixmap takes as they are: the sheet's for an opaque cut, premultiplied
  // alpha for a keyed one (its pixels are either opaque or wholly transparent).
  QImage cut = sheet_.copy(source);
  if (kind == kPatternKind) {
    QImage tiled(kPatternTile, kPatternTile, QImage::Format_RGB32);
    QPainter painter(&tiled);
    painter.fillRect(tiled.rect(), QBrush(cut));
    painter.end();
    cut = tiled;
  } else if (kind != kOpaqueKind) {
    cut = std::move(cut).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QRgb wanted = keyColour & 0xFFFFFFu;
    for (int y = 0; y < cut.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(cut.scanLine(y));
      for (int x = 0; x < cut.width(); ++x) {
        if ((line[x] & 0xFFFFFFu) == wanted) line[x] = 0;
      }
    }
  }
  if (kind == kOwnerMarkKind) {
    cut = cut.scaled(kOwnerMarkSize, kOwnerMarkSize, Qt::IgnoreAspectRatio,
                     Qt::SmoothTransformation);
  }
  return cache_.emplace(key, QPixmap::fromImage(std::move(cut))).first->second;
}

const QPixmap& BoardPicture::Sprite(const QRect& source, QRgb keyColour) const {
  return Cached(source, keyColour, kSpriteKind);
}
const QPixmap& BoardPicture::Opaque(const QRect& source) const {
  return Cached(source, 0, kOpaqueKind);
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
  return QBrush(Cached(sheet::kBackgroundPattern, 0, kPatternKind));
}
QBrush BoardPicture::PanelBrush() const {
  return QBrush(Cached(sheet::kPanelPattern, 0, kPatternKind));
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
