// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/player_panel.h"

#include <QAbstractItemDelegate>
#include <QComboBox>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

#include "data/property_rules.h"
#include "data/text_ids.h"
#include "rules/game.h"
#include "ui/board_picture.h"
#include "ui/fonts.h"
#include "ui/item_combo_box.h"

namespace tomtura {

namespace {

constexpr int kListWidth = kPanelBaseWidth - 2;
constexpr int kListTop = 20;  // below the name bar
constexpr int kListItemHeight = 18;
constexpr int kListHeight = 22;
constexpr int kListDropHeight = 160;
constexpr int kNameBarWidth = kPanelBaseWidth - 35;
constexpr int kNameBarHeight = 20;
constexpr int kTokenFromEnd = 45;  // the token and the card's bottom, from the section end
constexpr int kCardTop = 44;
constexpr int kCardLeft = 2;
constexpr int kCardRight = kPanelBaseWidth - 2;
constexpr int kMoneyLeft = 66;
constexpr int kMoneyRight = 156;
constexpr int kMoneyFromEnd = 43;
constexpr int kMoneyHeight = 20;
constexpr int kCoinGap = 23;  // the coin stands this far left of the money box
constexpr int kSeparatorFromEnd = 6;
constexpr int kSeparatorHeight = 4;
constexpr int kHorizontalPage = 24;
constexpr int kTokenPictures = 10;
constexpr int kMinWindowHeight = 37;  // below this the main window is minimised

constexpr QRgb kCurrentColour = qRgb(255, 255, 0);
constexpr QRgb kOtherColour = qRgb(0, 255, 255);
constexpr QRgb kBankruptColour = qRgb(0, 128, 128);
constexpr QRgb kLightYellow = qRgb(255, 255, 235);
constexpr QRgb kMortgageRed = qRgb(255, 0, 0);

bool ValidProperty(int p) {
  return p >= 0 && p < kPropertyCount;
}

// The two frames of a name bar or money box: a sunken edge with a darker one inside it.
void DoubleFrame(QPainter& painter, const QRect& r) {
  Frame3D(painter, r, false, false, 0);
  Frame3D(painter, r.adjusted(1, 1, -1, -1), false, true, 0);
}

// Draws each item of a property list, in the drop-down and in the closed box, with the
// board picture's group markers.
class PropertyItemDelegate : public QAbstractItemDelegate {
 public:
  PropertyItemDelegate(const Game& game, const BoardPicture& picture, QObject* parent)
      : QAbstractItemDelegate(parent), game(game), picture(picture) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const int p = index.data(Qt::UserRole).toInt();
    if (!ValidProperty(p)) return;
    DrawPropertyItem(*painter, option.rect, p, game.state.properties,
                     option.state & QStyle::State_Selected, picture, DialogFont());
  }
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {kListWidth, kListItemHeight};
  }

 private:
  const Game& game;
  const BoardPicture& picture;
};

class PropertyListBox : public ItemComboBox {
 public:
  PropertyListBox(const Game& game, const BoardPicture& picture, QWidget* parent)
      : ItemComboBox(parent), game(game), picture(picture) {
    SetItemDelegateOnOpen(new PropertyItemDelegate(game, picture, this));
    setMaxVisibleItems(kListDropHeight / kListItemHeight);
    setFixedSize(kListWidth, kListHeight);
  }

 protected:
  void PaintCurrentItem(QPainter& painter, const QRect& field) const override {
    const int p = currentData(Qt::UserRole).isValid() ? currentData(Qt::UserRole).toInt() : -1;
    if (!ValidProperty(p)) return;
    DrawPropertyItem(painter, field, p, game.state.properties, hasFocus(), picture, DialogFont());
  }

 private:
  const Game& game;
  const BoardPicture& picture;
};

}  // namespace

QStringList CardLines(const QString& text, const QFontMetrics& metrics, int width) {
  QStringList lines;
  const auto wrap = [&](const QStringList& paragraph) {
    bool fits = true;
    for (const QString& line : paragraph) fits = fits && metrics.horizontalAdvance(line) <= width;
    if (fits) {
      lines << paragraph;
      return;
    }
    QString line;
    for (const QString& word : paragraph.join(' ').split(' ', Qt::SkipEmptyParts)) {
      const QString longer = line.isEmpty() ? word : line + ' ' + word;
      if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
        lines << line;
        line = word;
      } else {
        line = longer;
      }
    }
    if (!line.isEmpty()) lines << line;
  };
  QStringList paragraph;
  for (const QString& line : text.split('\n')) {
    if (!line.trimmed().isEmpty()) {
      paragraph << line;
      continue;
    }
    wrap(paragraph);
    paragraph.clear();
    lines << QString();
  }
  wrap(paragraph);
  return lines;
}

std::vector<PanelCardText> PanelCardTexts(const Game& game, int p) {
  if (!ValidProperty(p)) return {};
  const Property& property = game.state.properties[p];
  const QColor black(Qt::black);
  const Qt::Alignment left = Qt::AlignLeft | Qt::AlignTop;
  const Qt::Alignment right = Qt::AlignRight | Qt::AlignTop;
  const Qt::Alignment centre = Qt::AlignHCenter | Qt::AlignTop;
  if (property.mortgaged) {
    return {{game.FormatCatalogue(kTextCardMortgage, MortgageValue(property)), centre,
             QColor(kMortgageRed)}};
  }
  if (property.group >= 0 && property.group < kStationGroup) {
    const auto& rent = property.rent;
    return {
        {game.Text(kTextStreetLabels), left, black},
        {game.FormatCatalogue(kTextStreetValues, int{rent[0]}, int{rent[1]}, int{rent[2]},
                              int{rent[3]}, int{rent[4]}, int{rent[5]}, int{property.housePrice},
                              int{property.housePrice}, MortgageValue(property)),
         right, black}};
  }
  switch (property.group) {
    case kStationGroup:
      return {{game.Text(kTextStationValues), right, black},
              {game.Text(kTextStationLabels), left, black}};
    case kUtilityGroup:
      return {{game.Text(kTextUtility), left, black}};
    case kJailCardGroup:
      return {{game.Text(kTextJailCard), centre, black}};
  }
  return {};
}

QColor NameBarColour(const Game& game, int player) {
  if (game.state.players[player].isBankrupt) return QColor(kBankruptColour);
  return QColor(player == game.state.currentPlayer ? kCurrentColour : kOtherColour);
}

PlayerPanel::PlayerPanel(Game& game, const BoardPicture& picture, QWidget* parent)
    : DragScrollArea(parent), game(game), picture(picture) {
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  for (int slot = 0; slot < kMaxPlayers; ++slot) {
    auto* box = new PropertyListBox(game, picture, viewport());
    box->hide();
    lists[slot] = box;
    // A choice by the user selects that property in the core's list and shows its card.
    connect(box, &QComboBox::activated, this, [this, slot](int index) {
      PropertyList& list = this->game.state.propertyLists[slot];
      if (index >= 0 && index < static_cast<int>(list.items.size())) list.selected = index;
      viewport()->update();
    });
  }
  LayoutLists();
  AdaptScrollBars();
}

void PlayerPanel::FillList(int slot) {
  const PropertyList& list = game.state.propertyLists[slot];
  QComboBox* box = lists[slot];
  const QSignalBlocker block(box);
  bool same = box->count() == static_cast<int>(list.items.size());
  for (int i = 0; same && i < box->count(); ++i) {
    same = box->itemData(i, Qt::UserRole).toInt() == list.items[i];
  }
  if (!same) {
    box->clear();
    for (int p : list.items) box->addItem(QString(), p);
  }
  const bool selectable = list.selected >= 0 && list.selected < box->count();
  box->setCurrentIndex(selectable ? list.selected : -1);
  box->update();
}

void PlayerPanel::Refresh() {
  const int count = std::clamp<int>(game.state.playerCount, 0, kMaxPlayers);
  for (int slot = 0; slot < kMaxPlayers; ++slot) {
    FillList(slot);
    lists[slot]->setVisible(companiesShown && slot < count);
  }
  AdaptScrollBars();
  viewport()->update();
}

void PlayerPanel::SetShowCompanies(bool shown) {
  companiesShown = shown;
  boxHeight = shown ? kPlayerBoxHeight : kPlayerBoxHeightWithoutLists;
  LayoutLists();
  Refresh();
  ScrollToCurrentPlayer();
}

int PlayerPanel::columns() const {
  // The frame and a scroll bar may take a little of a column's width.
  constexpr int kSlack = 24;
  return std::clamp((viewport()->width() + kSlack) / kPanelColumnWidth, 1, kPanelMaxColumns);
}

int PlayerPanel::ColumnsNeeded(int height) const {
  const int count = std::clamp<int>(game.state.playerCount, 0, kMaxPlayers);
  const int rows = std::max(1, height / boxHeight);
  return std::clamp((count + rows - 1) / rows, 1, kPanelMaxColumns);
}

QPoint PlayerPanel::SectionOrigin(int i) const {
  const int across = columns();
  return {(i % across) * kPanelColumnWidth, (i / across) * boxHeight};
}

void PlayerPanel::LayoutLists() {
  const QPoint scroll = scrollOffset();
  for (int slot = 0; slot < kMaxPlayers; ++slot) {
    const QPoint origin = SectionOrigin(slot);
    lists[slot]->move(origin.x() - scroll.x(), origin.y() + kListTop - scroll.y());
  }
}

void PlayerPanel::AdaptScrollBars() {
  const int count = std::clamp<int>(game.state.playerCount, 0, kMaxPlayers);
  const int across = std::min(columns(), std::max(count, 1));
  const int content = (count + across - 1) / across * boxHeight;
  const int width = (across - 1) * kPanelColumnWidth;
  FitScrollBars({width + kListWidth, content}, {width + kPanelBaseWidth, content});
}

// A section a page down the panel, a few steps across it.
int PlayerPanel::PageStep(const QAbstractSlider* bar) const {
  return bar == verticalScrollBar() ? boxHeight : kHorizontalPage;
}

void PlayerPanel::scrollContentsBy(int dx, int dy) {
  // Moves the painted content and the property lists with it.
  viewport()->scroll(dx, dy);
}

void PlayerPanel::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  AdaptScrollBars();
  LayoutLists();  // the columns follow the width
  viewport()->update();
}

void PlayerPanel::ScrollToPlayer(int player) {
  if (window()->height() < kMinWindowHeight) return;
  if (maxScrollY > 0) {
    verticalScrollBar()->setValue(std::clamp(SectionOrigin(player).y(), 0, maxScrollY));
  }
}

void PlayerPanel::ScrollToCurrentPlayer() {
  ScrollToPlayer(game.state.currentPlayer);
}

void PlayerPanel::FocusPlayerList(int player) {
  const GameState& state = game.state;
  if (player < 0 || player >= std::min<int>(state.playerCount, kMaxPlayers)) return;
  if (state.players[player].isBankrupt) return;
  lists[player]->setFocus();
  ScrollToPlayer(player);
}

// ---- Painting --------------------------------------------------------------------------------

void PlayerPanel::PaintSection(QPainter& painter, int i, int top, int left) const {
  const Player& player = game.state.players[i];
  const int end = top + boxHeight;

  const QRect nameBar(left, top, kNameBarWidth, kNameBarHeight);
  DoubleFrame(painter, nameBar);
  const QRect nameArea = nameBar.adjusted(2, 2, -2, -2);
  painter.fillRect(nameArea, NameBarColour(game, i));
  painter.setFont(BoldFont());
  painter.setPen(Qt::black);
  painter.drawText(nameArea.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromStdString(player.name.utf8()));

  if (player.token >= 0 && player.token < kTokenPictures) {
    painter.drawPixmap(left, end - kTokenFromEnd, picture.Token(player.token));
  }

  const PropertyList& list = game.state.propertyLists[i];
  if (companiesShown && list.selected >= 0 && list.selected < static_cast<int>(list.items.size())) {
    const QRect card(left + kCardLeft, top + kCardTop, kCardRight - kCardLeft,
                     boxHeight - kCardTop - kTokenFromEnd);
    painter.fillRect(card, QColor(kLightYellow));
    Frame3D(painter, card, false, false, 0);
    painter.setFont(SmallFont());
    const QRect textArea = card.adjusted(2, 2, -2, -2);
    const std::vector<PanelCardText> texts = PanelCardTexts(game, list.items[list.selected]);
    // A card of one text (a utility's rent, the jail card) is fitted to the card; the columns
    // of labels and values keep their lines side by side.
    for (const PanelCardText& text : texts) {
      QString shown = QString::fromStdString(text.text);
      if (texts.size() == 1) {
        shown = CardLines(shown, painter.fontMetrics(), textArea.width()).join('\n');
      }
      painter.setPen(text.colour);
      painter.drawText(textArea, static_cast<int>(text.alignment), shown);
    }
  }

  const QRect money(left + kMoneyLeft, end - kMoneyFromEnd, kMoneyRight - kMoneyLeft, kMoneyHeight);
  DoubleFrame(painter, money);
  const QRect moneyArea = money.adjusted(2, 2, -2, -2);
  painter.fillRect(moneyArea, QColor(kLightYellow));
  const QString amount = QString::fromStdString(game.texts.money().Write(player.money));
  painter.setFont(FittedFont(BoldFont(), amount, moneyArea.width() - 2));
  painter.setPen(Qt::black);
  painter.drawText(moneyArea, Qt::AlignCenter, amount);
  painter.drawPixmap(money.left() - kCoinGap, money.top() + 1, picture.Coin());

  Frame3D(painter, QRect(left, end - kSeparatorFromEnd, kPanelColumnWidth, kSeparatorHeight), false,
          false, 0);
}

void PlayerPanel::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const QRect dirty = event->rect();
  painter.fillRect(dirty, picture.isNull() ? QBrush(Qt::lightGray) : picture.PanelBrush());
  const QPoint scroll = scrollOffset();
  const int count = std::clamp<int>(game.state.playerCount, 0, kMaxPlayers);
  for (int i = 0; i < count; ++i) {
    const QPoint origin = SectionOrigin(i) - scroll;
    if (!dirty.intersects(QRect(origin, QSize(kPanelColumnWidth, boxHeight)))) continue;
    PaintSection(painter, i, origin.y(), origin.x());
  }
}

// ---- Drag scrolling --------------------------------------------------------------------------

void PlayerPanel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) BeginDrag(event->position().toPoint());
}

}  // namespace tomtura
