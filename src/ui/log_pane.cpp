// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/log_pane.h"

#include <QListView>
#include <QPainter>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <algorithm>

#include "rules/game.h"
#include "ui/fonts.h"

namespace tomtura {
namespace {
constexpr int kPaneMinimumWidth = 140;
constexpr int kEntrySpacing = 1;
constexpr int kTextMargin = 3;
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

// Each entry wrapped whole to the width of the list, on its player's colour: never cut, and as
// high as its lines.
class LogDelegate : public QStyledItemDelegate {
 public:
  explicit LogDelegate(QListView& list) : QStyledItemDelegate(&list), list_(list) {}

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const int width = EntryWidth();
    const QRect text = option.fontMetrics.boundingRect(
        QRect(0, 0, width - 2 * kTextMargin, 0), kTextFlags, index.data().toString());
    return {width, text.height() + 2 * kTextMargin};
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    painter->save();
    painter->fillRect(option.rect, index.data(Qt::BackgroundRole).value<QBrush>());
    painter->setPen(index.data(Qt::ForegroundRole).value<QBrush>().color());
    painter->setFont(option.font);
    painter->drawText(option.rect.adjusted(kTextMargin, kTextMargin, -kTextMargin, -kTextMargin),
                      kTextFlags, index.data().toString());
    painter->restore();
  }

 private:
  int EntryWidth() const { return std::max(1, list_.viewport()->width() - 2 * kEntrySpacing); }

  QListView& list_;
};

}  // namespace

QColor LogEntryColour(const Game& game, char playerMark) {
  const int player = playerMark - '0';
  if (player < 0 || player >= kMaxPlayers || player >= game.state.playerCount) {
    return kNoPlayerColour;
  }
  if (game.state.players[player].isBankrupt != 0) return kBankruptPlayerColour;
  return player == game.state.currentPlayer ? kCurrentPlayerColour : kOtherPlayerColour;
}

QString LogEntryText(const std::string& entry) {
  if (entry.empty()) return {};
  return QString::fromUtf8(entry.data() + 1, static_cast<qsizetype>(entry.size() - 1));
}

LogModel::LogModel(const Game& game, QObject* parent) : QAbstractListModel(parent), game_(game) {}

int LogModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

QVariant LogModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(entries_.size())) return {};
  const std::string& entry = entries_[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
      return LogEntryText(entry);
    case Qt::BackgroundRole:
      return QBrush(LogEntryColour(game_, entry.empty() ? '-' : entry.front()));
    case Qt::ForegroundRole:
      return QBrush(Qt::black);
    default:
      return {};
  }
}

LogModel::Standing LogModel::CurrentStanding() const {
  Standing standing;
  standing.currentPlayer = game_.state.currentPlayer;
  for (int i = 0; i < kMaxPlayers; ++i) {
    if (game_.state.players[i].isBankrupt != 0) standing.bankrupt |= 1u << i;
  }
  return standing;
}

bool LogModel::Sync() {
  const auto& log = game_.state.log.entries();
  const Standing standing = CurrentStanding();
  if (log == entries_ && standing == standing_) return false;
  beginResetModel();
  entries_ = log;
  standing_ = standing;
  endResetModel();
  return true;
}

LogPane::LogPane(const Game& game, const QString& title, QWidget* parent)
    : QDockWidget(title, parent), model_(new LogModel(game, this)), list_(new QListView(this)) {
  setObjectName("gameLog");
  list_->setModel(model_);
  list_->setItemDelegate(new LogDelegate(*list_));
  list_->setWordWrap(true);
  list_->setUniformItemSizes(false);
  list_->setResizeMode(QListView::Adjust);
  list_->setSpacing(kEntrySpacing);
  list_->setFont(DialogFont());
  list_->setSelectionMode(QAbstractItemView::NoSelection);
  list_->setFocusPolicy(Qt::NoFocus);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list_->setMinimumWidth(kPaneMinimumWidth);
  setWidget(list_);
  hide();
}

void LogPane::Refresh() {
  if (isVisible()) model_->Sync();
}

void LogPane::showEvent(QShowEvent* event) {
  QDockWidget::showEvent(event);
  model_->Sync();
}

}  // namespace tomtura
