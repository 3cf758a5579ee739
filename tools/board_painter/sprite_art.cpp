#include "sprite_art.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QTransform>
#include <cmath>
#include <numbers>

#include "painting.h"
#include "pictograms.h"
#include "ui/board_picture.h"

namespace tomtura {

namespace {

constexpr int kTokenCount = 10;
constexpr int kFaceCount = 6;

// What each sprite is usually drawn on; its soft edges are blended towards this.
const QColor kWindowMatte(205, 218, 208);
const QColor kBoardMatte(236, 232, 214);
const QColor kPanelMatte(240, 240, 228);
const QColor kDialogMatte(176, 186, 176);

const QColor kOutline(36, 30, 34);
const QColor kPip(28, 30, 44);
const QColor kIvoryLight(255, 253, 246);
const QColor kIvoryShade(226, 221, 206);

struct TokenLook {
  QColor colour;
};
const TokenLook kTokens[kTokenCount] = {
    {QColor(206, 44, 44)},  {QColor(242, 182, 22)}, {QColor(232, 86, 160)}, {QColor(22, 166, 166)},
    {QColor(132, 64, 196)}, {QColor(44, 96, 206)},  {QColor(44, 146, 62)},  {QColor(244, 122, 30)},
    {QColor(146, 94, 52)},  {QColor(56, 58, 70)}};

QPainterPath Poly(std::initializer_list<QPointF> points) {
  QPainterPath path;
  path.addPolygon(QPolygonF(QList<QPointF>(points)));
  path.closeSubpath();
  return path;
}
QPainterPath Circle(qreal cx, qreal cy, qreal r) {
  QPainterPath path;
  path.addEllipse(QPointF(cx, cy), r, r);
  return path;
}
QPainterPath RoundRect(const QRectF& r, qreal radius) {
  QPainterPath path;
  path.addRoundedRect(r, radius, radius);
  return path;
}

QPainterPath Star(QPointF centre, qreal outer, qreal inner, int points) {
  QPolygonF polygon;
  for (int i = 0; i < 2 * points; ++i) {
    const qreal angle = -std::numbers::pi / 2 + i * std::numbers::pi / points;
    const qreal r = i % 2 ? inner : outer;
    polygon << centre + QPointF(r * std::cos(angle), r * std::sin(angle));
  }
  QPainterPath path;
  path.addPolygon(polygon);
  path.closeSubpath();
  return path;
}

QPainterPath Heart(qreal top, qreal bottom) {
  QPainterPath path;
  path.moveTo(20, bottom);
  path.cubicTo(2, 24, 4, top - 4, 20, top + 5);
  path.cubicTo(36, top - 4, 38, 24, 20, bottom);
  path.closeSubpath();
  return path;
}

}  // namespace

QPainterPath TokenShape(int token) {
  switch (token) {
    case 0: {  // pawn
      QPainterPath body;
      body.moveTo(13, 32);
      body.cubicTo(14, 24, 17, 21, 17, 17);
      body.lineTo(23, 17);
      body.cubicTo(23, 21, 26, 24, 27, 32);
      body.closeSubpath();
      return Circle(20, 11, 7.5)
          .united(RoundRect(QRectF(14, 16, 12, 3.5), 1.5))
          .united(body)
          .united(RoundRect(QRectF(7, 31, 26, 6.5), 3));
    }
    case 1:
      return Star(QPointF(20, 21.5), 18.5, 8, 5);
    case 2:
      return Heart(6, 36);
    case 3:
      return Poly({{20, 2.5}, {36, 16}, {20, 37.5}, {4, 16}});
    case 4: {  // crown
      QPainterPath crown =
          Poly({{6, 31}, {4, 12}, {13, 20}, {20, 8}, {27, 20}, {36, 12}, {34, 31}});
      return crown.united(RoundRect(QRectF(5, 29, 30, 7), 2))
          .united(Circle(4.5, 11, 3))
          .united(Circle(20, 7, 3.2))
          .united(Circle(35.5, 11, 3));
    }
    case 5:  // crescent moon
      return Circle(19, 20, 17).subtracted(Circle(27, 14, 13.5));
    case 6: {  // fir tree
      QPainterPath tree = Poly({{20, 2},
                                {30, 14},
                                {25, 14},
                                {33, 24},
                                {27, 24},
                                {36, 33},
                                {4, 33},
                                {13, 24},
                                {7, 24},
                                {15, 14},
                                {10, 14}});
      return tree.united(RoundRect(QRectF(16.5, 31, 7, 7), 1));
    }
    case 7: {  // bell
      QPainterPath bell;
      bell.moveTo(5, 31);
      bell.cubicTo(10, 27, 9, 20, 10, 15);
      bell.cubicTo(11, 6, 29, 6, 30, 15);
      bell.cubicTo(31, 20, 30, 27, 35, 31);
      bell.closeSubpath();
      return bell.united(Circle(20, 34, 4)).united(Circle(20, 5.5, 3));
    }
    case 8: {  // key
      QPainterPath ring = Circle(13, 13, 10).subtracted(Circle(11.5, 11.5, 4));
      QPainterPath shaft;
      shaft.moveTo(18, 21.5);
      shaft.lineTo(21.5, 18);
      shaft.lineTo(37, 33.5);
      shaft.lineTo(33.5, 37);
      shaft.closeSubpath();
      QPainterPath teeth = Poly({{27, 27}, {30.5, 30.5}, {25.5, 35.5}, {22, 32}})
                               .united(Poly({{31.5, 31.5}, {34, 34}, {30, 38}, {27.5, 35.5}}));
      return ring.united(shaft).united(teeth);
    }
    default: {  // spade
      QTransform flip;
      flip.translate(0, 36);
      flip.scale(1, -1);
      QPainterPath leaf = flip.map(Heart(6, 34));
      QPainterPath stem = Poly({{20, 24}, {26, 37}, {14, 37}});
      return leaf.united(stem);
    }
  }
}

namespace {

QImage TokenLayer(int token) {
  QImage layer = ClearLayer(40, 40);
  QPainter p(&layer);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor base = kTokens[token].colour;
  QLinearGradient shade(6, 4, 34, 38);
  shade.setColorAt(0, base.lighter(150));
  shade.setColorAt(0.45, base);
  shade.setColorAt(1, base.darker(135));
  FillOutlined(p, TokenShape(token), shade, kOutline, 2.2);
  return layer;
}

void DrawPips(QPainter& p, int face, const QRectF& box) {
  static constexpr int kLayouts[kFaceCount][9] = {
      {0, 0, 0, 0, 1, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0, 0, 0, 1}, {1, 0, 0, 0, 1, 0, 0, 0, 1},
      {1, 0, 1, 0, 0, 0, 1, 0, 1}, {1, 0, 1, 0, 1, 0, 1, 0, 1}, {1, 0, 1, 1, 0, 1, 1, 0, 1}};
  const qreal step = box.width() / 4;
  const qreal radius = box.width() * 0.1;
  p.setPen(Qt::NoPen);
  for (int cell = 0; cell < 9; ++cell) {
    if (!kLayouts[face - 1][cell]) continue;
    const QPointF centre(box.left() + step * (1 + cell % 3), box.top() + step * (1 + cell / 3));
    QRadialGradient pip(centre - QPointF(radius / 3, radius / 3), radius * 1.2);
    pip.setColorAt(0, face == 1 ? QColor(200, 40, 40) : kPip.lighter(160));
    pip.setColorAt(1, face == 1 ? QColor(140, 20, 24) : kPip);
    p.setBrush(pip);
    p.drawEllipse(centre, face == 1 ? radius * 1.5 : radius, face == 1 ? radius * 1.5 : radius);
  }
}

QImage DieLayer(int face, qreal angle, qreal scale) {
  QImage layer = ClearLayer(40, 40);
  QPainter p(&layer);
  p.setRenderHint(QPainter::Antialiasing);
  p.translate(20, 20);
  p.rotate(angle);
  p.scale(scale, scale);
  const QRectF body(-17.5, -17.5, 35, 35);
  QLinearGradient ivory(body.topLeft(), body.bottomRight());
  ivory.setColorAt(0, kIvoryLight);
  ivory.setColorAt(1, kIvoryShade);
  FillOutlined(p, RoundRect(body, 7), ivory, QColor(70, 66, 60), 1.4);
  DrawPips(p, face, body.adjusted(1, 1, -1, -1));
  return layer;
}

// A die caught turning: another face and angle in each frame.
QImage TumblingLayer(int frame) {
  static constexpr int kFaces[kFaceCount] = {3, 5, 2, 6, 1, 4};
  const qreal angle = 18 + 29 * frame;
  return DieLayer(kFaces[frame], angle, 0.86 + 0.02 * (frame % 3));
}

QImage HouseLayer() {
  QImage layer = ClearLayer(15, 15);
  QPainter p(&layer);
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath walls = Poly({{2.5, 7}, {7.5, 2.5}, {12.5, 7}, {12.5, 13.5}, {2.5, 13.5}});
  FillOutlined(p, walls, QColor(250, 238, 204), kOutline, 1.2);
  QPainterPath roof =
      Poly({{0.8, 7.6}, {7.5, 1}, {14.2, 7.6}, {12.4, 8.4}, {7.5, 3.6}, {2.6, 8.4}});
  FillOutlined(p, roof, QColor(40, 120, 96), kOutline, 1.0);
  p.fillRect(QRectF(6.2, 9.5, 2.6, 4), QColor(60, 50, 44));
  return layer;
}

// A hotel: wide for the top and bottom rows, a tower for the side columns, upright in both so
// that it reads like the text around it.
QImage HotelLayer(bool wide) {
  const QSize size = wide ? QSize(25, 21) : QSize(21, 25);
  QImage layer = ClearLayer(size.width(), size.height());
  QPainter p(&layer);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal w = size.width();
  const qreal h = size.height();
  FillOutlined(p, RoundRect(QRectF(2, 5, w - 4, h - 6.5), 1), QColor(168, 40, 52), kOutline, 1.3);
  FillOutlined(p, RoundRect(QRectF(0.8, 2.5, w - 1.6, 4), 1), QColor(70, 40, 44), kOutline, 1.0);
  const QColor window(255, 224, 130);
  const int columns = wide ? 4 : 3;
  const int rows = wide ? 2 : 3;
  const qreal left = (w - (4.5 * columns - 2)) / 2;
  for (int row = 0; row < rows; ++row) {
    for (int col = 0; col < columns; ++col) {
      const bool door = row == rows - 1 && (wide ? col == 1 || col == 2 : col == 1);
      if (!door) p.fillRect(QRectF(left + 4.5 * col, 8.5 + 5 * row, 2.5, 3), window);
    }
  }
  p.fillRect(QRectF(w / 2 - 2, h - 7, 4, 5.5), QColor(50, 30, 30));
  return layer;
}

QImage CoinLayer(const QString& sign) {
  QImage layer = ClearLayer(20, 18);
  QPainter p(&layer);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF rim(1, 1, 18, 16);
  QLinearGradient gold(rim.topLeft(), rim.bottomRight());
  gold.setColorAt(0, QColor(255, 226, 120));
  gold.setColorAt(1, QColor(196, 136, 24));
  QPainterPath disc;
  disc.addEllipse(rim);
  FillOutlined(p, disc, gold, QColor(120, 80, 10), 1.2);
  p.setPen(QPen(QColor(170, 116, 20), 0.9));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(rim.adjusted(2.5, 2.5, -2.5, -2.5));
  p.setPen(QColor(110, 70, 6));
  p.setFont(BoardFont(8, true));
  p.drawText(rim.adjusted(0, 0, 0, -0.5), Qt::AlignCenter, sign);
  return layer;
}

QImage FrameTileLayer(bool horizontal) {
  const QSize size = horizontal ? QSize(43, 7) : QSize(7, 43);
  QImage layer = ClearLayer(size.width(), size.height());
  QPainter p(&layer);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF bar = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(0.7, 0.7, -0.7, -0.7);
  QLinearGradient brass(bar.topLeft(), horizontal ? bar.bottomLeft() : bar.topRight());
  brass.setColorAt(0, QColor(255, 232, 150));
  brass.setColorAt(0.5, palette::kGold);
  brass.setColorAt(1, palette::kGoldDark);
  FillOutlined(p, RoundRect(bar, 3), brass, QColor(96, 64, 16), 1.0);
  p.setPen(QPen(QColor(120, 80, 20), 1.0));
  const QPointF mid = bar.center();
  p.setBrush(QColor(150, 30, 40));
  p.drawEllipse(mid, 1.8, 1.8);
  return layer;
}

QImage MarkerLayer(int group) {
  QImage layer = ClearLayer(20, 14);
  QPainter p(&layer);
  const QRect card(1, 1, 18, 12);
  if (group < 8) {
    const QColor colour = palette::kGroups[group];
    p.fillRect(card, colour);
    p.fillRect(QRect(2, 2, 16, 1), colour.lighter(135));
    p.fillRect(QRect(2, 11, 16, 1), colour.darker(125));
  } else {
    p.fillRect(card, group == 10 ? QColor(250, 246, 232) : palette::kBand);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF sign(4, 1, 12, 12);
    if (group == kStationGroup) pictogram::Draw(p, pictogram::Train(), sign, palette::kInk);
    if (group == kUtilityGroup) pictogram::Draw(p, pictogram::Bulb(), sign, QColor(190, 130, 0));
    if (group == kJailCardGroup) {
      pictogram::Draw(p, pictogram::Padlock(true), sign, QColor(40, 130, 70));
    }
    p.setRenderHint(QPainter::Antialiasing, false);
  }
  p.setPen(kOutline);
  p.setBrush(Qt::NoBrush);
  p.drawRect(card.adjusted(0, 0, -1, -1));
  return layer;
}

// A property deed with a coloured head band, used by the two trading icons.
void DrawDeed(QPainter& p, const QRectF& r) {
  FillOutlined(p, RoundRect(r, 1.5), QColor(252, 250, 240), kOutline, 1.0);
  p.fillRect(QRectF(r.left() + 1, r.top() + 1, r.width() - 2, r.height() * 0.3),
             palette::kGroups[4]);
  p.setPen(QPen(QColor(120, 120, 120), 0.8));
  for (int line = 0; line < 2; ++line) {
    const qreal y = r.top() + r.height() * (0.55 + 0.2 * line);
    p.drawLine(QPointF(r.left() + 2.5, y), QPointF(r.right() - 2.5, y));
  }
}

QPainterPath Arrow(bool pointsRight) {
  QPainterPath arrow = Poly({{0, 3}, {6, 3}, {6, 0}, {11, 5}, {6, 10}, {6, 7}, {0, 7}});
  if (!pointsRight) arrow = QTransform(-1, 0, 0, 1, 11, 0).map(arrow);
  return arrow;
}

QPainterPath Badge(bool plus) {
  QPainterPath bar;
  bar.addRect(QRectF(1, 4, 8, 2.4));
  if (plus)
    bar = bar.united([] {
      QPainterPath up;
      up.addRect(QRectF(3.8, 1.2, 2.4, 8));
      return up;
    }());
  return bar;
}

QImage IconLayer(int icon) {
  QImage layer = ClearLayer(25, 25);
  QPainter p(&layer);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor green(40, 150, 60);
  const QColor red(200, 40, 40);
  switch (icon) {
    case 0: {  // roll: two dice
      p.drawImage(QPointF(-9.5, -9.5), DieLayer(5, -14, 0.46));
      p.drawImage(QPointF(-5, -5), DieLayer(3, 20, 0.44));
      break;
    }
    case 1:
    case 2: {  // buy a company from, sell one to another player
      DrawDeed(p, QRectF(icon == 1 ? 10.5 : 2.5, 3.5, 12, 16));
      QPainterPath arrow =
          QTransform::fromTranslate(icon == 1 ? 1 : 12.5, 13).map(Arrow(icon == 2));
      FillOutlined(p, arrow, icon == 1 ? green : red, kOutline, 1.0);
      break;
    }
    case 3:
    case 4: {  // mortgage, lift a mortgage
      const bool open = icon == 4;
      const QPainterPath lock = pictogram::Fit(pictogram::Padlock(open), QRectF(1, 1, 23, 23));
      QLinearGradient metal(0, 10, 0, 24);
      metal.setColorAt(0, open ? QColor(120, 200, 120) : QColor(236, 90, 70));
      metal.setColorAt(1, open ? QColor(30, 120, 50) : QColor(150, 24, 24));
      FillOutlined(p, lock, metal, kOutline, 1.1);
      break;
    }
    default: {  // buy or sell a house
      const QPainterPath house = pictogram::Fit(pictogram::House(), QRectF(0, 1, 21, 21));
      FillOutlined(p, house, QColor(250, 238, 204), kOutline, 1.1);
      const bool buy = icon == 5;
      QPainterPath badge;
      badge.addEllipse(QRectF(13, 13, 11, 11));
      FillOutlined(p, badge, buy ? green : red, kOutline, 1.0);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(255, 255, 250));
      p.drawPath(QTransform::fromTranslate(13.5, 13.4).map(Badge(buy)));
      break;
    }
  }
  return layer;
}

void PaintPattern(QImage& sheet, const QRect& region, const QColor& base, const QColor& mark,
                  bool diagonal) {
  for (int y = 0; y < region.height(); ++y) {
    for (int x = 0; x < region.width(); ++x) {
      const bool marked =
          diagonal ? (x + y) % 4 == 0 : (x % 4 == 0 && y % 4 == 0) || (x % 4 == 2 && y % 4 == 2);
      sheet.setPixel(region.topLeft() + QPoint(x, y), (marked ? mark : base).rgb());
    }
  }
}

void PaintSlotButton(QImage& sheet, bool next, bool pressed) {
  const QRect region = sheet::SlotButton(next, pressed);
  QPainter p(&sheet);
  p.fillRect(region, palette::kButtonFace);
  Frame3D(p, region, !pressed, true, 0);
  Frame3D(p, region.adjusted(1, 1, -1, -1), !pressed, false, 0);
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF centre = QRectF(region).center() + (pressed ? QPointF(1, 1) : QPointF(0, 0));
  QPainterPath triangle;
  const qreal d = next ? 1 : -1;
  triangle.moveTo(centre + QPointF(4.5 * d, 0));
  triangle.lineTo(centre + QPointF(-3.5 * d, -5));
  triangle.lineTo(centre + QPointF(-3.5 * d, 5));
  triangle.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(pressed ? QColor(140, 140, 136) : palette::kInk);
  p.drawPath(triangle);
}

}  // namespace

void PaintSprites(QImage& sheet, const QString& moneySign) {
  for (int face = 1; face <= kFaceCount; ++face) {
    StampKeyed(sheet, sheet::DieFace(face).topLeft(), DieLayer(face, 0, 1), kKeyDice, kWindowMatte);
  }
  for (int frame = 0; frame < kFaceCount; ++frame) {
    StampKeyed(sheet, sheet::TumblingDie(frame).topLeft(), TumblingLayer(frame), kKeyDice,
               kWindowMatte);
  }
  for (bool next : {true, false}) {
    for (bool pressed : {false, true}) PaintSlotButton(sheet, next, pressed);
  }
  for (int icon = 0; icon < 7; ++icon) {
    StampKeyed(sheet, sheet::ButtonIcon(icon).topLeft(), IconLayer(icon), kKeySilver, kWindowMatte);
  }
  const QImage house = HouseLayer();
  for (int edge = 0; edge < 3; ++edge) {  // top and bottom, right, left edges
    StampKeyed(sheet, sheet::House(edge).topLeft(), house, kKeyWhite, kBoardMatte);
    StampKeyed(sheet, sheet::Hotel(edge).topLeft(), HotelLayer(edge == 0), kKeyWhite, kBoardMatte);
  }
  StampKeyed(sheet, sheet::kCoin.topLeft(), CoinLayer(moneySign), kKeyWhite, kPanelMatte);
  for (int token = 0; token < kTokenCount; ++token) {
    StampKeyed(sheet, sheet::Token(token).topLeft(), TokenLayer(token), kKeyWhite, kBoardMatte);
  }
  PaintPattern(sheet, sheet::kBackgroundPattern, kWindowMatte, QColor(196, 210, 199), true);
  PaintPattern(sheet, sheet::kPanelPattern, kPanelMatte, QColor(228, 229, 214), false);
  for (int group = 0; group <= kJailCardGroup; ++group) {
    StampKeyed(sheet, sheet::GroupMarker(group).topLeft(), MarkerLayer(group), kKeyCream,
               kPanelMatte);
  }
  for (int tile = 0; tile < 4; ++tile) {
    StampKeyed(sheet, sheet::FrameTile(tile).topLeft(), FrameTileLayer(tile < 2), kKeyWhite,
               kDialogMatte);
  }
}

}  // namespace tomtura
