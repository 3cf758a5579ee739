#pragma once
// The sheet: one 685 x 765 picture that holds the board and, in the strip below it, every small
// picture of the game (dice, tokens, icons, buildings, markers, frame tiles, patterns). Sprites
// are cut from it once, with their key colour made transparent, and kept until the sheet is
// replaced.
#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QString>
#include <map>
#include <optional>
#include <tuple>

#include "data/game_state.h"

class QPainter;

namespace tomtura {

constexpr int kSheetWidth = 685;
constexpr int kSheetHeight = 765;
constexpr int kBoardSize = 685;

// Key colours (0xRRGGBB): sheet pixels of exactly this colour are not drawn.
constexpr QRgb kKeyWhite = 0xFFFFFFu;   // tokens, buildings, coin, frame tiles
constexpr QRgb kKeyDice = 0xFF0000u;    // dice: the Windows colour value 0x0000FF, pure red
constexpr QRgb kKeySilver = 0xC0C0C0u;  // button icons and the mortgage mark
constexpr QRgb kKeyCream = 0xFFFFEBu;   // group markers: RGB 255, 255, 235

// Where each picture lies in the sheet.
namespace sheet {
constexpr int kDieFaces = 6;
constexpr QRect kBoard(0, 0, kBoardSize, kBoardSize);
QRect DieFace(int face);       // 1..kDieFaces
QRect TumblingDie(int frame);  // 0..5
QRect Token(int token);        // 0..9
QRect ButtonIcon(int index);   // 0..6
QRect House(int edge);         // 0 top and bottom, 1 right, 2 left
QRect Hotel(int edge);
QRect GroupMarker(int group);  // 0..10
QRect FrameTile(int which);    // 0 top, 1 bottom, 2 left, 3 right
QRect SlotButton(bool next, bool pressed);
constexpr QRect kCoin(552, 685, 20, 18);
constexpr QRect kBackgroundPattern(264, 750, 8, 8);
constexpr QRect kPanelPattern(272, 750, 8, 8);
}  // namespace sheet

class BoardPicture {
 public:
  // Our own reader for uncompressed Windows BMP files (1, 4 and 8 bits with a colour table, and
  // 24 bits): "BM", a 40-byte information header, the colour table, and the pixels directly
  // after it. nullopt when the file is refused, cannot be read completely, or holds more than
  // 4096 x 4096 pixels.
  static std::optional<QImage> LoadBitmapFile(const QString& path);
  // The same for bytes already in memory.
  static std::optional<QImage> DecodeBitmap(const QByteArray& bytes);

  // Replaces the sheet and drops every cached sprite; false (sheet unchanged) when refused.
  bool Load(const QString& path);
  // Uses `image` as the sheet (any size; regions outside it come out empty).
  void SetSheet(const QImage& image);
  const QImage& sheet() const { return sheet_; }
  bool isNull() const { return sheet_.isNull(); }
  // True when the sheet has the size every region of the game expects.
  bool hasStandardSize() const { return sheet_.size() == QSize(kSheetWidth, kSheetHeight); }

  // The rectangle `source` of the sheet with every pixel of `keyColour` transparent; cut at
  // the first call and cached. References stay valid until the sheet is replaced.
  const QPixmap& Sprite(const QRect& source, QRgb keyColour) const;
  // The rectangle copied as it stands (no key colour).
  const QPixmap& Opaque(const QRect& source) const;

  const QPixmap& DieFace(int face) const;
  const QPixmap& TumblingDie(int frame) const;
  const QPixmap& Token(int token) const;
  const QPixmap& OwnerMark(int token) const;   // the token reduced to 20 x 20
  const QPixmap& ButtonIcon(int index) const;  // Roll, 40004, 40005, 40011, 40012, 40006, 40008
  const QPixmap& MortgageMark() const;
  const QPixmap& House(int edge) const;
  const QPixmap& Hotel(int edge) const;
  const QPixmap& GroupMarker(int group) const;
  const QPixmap& Coin() const;
  QBrush BackgroundBrush() const;
  QBrush PanelBrush() const;
  const QPixmap& SlotButton(bool next, bool pressed) const;
  const QPixmap& FrameTile(int which) const;

 private:
  using Key = std::tuple<int, int, int, int, QRgb, int>;  // rect, key colour, kind
  const QPixmap& Cached(const QRect& source, QRgb keyColour, int kind) const;

  QImage sheet_;
  mutable std::map<Key, QPixmap> cache_;
};

// A one-pixel 3-D outline just inside r: light top and left when raised, dark when sunken.
// The light pen is white (silver when dim), the dark one grey (black when dim); `chamfer`
// cuts the corners by that many pixels.
void Frame3D(QPainter& p, const QRect& r, bool raised, bool dim, int chamfer);

// Client size of a dialog framed by nx x ny tiles.
QSize TiledFrameSize(int nx, int ny);
// Draws the tiled frame along the edges of a client area of size `client`.
void DrawTiledFrame(QPainter& p, const QSize& client, int nx, int ny, const BoardPicture& pic);

// One owner-drawn list item for property `property` of `table` (-1: an empty item): light
// yellow (purple when focused), the group marker, the name, a mortgaged name in red (yellow
// when focused).
void DrawPropertyItem(QPainter& p, const QRect& r, int property, const PropertyTable& table,
                      bool focused, const BoardPicture& pic, const QFont& font);

}  // namespace tomtura
