#pragma once
// The game log as a pane beside the board: the core's log entries, newest first, each without
// its leading player digit and coloured like that player's name bar on the player panel. The
// pane is hidden by default; hidden, it takes no room and leaves the main window's layout as
// it is.
#include <QAbstractListModel>
#include <QColor>
#include <QDockWidget>
#include <deque>
#include <string>

class QListView;

namespace tomtura {

class Game;

// Name bar colours of the player panel.
inline const QColor kCurrentPlayerColour(255, 255, 0);
inline const QColor kOtherPlayerColour(0, 255, 255);
inline const QColor kBankruptPlayerColour(0, 128, 128);
inline const QColor kNoPlayerColour(224, 224, 224);

// The colour of a log entry that starts with `playerMark` ('0'..'5', or '-' for none).
QColor LogEntryColour(const Game& game, char playerMark);
// The text of a log entry for reading: without its player digit.
QString LogEntryText(const std::string& entry);

class LogModel : public QAbstractListModel {
 public:
  explicit LogModel(const Game& game, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  // Takes over the log and the players' standing when either changed; true when it did.
  bool Sync();

 private:
  struct Standing {
    int currentPlayer = 0;
    unsigned bankrupt = 0;  // bit n: player n is out
    bool operator==(const Standing&) const = default;
  };
  Standing CurrentStanding() const;

  const Game& game_;
  std::deque<std::string> entries_;
  Standing standing_;
};

class LogPane : public QDockWidget {
 public:
  LogPane(const Game& game, const QString& title, QWidget* parent);

  // Brings the list up to date; does nothing while the pane is hidden.
  void Refresh();
  LogModel& model() { return *model_; }
  QListView& list() { return *list_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  LogModel* model_;
  QListView* list_;
};

}  // namespace tomtura
