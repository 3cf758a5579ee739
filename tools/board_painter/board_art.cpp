#include "board_art.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>

#include "painting.h"
#include "pictograms.h"
#include "ui/board_picture.h"

namespace tomtura {

namespace {

constexpr int kCorner = 86;
constexpr int kPitch = 57;
constexpr int kFar = kBoardSize - kCorner;  // 599: where the far corners begin
constexpr int kBarDepth = 23;
constexpr int kTaxSquare = 4;
constexpr int kIncomeTax = 4000;
constexpr int kOtherTax = 2000;

const QColor kJailCell(238, 158, 84);
const QColor kGoGreen(44, 140, 70);
const QColor kSignBlue(40, 84, 170);
const QColor kBanner(168, 40, 52);
const QColor kBannerDark(110, 22, 32);

// A square's zones in its own coordinates.
struct Zones {
  QRectF price;
  QRectF name;
  Qt::Alignment priceAlign;
  QRectF header;  // special squares: label, picture, amount
  QRectF picture;
  QRectF footer;
};

Zones ZonesFor(Edge edge) {
  switch (edge) {
    case Edge::Right:
      return {QRectF(26, 3, 39, 15), QRectF(26, 18, 57, 38), Qt::AlignLeft,
              QRectF(3, 3, 80, 14),  QRectF(3, 17, 80, 25),  QRectF(3, 41, 80, 14)};
    case Edge::Left:
      return {QRectF(21, 3, 38, 15), QRectF(3, 18, 57, 38), Qt::AlignRight,
              QRectF(3, 3, 80, 14),  QRectF(3, 17, 80, 25), QRectF(3, 41, 80, 14)};
    default:
      return {QRectF(21, 3, 33, 15), QRectF(3, 19, 51, 43), Qt::AlignRight,
              QRectF(2, 4, 53, 26),  QRectF(5, 30, 47, 32), QRectF(2, 64, 53, 17)};
  }
}

QRect LocalBar(Edge edge) {
  switch (edge) {
    case Edge::Right:
      return QRect(0, 0, kBarDepth, kPitch);
    case Edge::Left:
      return QRect(kCorner - kBarDepth, 0, kBarDepth, kPitch);
    default:
      return QRect(0, kCorner - kBarDepth, kPitch, kBarDepth);
  }
}

// Line between the colour bar and the rest of the square.
QLine BarLine(Edge edge) {
  switch (edge) {
    case Edge::Right:
      return QLine(kBarDepth, 0, kBarDepth, kPitch);
    case Edge::Left:
      return QLine(kCorner - kBarDepth - 1, 0, kCorner - kBarDepth - 1, kPitch);
    default:
      return QLine(0, kCorner - kBarDepth - 1, kPitch, kCorner - kBarDepth - 1);
  }
}

QString Money(const BoardTexts& texts, int amount) {
  return FormatMoney(amount, texts.money, texts.thousandsSeparator);
}

QString Name(const BoardTexts& texts, int property) {
  return QString::fromStdString(texts.table[property].name.utf8());
}

QPainterPath TransportSign(int property) {
  switch (property) {
    case kBoardPropertyCount - 6:
      return pictogram::Train();
    case kBoardPropertyCount - 5:
      return pictogram::Ferry();
    case kBoardPropertyCount - 4:
      return pictogram::Bus();
    case kBoardPropertyCount - 3:
      return pictogram::Plane();
    case kBoardPropertyCount - 2:
      return pictogram::Bulb();
    default:
      return pictogram::Drop();
  }
}

void PaintProperty(QPainter& p, Edge edge, int property, const BoardTexts& texts) {
  const Property& entry = texts.table[property];
  const Zones zones = ZonesFor(edge);
  const QRect bar = LocalBar(edge);
  if (entry.group < kStationGroup) {
    p.fillRect(bar, palette::kGroups[entry.group]);
  } else {
    p.fillRect(bar, palette::kBand);
    const QColor signColour = property == kBoardPropertyCount - 2   ? QColor(176, 120, 0)
                              : property == kBoardPropertyCount - 1 ? QColor(40, 110, 190)
                                                                    : palette::kInk;
    pictogram::Draw(p, TransportSign(property), QRectF(bar).adjusted(1, 1, -1, -1), signColour);
  }
  p.setPen(palette::kInk);
  const QLine line = BarLine(edge);
  p.drawLine(line);

  p.setPen(palette::kInk);
  DrawFittedText(p, zones.name, Name(texts, property), 10, 7, true, Qt::AlignCenter);
  p.setPen(QColor(70, 64, 56));
  DrawFittedText(p, zones.price, Money(texts, entry.price), 9, 7, false,
                 zones.priceAlign | Qt::AlignVCenter, false);
}

void PaintSpecial(QPainter& p, Edge edge, int kind, int square, const BoardTexts& texts) {
  const Zones zones = ZonesFor(edge);
  const bool side = edge == Edge::Left || edge == Edge::Right;
  const Qt::Alignment kHeaderAlign = Qt::AlignTop | Qt::AlignHCenter;
  p.setPen(palette::kInk);
  if (kind == int(SquareKind::Chance)) {
    DrawFittedText(p, zones.header, texts.chance, 10, 8, true, kHeaderAlign);
    QRectF mark = zones.picture.united(zones.footer);
    p.setPen(palette::kAccent);
    p.setFont(BoardFont(side ? 36 : 48, true, false));
    p.drawText(mark, Qt::AlignCenter, "?");
  } else if (kind == int(SquareKind::Community)) {
    DrawFittedText(p, zones.header, texts.community, 10, 8, true, kHeaderAlign);
    pictogram::DrawChest(p, zones.picture.united(zones.footer).adjusted(1, 0, -1, -2),
                         palette::kInk);
  } else if (kind == int(SquareKind::Tax)) {
    DrawFittedText(p, zones.header, texts.tax, 10, 8, true, kHeaderAlign);
    const QPainterPath bag = pictogram::Fit(pictogram::MoneyBag(), zones.picture);
    FillOutlined(p, bag, QColor(214, 190, 120), palette::kInk, 1.0);
    p.setPen(QColor(120, 90, 30));
    p.setFont(BoardFont(side ? 8 : 10, true));
    p.drawText(bag.boundingRect().adjusted(0, bag.boundingRect().height() * 0.3, 0, 0),
               Qt::AlignCenter, texts.moneySign);
    p.setPen(palette::kInk);
    DrawFittedText(p, zones.footer, Money(texts, square == kTaxSquare ? kIncomeTax : kOtherTax), 10,
                   7, true, Qt::AlignCenter);
  }
}

void PaintArrow(QPainter& p, QPointF from, QPointF to, qreal width, const QColor& colour) {
  const QLineF line(from, to);
  const QLineF unit = line.unitVector();
  const QPointF dir = unit.p2() - unit.p1();
  const QPointF normal(-dir.y(), dir.x());
  const qreal head = width * 2.2;
  const QPointF neck = to - dir * head * 1.1;
  QPainterPath arrow;
  arrow.moveTo(from + normal * width / 2);
  arrow.lineTo(neck + normal * width / 2);
  arrow.lineTo(neck + normal * head);
  arrow.lineTo(to);
  arrow.lineTo(neck - normal * head);
  arrow.lineTo(neck - normal * width / 2);
  arrow.lineTo(from - normal * width / 2);
  arrow.closeSubpath();
  FillOutlined(p, arrow, colour, palette::kInk, 1.2);
}

void PaintStartCorner(QPainter& p, const BoardTexts& texts) {
  const QRectF corner(0, 0, kCorner, kCorner);
  p.setPen(kGoGreen);
  // Large, and only as much smaller as a longer word needs to fit across the corner.
  int size = 30;
  while (size > 12 &&
         QFontMetricsF(BoardFont(size, true, false)).horizontalAdvance(texts.start) > kCorner - 6)
    --size;
  p.setFont(BoardFont(size, true, false));
  p.drawText(corner.adjusted(0, 2, 0, -46), Qt::AlignCenter, texts.start);
  p.setPen(palette::kInk);
  DrawFittedText(p, QRectF(4, 40, 78, 14), "+" + Money(texts, kSalary), 10, 8, true,
                 Qt::AlignCenter);
  PaintArrow(p, QPointF(12, 68), QPointF(76, 68), 8, kGoGreen);
}

void PaintJailCorner(QPainter& p, const QRect& corner, const BoardTexts& texts) {
  constexpr int kStrip = 20;
  const QRect cell(corner.left(), corner.top() + kStrip, kCorner - kStrip, kCorner - kStrip);
  p.fillRect(cell, kJailCell);
  p.setPen(QPen(QColor(90, 52, 30), 2));
  for (int x = cell.left() + 7; x < cell.right() - 2; x += 9) {
    p.drawLine(x, cell.top() + 16, x, cell.bottom() - 1);
  }
  p.fillRect(QRect(cell.left(), cell.top(), cell.width(), 15), QColor(90, 52, 30));
  p.setPen(QColor(255, 236, 200));
  DrawFittedText(p, QRectF(cell.left(), cell.top() + 1, cell.width(), 13), texts.jail, 10, 7, true,
                 Qt::AlignCenter);
  p.setPen(palette::kInk);
  p.drawRect(cell.adjusted(0, 0, 0, 0));
  DrawFittedText(p, QRectF(corner.left() + 2, corner.top() + 3, kCorner - kStrip - 4, 14),
                 texts.visiting, 10, 7, true, Qt::AlignCenter);
  p.save();
  p.translate(corner.right() + 1 - kStrip / 2.0, corner.top() + kStrip + cell.height() / 2.0);
  p.rotate(90);
  DrawFittedText(p, QRectF(-cell.height() / 2.0 + 2, -7, cell.height() - 4, 14), texts.visiting, 10,
                 7, true, Qt::AlignCenter);
  p.restore();
}

void PaintParkingCorner(QPainter& p, const QRect& corner, const BoardTexts& texts) {
  p.setPen(palette::kInk);
  DrawFittedText(p, QRectF(corner.left() + 3, corner.top() + 4, kCorner - 6, 26), texts.quietCorner,
                 11, 8, true, Qt::AlignCenter);
  const QRectF sign(corner.left() + 24, corner.top() + 34, 38, 38);
  QPainterPath plate;
  plate.addRoundedRect(sign, 6, 6);
  FillOutlined(p, plate, kSignBlue, palette::kInk, 1.5);
  p.setPen(QColor(250, 250, 245));
  p.setFont(BoardFont(30, true, false));
  p.drawText(sign.adjusted(0, 0, 0, 1), Qt::AlignCenter, "P");
}

void PaintToJailCorner(QPainter& p, const QRect& corner, const BoardTexts& texts) {
  p.setPen(palette::kInk);
  DrawFittedText(p, QRectF(corner.left() + 3, corner.bottom() - 30, kCorner - 6, 28), texts.toJail,
                 11, 8, true, Qt::AlignCenter);
  PaintArrow(p, QPointF(corner.left() + 18, corner.bottom() - 34),
             QPointF(corner.left() + 18, corner.top() + 8), 8, palette::kAccent);
  QPainterPath badge;
  badge.addEllipse(QPointF(corner.left() + 56, corner.top() + 24), 15, 15);
  FillOutlined(p, badge, kJailCell, palette::kInk, 1.2);
  pictogram::Draw(p, pictogram::Padlock(false),
                  QRectF(corner.left() + 45, corner.top() + 13, 22, 22), QColor(90, 52, 30));
}

void PaintDeckPlace(QPainter& p, const QRectF& place, const QString& label, bool chance) {
  QPainterPath card;
  card.addRoundedRect(place, 10, 10);
  p.save();
  p.setPen(QPen(palette::kCentreDeep.darker(130), 2, Qt::DashLine));
  p.setBrush(palette::kCentre.lighter(106));
  p.drawPath(card);
  p.setPen(palette::kCentreDeep.darker(150));
  DrawFittedText(p, place.adjusted(8, place.height() - 34, -8, -8), label, 16, 10, true,
                 Qt::AlignCenter);
  const QRectF picture = place.adjusted(8, 8, -8, -36);
  if (chance) {
    p.setPen(palette::kAccent);
    p.setFont(BoardFont(int(picture.height()), true, false));
    p.drawText(picture, Qt::AlignCenter, "?");
  } else {
    pictogram::DrawChest(p, picture, palette::kInk);
  }
  p.restore();
}

void PaintCentre(QPainter& p, const BoardTexts& texts) {
  const QRect centre(kCorner, kCorner, kFar - kCorner, kFar - kCorner);
  p.fillRect(centre, palette::kCentre);
  p.save();
  p.setPen(QPen(palette::kCentreDeep, 3));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(centre).adjusted(14, 14, -14, -14), 16, 16);
  p.restore();

  PaintDeckPlace(p, QRectF(130, 128, 150, 110), texts.chance, true);
  PaintDeckPlace(p, QRectF(405, 447, 150, 110), texts.community, false);

  // A row of small houses, the plots the game is about, under the name.
  constexpr qreal kRowBase = 432;
  p.save();
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 9; ++i) {
    const qreal size = 22 + 6 * ((i * 5) % 3);
    const QRectF box(160 + i * 42 + (34 - size) / 2, kRowBase - size, size, size);
    pictogram::Draw(p, pictogram::House(), box, palette::kCentreDeep);
  }
  p.fillRect(QRectF(150, kRowBase - 1, 385, 3), palette::kCentreDeep);
  p.restore();

  const QRectF banner(136, 290, 413, 88);
  QPainterPath ribbon;
  ribbon.addRoundedRect(banner, 8, 8);
  QPainterPath leftTail;
  leftTail.addPolygon(
      QPolygonF({banner.topLeft() + QPointF(-28, 16), banner.topLeft() + QPointF(12, 16),
                 banner.bottomLeft() + QPointF(12, 14), banner.bottomLeft() + QPointF(-28, 14),
                 banner.bottomLeft() + QPointF(-14, -22)}));
  QPainterPath rightTail;
  rightTail.addPolygon(
      QPolygonF({banner.topRight() + QPointF(28, 16), banner.topRight() + QPointF(-12, 16),
                 banner.bottomRight() + QPointF(-12, 14), banner.bottomRight() + QPointF(28, 14),
                 banner.bottomRight() + QPointF(14, -22)}));
  FillOutlined(p, leftTail, kBannerDark, palette::kInk, 1.5);
  FillOutlined(p, rightTail, kBannerDark, palette::kInk, 1.5);
  QLinearGradient cloth(banner.topLeft(), banner.bottomLeft());
  cloth.setColorAt(0, kBanner.lighter(125));
  cloth.setColorAt(1, kBanner);
  FillOutlined(p, ribbon, cloth, palette::kInk, 2);

  QFont title("DejaVu Serif");
  title.setPixelSize(66);
  title.setBold(true);
  title.setLetterSpacing(QFont::AbsoluteSpacing, 2);
  p.setFont(title);
  p.setPen(kBannerDark.darker(140));
  p.drawText(banner.translated(2, 3), Qt::AlignCenter, "Tomtura");
  p.setPen(QColor(255, 240, 196));
  p.drawText(banner, Qt::AlignCenter, "Tomtura");
}

void PaintGrid(QPainter& p) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(palette::kInk, 1));
  for (int k = 0; k <= 9; ++k) {
    const int at = kCorner + kPitch * k - (k == 0 ? 1 : 0);
    p.drawLine(at, 0, at, kCorner - 1);
    p.drawLine(at, kFar, at, kBoardSize - 1);
    p.drawLine(0, at, kCorner - 1, at);
    p.drawLine(kFar, at, kBoardSize - 1, at);
  }
  p.drawLine(kFar, 0, kFar, kCorner - 1);
  p.drawLine(kFar, kFar, kFar, kBoardSize - 1);
  p.drawLine(0, kFar, kCorner - 1, kFar);
  p.drawLine(kFar, kFar, kBoardSize - 1, kFar);
  p.drawLine(0, kCorner - 1, kCorner - 1, kCorner - 1);
  p.drawLine(kFar, kCorner - 1, kBoardSize - 1, kCorner - 1);
  p.setPen(QPen(palette::kInk, 2));
  p.drawRect(QRectF(kCorner - 1, kCorner - 1, kFar - kCorner + 1, kFar - kCorner + 1));
  p.setPen(QPen(palette::kInk, 1));
  p.drawRect(0, 0, kBoardSize - 1, kBoardSize - 1);
  p.restore();
}

}  // namespace

Edge EdgeOf(int square) {
  if (square % 10 == 0) return Edge::Corner;
  return static_cast<Edge>(square / 10);
}

QRect SquareRect(int square) {
  switch (EdgeOf(square)) {
    case Edge::Top:
      return QRect(29 + kPitch * square, 0, kPitch, kCorner);
    case Edge::Right:
      return QRect(kFar, kPitch * square - 541, kCorner, kPitch);
    case Edge::Bottom:
      return QRect(1739 - kPitch * square, kFar, kPitch, kCorner);
    case Edge::Left:
      return QRect(0, 2309 - kPitch * square, kCorner, kPitch);
    case Edge::Corner:
      break;
  }
  const int x = square == 10 || square == 20 ? kFar : 0;
  const int y = square == 20 || square == 30 ? kFar : 0;
  return QRect(x, y, kCorner, kCorner);
}

QRect ColourBarRect(int square) {
  const Edge edge = EdgeOf(square);
  if (edge == Edge::Corner) return QRect();
  return LocalBar(edge).translated(SquareRect(square).topLeft());
}

void PaintBoard(QPainter& p, const BoardTexts& texts) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.fillRect(QRect(0, 0, kBoardSize, kBoardSize), palette::kSquare);
  PaintCentre(p, texts);

  for (int square = 0; square < kSquareCount; ++square) {
    const Edge edge = EdgeOf(square);
    if (edge == Edge::Corner) continue;
    const QRect rect = SquareRect(square);
    p.save();
    p.translate(rect.topLeft());
    p.setClipRect(QRect(QPoint(0, 0), rect.size()));
    const int value = kBoardLayout[square];
    if (value >= 0) {
      PaintProperty(p, edge, value, texts);
    } else {
      PaintSpecial(p, edge, value, square, texts);
    }
    p.restore();
  }
  PaintStartCorner(p, texts);
  PaintJailCorner(p, SquareRect(kJailSquare), texts);
  PaintParkingCorner(p, SquareRect(20), texts);
  PaintToJailCorner(p, SquareRect(kGoToJailSquare), texts);
  PaintGrid(p);
  p.restore();
}

}  // namespace tomtura
