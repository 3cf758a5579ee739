#pragma once
// The player panel: one section per player, stacked in record order, with the name bar, the
// token, the money and (while shown) the player's property list with a card for the property
// selected in it. It scrolls both ways in steps of 8 pixels and can be dragged.
#include <QAbstractScrollArea>
#include <QColor>
#include <array>
#include <string>
#include <vector>

#include "data/game_state.h"

class QAbstractSlider;
class QComboBox;

namespace tomtura {

class BoardPicture;
class Game;

constexpr int kPanelBaseWidth = 160;
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

// The colour of player i's name bar.
QColor NameBarColour(const Game& game, int player);

class PlayerPanel : public QAbstractScrollArea {
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
  bool showCompanies() const { return companiesShown; }
  QPoint scrollOffset() const;
  QSize maxScroll() const { return {maxScrollX, maxScrollY}; }
  QComboBox* propertyList(int slot) const { return lists[slot]; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void AdaptScrollBars();
  void LayoutLists();
  void FillList(int slot);
  void ScrollToPlayer(int player);
  void OnScrollAction(QAbstractSlider* bar, int action);
  void PaintSection(QPainter& painter, int player, int top, int left) const;
  void EndDrag();

  Game& game;
  const BoardPicture& picture;
  std::array<QComboBox*, kMaxPlayers> lists{};
  int boxHeight = kPlayerBoxHeight;
  bool companiesShown = true;
  int maxScrollX = 0;
  int maxScrollY = 0;
  bool dragging = false;
  QPoint dragPoint;
};

}  // namespace tomtura
