// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The new-game dialog: players are entered one slot at a time (name, password, piece, whether
// the computer plays the slot and how well), with buttons for the next and the previous slot. It
// edits the player records in place through NewGameSlots; the caller starts the new game when
// it closes. It also leads to network play, where the game begins without the caller, opens a
// saved game instead, and can end the program.
#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <functional>

#include "store/new_game_slots.h"
#include "ui/item_combo_box.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tomtura {

class BoardPicture;
class Game;

// The next and previous slot buttons: a picture of the sheet, the pressed one while held down
// or disabled.
class SlotButton : public QAbstractButton {
 public:
  SlotButton(bool next, const BoardPicture& picture, QWidget* parent);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool next_;
  const BoardPicture& picture_;
};

// The piece list: each item is a token picture on grey, blue when selected; the closed list
// shows the chosen token the same way.
class TokenList : public ItemComboBox {
 public:
  TokenList(const BoardPicture& picture, QWidget* parent);
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }
  int tokenAt(int index) const { return itemData(index).toInt(); }

 protected:
  void PaintCurrentItem(QPainter& painter, const QRect& field) const override;

 private:
  const BoardPicture& picture_;
};

class NewGameDialog : public QDialog {
  Q_OBJECT

 public:
  // Control ids of the dialog.
  enum Control {
    kName = 1000,
    kNextSlot = 1001,
    kPreviousSlot = 1002,
    kSlotNumber = 1003,
    kAddPlayer = 1004,
    kRemovePlayer = 1005,
    kStart = 1006,
    kComputer = 1007,
    kPassword = 1008,
    kPiece = 1009,
    kNetwork = 1010,
    kExit = 1011,
    kStrength = 1014,
    kOpenGame = 1051,
  };

  // Sets up a network game over the dialog it is given, offering `name` as this computer's
  // player's name; true when the game has begun.
  using NetworkSetup = std::function<bool(QWidget* over, const QString& name)>;
  // Chooses a saved game over the dialog it is given and puts it in place; true when it did.
  using OpenSavedGame = std::function<bool(QWidget* over)>;

  // `picture` gives the token and slot-button pictures; without `network` there is no network
  // play, without `open` no saved game to open.
  NewGameDialog(Game& game, const BoardPicture& picture, QWidget* parent, NetworkSetup network = {},
                OpenSavedGame open = {});

  NewGameSlots& bookkeeping() { return slots_; }
  // True after Exit: the program is to end.
  bool exitRequested() const { return exitRequested_; }
  // True when the dialog ended because a network game has begun.
  bool networkStarted() const { return networkStarted_; }
  // True when the dialog ended because a saved game was opened.
  bool gameOpened() const { return gameOpened_; }

  // The commands of the buttons, for keyboard, mouse and tests alike.
  void NextSlot();
  void PreviousSlot();
  void AddPlayer();
  void RemovePlayer();
  void Start();
  void Network();
  void OpenGame();
  void Exit();

  // However the dialog ends: one closed with too few players for a game leaves the player
  // records as they were when it opened.
  void done(int result) override;
  // The dialog ended with too few players and put the records back: there is no new game.
  bool playersRestored() const { return playersRestored_; }

 private:
  void CreateControls();
  // Shows the slot of the bookkeeping: its number, its record, the piece list, the buttons.
  void ShowSlot();

  Game& game_;
  const BoardPicture& picture_;
  NewGameSlots slots_;
  NetworkSetup network_;
  OpenSavedGame open_;
  bool exitRequested_ = false;
  bool networkStarted_ = false;
  bool gameOpened_ = false;
  bool playersRestored_ = false;
  bool filling_ = false;

  QLineEdit* name_ = nullptr;
  QLineEdit* password_ = nullptr;
  QCheckBox* computer_ = nullptr;
  QComboBox* strength_ = nullptr;  // item data: the Strength
  TokenList* pieces_ = nullptr;
  QLabel* slotNumber_ = nullptr;
  SlotButton* next_ = nullptr;
  SlotButton* previous_ = nullptr;
  QPushButton* add_ = nullptr;
  QPushButton* remove_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* networkButton_ = nullptr;
  QPushButton* openButton_ = nullptr;
  QPushButton* exit_ = nullptr;
};

}  // namespace tomtura
