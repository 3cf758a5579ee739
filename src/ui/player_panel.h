// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The player panel: one section per player, stacked in record order, with the name bar, the
// token, the money and (while shown) the player's property list with a card for the property
// selected in it. It scrolls both ways in steps of 8 pixels and can be dragged.
#include <QColor>
#include <QFontMetrics>
#include <QStringList>
#include <array>
#include <string>
#include <vector>

#include "data/game_state.h"
#include "ui/scroll_drag.h"

class QComboBox;

namespace tomtura {

class BoardPicture;
class Game;

constexpr int kPanelBaseWidth = 160;
// A column of player sections; a panel wide enough holds several side by side.
constexpr int kPanelColumnWidth = kPanelBaseWidth + 18;
constexpr int kPanelMaxColumns = 3;
constexpr int kPlayerBoxHeight = 235;  // while the property lists are shown
constexpr int kPlayerBoxHeightWithoutLists = 90;

// One text of the property card under a player's list, in the panel's small font.
struct PanelCardText {
  std::string text;  // UTF-8
  Qt::Alignment alignment;
  QColor colour;
};

// The texts the card shows for property p: only the mortgage line for a mortgaged property,
// else labels and values by the kind of property.
std::vector<PanelCardText> PanelCardTexts(const Game& game, int property);

// The lines a card of one text (a utility's rent, the jail card, a mortgage) shows in `width`
// pixels: each paragraph (lines between blank lines) as the board file breaks it where every line
// fits, else wrapped anew as a whole, so that no line is broken twice.
QStringList CardLines(const QString& text, const QFontMetrics& metrics, int width);

// The colour of player i's name bar.
QColor NameBarColour(const Game& game, int player);

class PlayerPanel : public DragScrollArea {
  Q_OBJECT

 public:
  PlayerPanel(Game& game, const BoardPicture& picture, QWidget* parent = nullptr);

  // Repaints from the state and refills the property lists from the core's lists.
  void Refresh();
  // Brings the current player's section to the top, as far as the range allows.
  void ScrollToCurrentPlayer();
  // Shows or hides the property lists; a section is 235 pixels high with them, 90 without.
  void SetShowCompanies(bool shown);
  // Keys 1..6: the player's list takes the focus and the section comes to the top.
  void FocusPlayerList(int player);

  int playerBoxHeight() const { return boxHeight; }
  // The sections stand in as many columns as the panel's width holds, in record order row by
  // row.
  int columns() const;
  // The columns the players need to be seen whole in a panel `height` pixels high.
  int ColumnsNeeded(int height) const;
  // Where section i stands in the content, before scrolling.
  QPoint SectionOrigin(int i) const;
  bool showCompanies() const { return companiesShown; }
  QComboBox* propertyList(int slot) const { return lists[slot]; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  int PageStep(const QAbstractSlider* bar) const override;

 private:
  void AdaptScrollBars();
  void LayoutLists();
  void FillList(int slot);
  void ScrollToPlayer(int player);
  void PaintSection(QPainter& painter, int player, int top, int left) const;

  Game& game;
  const BoardPicture& picture;
  std::array<QComboBox*, kMaxPlayers> lists{};
  int boxHeight = kPlayerBoxHeight;
  bool companiesShown = true;
};

}  // namespace tomtura
