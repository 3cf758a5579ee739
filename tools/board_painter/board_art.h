#pragma once
// The 685 x 685 board: forty squares clockwise from the start corner at the top left, with
// the names, prices and colours of the properties, and the game's name in the middle.
#include <QPainter>
#include <QRect>
#include <QString>

#include "data/game_state.h"

namespace tomtura {

// Every word the board shows, in the edition's language; the Swedish ones until read.
struct BoardTexts {
  PropertyTable table{};
  QString chance = "CHANS";          // heading of a chance card
  QString community = "ALLMÄNNING";  // heading of a community chest card
  QString start = "GÅ";              // the corner where everyone starts
  QString visiting = "PÅ BESÖK";     // around the jail, for those only passing by
  QString jail = "FÄNGELSE";
  QString quietCorner = "FRI PARKERING";  // the corner where nothing happens
  QString toJail = "GÅ I FÄNGELSE";       // the corner that sends a player to jail
  QString tax = "SKATT";
  QString money = "%s kr";           // an amount, its digits in place of "%s"
  QString thousandsSeparator = " ";  // between each three digits of an amount
  QString moneySign = "kr";          // on the money bag and the coin
};

enum class Edge { Top, Right, Bottom, Left, Corner };

Edge EdgeOf(int square);
// The square's place on the board.
QRect SquareRect(int square);
// Where the street colour lies in a square: under the houses the game draws on it.
QRect ColourBarRect(int square);

void PaintBoard(QPainter& p, const BoardTexts& texts);

}  // namespace tomtura
