#include "icon_art.h"

#include <QPainter>
#include <QPainterPath>

#include "painting.h"

namespace tomtura {
namespace {

// The design is drawn on a 256-unit square and scaled.
constexpr qreal kDesign = 256.0;
const QColor kRoof(150, 50, 30);
const QColor kWall(214, 88, 44);
const QColor kWindow(255, 236, 150);

}  // namespace

QImage PaintProgramIcon(int size) {
  QImage icon = ClearLayer(size, size);
  QPainter p(&icon);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / kDesign, size / kDesign);
  // Small icons get thicker lines, so that the outline still shows at 16 pixels.
  const qreal line = size <= 24 ? 16 : size <= 48 ? 12 : 9;

  // The street tile: a rounded square with the group's colour band across its top.
  QPainterPath tile;
  tile.addRoundedRect(QRectF(10, 10, 236, 236), 40, 40);
  p.fillPath(tile, palette::kSquare);
  p.save();
  p.setClipPath(tile);
  p.fillRect(QRectF(10, 10, 236, 66), palette::kGroups[6]);
  p.restore();
  p.setPen(QPen(palette::kInk, line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(tile);
  p.drawLine(QPointF(10 + line / 2, 76), QPointF(246 - line / 2, 76));

  // The house: chimney, wall, roof, a door and a lit window.
  const qreal outline = line * 0.8;
  QPainterPath chimney;
  chimney.addRect(QRectF(160, 92, 22, 40));
  FillOutlined(p, chimney, kRoof, palette::kInk, outline);
  QPainterPath wall;
  wall.addRect(QRectF(70, 146, 116, 78));
  FillOutlined(p, wall, kWall, palette::kInk, outline);
  QPainterPath roof;
  roof.moveTo(50, 152);
  roof.lineTo(128, 90);
  roof.lineTo(206, 152);
  roof.closeSubpath();
  FillOutlined(p, roof, kRoof, palette::kInk, outline);
  QPainterPath door;
  door.addRect(QRectF(112, 176, 32, 48));
  FillOutlined(p, door, palette::kInk, palette::kInk, 1);
  if (size >= 32) {
    QPainterPath window;
    window.addRect(QRectF(150, 166, 24, 22));
    FillOutlined(p, window, kWindow, palette::kInk, outline * 0.6);
  }
  p.end();
  return icon;
}

}  // namespace tomtura
