#pragma once
// Colours, fonts and small drawing helpers shared by the board and the sprites.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <array>

namespace tomtura {

namespace palette {
inline const QColor kInk(34, 44, 40);        // lines and text
inline const QColor kSquare(250, 246, 232);  // the squares
inline const QColor kCentre(212, 230, 212);  // the middle of the board
inline const QColor kCentreDeep(168, 200, 172);
inline const QColor kBand(226, 228, 220);  // station and utility band
inline const QColor kAccent(196, 84, 40);  // headings on special squares
inline const QColor kGold(222, 170, 40);
inline const QColor kGoldDark(150, 104, 20);
inline const QColor kButtonFace(212, 212, 204);

// The eight street groups, chosen to stay apart from each other and from the squares.
inline const std::array<QColor, 8> kGroups = {
    QColor(122, 78, 45), QColor(79, 179, 191), QColor(155, 107, 201), QColor(243, 146, 55),
    QColor(214, 69, 80), QColor(233, 196, 96), QColor(60, 157, 93),   QColor(38, 78, 134)};
}  // namespace palette

QFont BoardFont(int pixelSize, bool bold, bool condensed = true);

// `amount` in `format` ("%s kr", "£%s"): its digits, grouped in threes with `separator`
// between, in place of the "%s".
QString FormatMoney(int amount, const QString& format, const QString& separator);

// Draws `text` inside `box` in the largest size from maxPx down to minPx at which it fits,
// breaking lines between words and, where a word alone is too wide, inside it with a hyphen
// (after a known word ending where there is one); a word with no known ending is cut only when
// no size fits it whole. With `wrap` false it stays on one line. Returns the size used.
int DrawFittedText(QPainter& p, const QRectF& box, const QString& text, int maxPx, int minPx,
                   bool bold, Qt::Alignment align = Qt::AlignCenter, bool wrap = true);

// A path filled with `fill` and outlined with `outline` of width `width`.
void FillOutlined(QPainter& p, const QPainterPath& path, const QBrush& fill, const QColor& outline,
                  qreal width);

// A clear ARGB layer for painting one sprite with smooth edges.
QImage ClearLayer(int width, int height);

// Puts `layer` into `sheet` at `at` with `key` wherever the layer is (almost) clear. Partly
// covered pixels are blended over `matte`, the colour the sprite is usually drawn on; no pixel
// that shows ever equals the key. Returns the number of pixels that show.
int StampKeyed(QImage& sheet, QPoint at, const QImage& layer, QRgb key, const QColor& matte);

}  // namespace tomtura
