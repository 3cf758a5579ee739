#pragma once
// Small pictures drawn from paths in a 24 x 24 design box, scaled into any rectangle: the
// station and utility signs of the board, and the shapes the sprites are built from.
#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

namespace tomtura::pictogram {

QPainterPath Train();
QPainterPath Ferry();
QPainterPath Bus();
QPainterPath Plane();
QPainterPath Bulb();
QPainterPath Drop();
QPainterPath MoneyBag();
QPainterPath House();
QPainterPath Padlock(bool open);
QPainterPath Card();

// `path` (designed in 24 x 24) scaled to fit `box`, keeping its proportions, centred.
QPainterPath Fit(const QPainterPath& path, const QRectF& box);

// A chest with a lid, iron bands and a brass clasp, in several colours, fitted to `box`.
void DrawChest(QPainter& p, const QRectF& box, const QColor& outline);

// Fills `path` fitted to `box` in `colour`, without outline.
void Draw(QPainter& p, const QPainterPath& path, const QRectF& box, const QColor& colour);

}  // namespace tomtura::pictogram
