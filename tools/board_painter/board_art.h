#pragma once
// The 685 x 685 board: forty squares clockwise from the start corner at the top left, with
// the names, prices and colours of the properties, and the game's name in the middle.
#include <QPainter>
#include <QRect>
#include <QString>

#include "data/game_state.h"

namespace tomtura {

struct BoardTexts {
  PropertyTable table{};
  QString chance;     // heading of a chance card
  QString community;  // heading of a community chest card
};

enum class Edge { Top, Right, Bottom, Left, Corner };

Edge EdgeOf(int square);
// The square's place on the board.
QRect SquareRect(int square);
// Where the street colour lies in a square: under the houses the game draws on it.
QRect ColourBarRect(int square);

void PaintBoard(QPainter& p, const BoardTexts& texts);

}  // namespace tomtura
