#pragma once
// The small pictures of the strip below the board: dice, tokens, button icons, buildings,
// markers, the coin, the patterns, the frame tiles and the slot buttons.
#include <QImage>
#include <QPainterPath>
#include <QString>

namespace tomtura {

// Paints every sprite into its region of `sheet` (685 x 765), each with its key colour
// around it; the coin bears `moneySign`. The strip's unused corners are left as they are.
void PaintSprites(QImage& sheet, const QString& moneySign);

// The outline of token t (0..9) in a 40 x 40 box.
QPainterPath TokenShape(int token);

}  // namespace tomtura
