#pragma once
// A plain stand-in for the new-game dialog: up to six players, each with a name, a password,
// the computer mark and a token; offered again from the previous game or the stored roster.
// Start writes the records (and the roster when the option is on); Exit asks to end the
// program.
#include <QDialog>
#include <array>

#include "data/game_state.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace tomtura {

class BoardPicture;
class Game;

class NewGameStub : public QDialog {
 public:
  // `picture` (may be null) gives the token pictures of the piece lists.
  NewGameStub(Game& game, const BoardPicture* picture, QWidget* parent);

  // The rows as they are entered; used by Start and by tests.
  struct Row {
    QLineEdit* name = nullptr;
    QLineEdit* password = nullptr;
    QCheckBox* computer = nullptr;
    QComboBox* token = nullptr;
  };
  Row& row(int i) { return rows_[static_cast<std::size_t>(i)]; }
  QPushButton& startButton() { return *start_; }
  bool exitRequested() const { return exitRequested_; }

  // True when at least two rows carry a name and no token is used twice.
  bool RowsValid() const;
  // Writes the named rows into the player records and sets playerCount; the roster follows
  // when "SparaSpelare" is on.
  void Start();

 private:
  void Fill();
  void UpdateStart();

  Game& game_;
  std::array<Row, kMaxPlayers> rows_;
  QPushButton* start_ = nullptr;
  bool exitRequested_ = false;
};

}  // namespace tomtura
