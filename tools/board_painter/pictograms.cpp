#include "pictograms.h"

#include <QTransform>

namespace tomtura::pictogram {

namespace {

constexpr qreal kDesign = 24.0;

QPainterPath Rounded(qreal x, qreal y, qreal w, qreal h, qreal r) {
  QPainterPath path;
  path.addRoundedRect(QRectF(x, y, w, h), r, r);
  return path;
}
QPainterPath Ellipse(qreal cx, qreal cy, qreal rx, qreal ry) {
  QPainterPath path;
  path.addEllipse(QPointF(cx, cy), rx, ry);
  return path;
}
QPainterPath Polygon(std::initializer_list<QPointF> points) {
  QPainterPath path;
  path.addPolygon(QPolygonF(QList<QPointF>(points)));
  path.closeSubpath();
  return path;
}

}  // namespace

QPainterPath Train() {
  QPainterPath body = Rounded(4, 3, 16, 15, 4);
  QPainterPath windows = Rounded(6.5, 5.5, 11, 5, 1);
  QPainterPath lamps = Ellipse(8, 14.5, 1.5, 1.5).united(Ellipse(16, 14.5, 1.5, 1.5));
  QPainterPath rails = Polygon({{5, 23}, {8, 18}, {10, 18}, {8, 23}})
                           .united(Polygon({{19, 23}, {16, 18}, {14, 18}, {16, 23}}));
  return body.subtracted(windows).subtracted(lamps).united(rails);
}

QPainterPath Ferry() {
  QPainterPath hull = Polygon({{1, 13}, {23, 13}, {20, 19}, {4, 19}});
  QPainterPath deck = Rounded(5, 8, 13, 5.5, 1);
  QPainterPath bridge = Rounded(8, 4, 6, 4.5, 1);
  QPainterPath funnel = Rounded(15, 3, 2.5, 5.5, 0.5);
  QPainterPath portholes =
      Ellipse(8, 10.5, 1, 1).united(Ellipse(11.5, 10.5, 1, 1)).united(Ellipse(15, 10.5, 1, 1));
  QPainterPath wave;
  wave.moveTo(1, 22);
  wave.cubicTo(4, 20, 6, 24, 9, 22);
  wave.cubicTo(12, 20, 14, 24, 17, 22);
  wave.cubicTo(20, 20, 22, 24, 23, 22);
  wave.lineTo(23, 23.5);
  wave.cubicTo(20, 22, 19, 25, 16, 23.5);
  wave.cubicTo(13, 22, 11, 25, 8, 23.5);
  wave.cubicTo(5, 22, 3, 25, 1, 23.5);
  wave.closeSubpath();
  return hull.united(deck).united(bridge).united(funnel).subtracted(portholes).united(wave);
}

QPainterPath Bus() {
  QPainterPath body = Rounded(2, 4, 20, 14, 3);
  QPainterPath windows = Rounded(4, 6, 4.5, 5, 1)
                             .united(Rounded(9.75, 6, 4.5, 5, 1))
                             .united(Rounded(15.5, 6, 4.5, 5, 1));
  QPainterPath wheels = Ellipse(7, 18.5, 3, 3).united(Ellipse(17, 18.5, 3, 3));
  QPainterPath hubs = Ellipse(7, 18.5, 1.2, 1.2).united(Ellipse(17, 18.5, 1.2, 1.2));
  return body.subtracted(windows).united(wheels).subtracted(hubs);
}

QPainterPath Plane() {
  QPainterPath fuselage = Rounded(2, 10.5, 20, 3.5, 1.75);
  QPainterPath wings = Polygon({{9, 11}, {14, 11}, {10, 2}, {8, 2}})
                           .united(Polygon({{9, 13.5}, {14, 13.5}, {10, 22}, {8, 22}}));
  QPainterPath tail = Polygon({{3, 11}, {5.5, 11}, {3.5, 6}, {2, 6}})
                          .united(Polygon({{3, 13.5}, {5.5, 13.5}, {3.5, 18}, {2, 18}}));
  return fuselage.united(wings).united(tail);
}

QPainterPath Bulb() {
  QPainterPath glass = Ellipse(12, 9, 7, 7);
  glass = glass.united(Polygon({{7.5, 13}, {16.5, 13}, {15, 17}, {9, 17}}));
  QPainterPath base = Rounded(9, 17.5, 6, 2, 0.8).united(Rounded(9, 20, 6, 2, 0.8));
  return glass.united(base).subtracted(Ellipse(9.5, 7.5, 1.6, 1.6));
}

QPainterPath Drop() {
  QPainterPath drop;
  drop.moveTo(12, 1.5);
  drop.cubicTo(14, 6, 19.5, 11, 19.5, 15.5);
  drop.cubicTo(19.5, 20, 16, 23, 12, 23);
  drop.cubicTo(8, 23, 4.5, 20, 4.5, 15.5);
  drop.cubicTo(4.5, 11, 10, 6, 12, 1.5);
  drop.closeSubpath();
  return drop.subtracted(Ellipse(9, 16, 1.6, 2.6));
}

QPainterPath MoneyBag() {
  QPainterPath bag;
  bag.moveTo(9, 7);
  bag.cubicTo(3, 11, 2, 22, 12, 22);
  bag.cubicTo(22, 22, 21, 11, 15, 7);
  bag.closeSubpath();
  QPainterPath neck = Polygon({{8, 2}, {16, 2}, {14.5, 6.5}, {9.5, 6.5}});
  return bag.united(neck).united(Rounded(8.5, 6, 7, 1.8, 0.8));
}

QPainterPath House() {
  QPainterPath roof =
      Polygon({{1, 11.5}, {12, 2}, {23, 11.5}, {20.5, 11.5}, {12, 4.8}, {3.5, 11.5}});
  QPainterPath walls = Polygon({{5, 11}, {12, 5.3}, {19, 11}, {19, 22}, {5, 22}});
  QPainterPath door = Rounded(10, 15, 4, 7.5, 0.5);
  QPainterPath chimney = Rounded(16, 3.5, 2.5, 5, 0);
  return roof.united(walls).united(chimney).subtracted(door);
}

QPainterPath Padlock(bool open) {
  QPainterPath body = Rounded(4, 11, 16, 12, 2);
  QPainterPath hole = Ellipse(12, 16, 1.8, 1.8).united(Rounded(11.2, 16, 1.6, 4, 0.5));
  QPainterPath shackle;
  const qreal lift = open ? 3.5 : 0;
  shackle.addRoundedRect(QRectF(6.5, 2 - lift, 11, 14), 5.5, 5.5);
  shackle = shackle.subtracted(Rounded(9, 4.5 - lift, 6, 14, 3));
  if (open) shackle = shackle.subtracted(QPainterPath(Rounded(14, 6, 5, 5.5, 0)));
  return body.subtracted(hole).united(shackle.subtracted(Rounded(0, 11, 24, 13, 0)));
}

QPainterPath Card() {
  return Rounded(4, 2, 16, 20, 2);
}

QPainterPath Fit(const QPainterPath& path, const QRectF& box) {
  const qreal scale = std::min(box.width(), box.height()) / kDesign;
  QTransform t;
  t.translate(box.center().x() - kDesign * scale / 2, box.center().y() - kDesign * scale / 2);
  t.scale(scale, scale);
  return t.map(path);
}

void DrawChest(QPainter& p, const QRectF& box, const QColor& outline) {
  const qreal scale = std::min(box.width(), box.height()) / kDesign;
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.translate(box.center().x() - kDesign * scale / 2, box.center().y() - kDesign * scale / 2);
  p.scale(scale, scale);
  const QPen pen(outline, 1.0 / scale, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  QPainterPath lid;
  lid.moveTo(2.5, 11);
  lid.lineTo(2.5, 9);
  lid.arcTo(QRectF(2.5, 3, 19, 12), 180, -180);
  lid.lineTo(21.5, 11);
  lid.closeSubpath();
  const QPainterPath body = Rounded(2.5, 11, 19, 10.5, 0.8);
  const QColor wood(160, 98, 44);
  p.setPen(pen);
  p.setBrush(wood.lighter(118));
  p.drawPath(lid);
  p.setBrush(wood);
  p.drawPath(body);
  const QColor iron(88, 56, 30);
  p.setBrush(iron);
  for (qreal x : {5.5, 16.5}) {
    p.drawPath(Rounded(x, 4.2, 2.2, 17.3, 0.3).intersected(lid.united(body)));
  }
  p.setBrush(QColor(236, 186, 60));
  p.drawPath(Rounded(10, 9, 4, 5.5, 0.8));
  p.setPen(Qt::NoPen);
  p.setBrush(iron);
  p.drawEllipse(QPointF(12, 11.2), 0.8, 0.8);
  p.restore();
}

void Draw(QPainter& p, const QPainterPath& path, const QRectF& box, const QColor& colour) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawPath(Fit(path, box));
  p.restore();
}

}  // namespace tomtura::pictogram
