// The new-game dialog driven through its controls and keys (offscreen): what it shows of the
// slots, and what Enter, Start, Network... and Exit do. The slots, tokens and roster are the
// core's (tests/store/new_game_slots_test.cpp).
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "test_suites.h"
#include "ui/control_ids.h"
#include "ui/new_game_dialog.h"
#include "window_fixture.h"

using namespace tomtura;

namespace {

// Types a player into the dialog and presses Enter, as a person would.
void Enter(NewGameDialog& dialog, const QString& name, const QString& password = {}) {
  auto* nameEdit = Control<QLineEdit>(&dialog, NewGameDialog::kName);
  nameEdit->selectAll();
  QTest::keyClicks(nameEdit, name);
  auto* passwordEdit = Control<QLineEdit>(&dialog, NewGameDialog::kPassword);
  passwordEdit->clear();
  QTest::keyClicks(passwordEdit, password);
  QTest::keyClick(nameEdit, Qt::Key_Return);
}

}  // namespace

class NewGameDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void enterAddsAPlayerAndTheControlsFollowTheSlots();
  void startTakesATypedPlayerNetworkAndExit();
};

void NewGameDialogTest::enterAddsAPlayerAndTheControlsFollowTheSlots() {
  Harness h("\n[LJUD]\nSparaSpelare=0\n");
  NewGameDialog dialog(*h.game, h.picture, nullptr);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  auto* slot = Control<QLabel>(&dialog, NewGameDialog::kSlotNumber);
  auto* start = Control(&dialog, NewGameDialog::kStart);
  auto* previous = Control(&dialog, NewGameDialog::kPreviousSlot);
  auto* pieces = Control<QComboBox>(&dialog, NewGameDialog::kPiece);
  QCOMPARE(slot->text(), QString("1"));
  QVERIFY(!start->isEnabled() && !previous->isEnabled());
  QCOMPARE(pieces->count(), 10);

  Enter(dialog, "Anna", "pw");
  Enter(dialog, "Bo");
  const GameState& state = h.game->state;
  QCOMPARE(state.playerCount, 2);
  QCOMPARE(QString::fromStdString(state.players[0].password.utf8()), QString("pw"));
  QCOMPARE(slot->text(), QString("3"));
  QVERIFY(start->isEnabled() && previous->isEnabled());
  QCOMPARE(pieces->count(), 8);
  QCOMPARE(QApplication::focusWidget(), Control(&dialog, NewGameDialog::kName));

  // Back at Bo, the computer's box disables the password and enables the strength.
  QTest::mouseClick(previous, Qt::LeftButton);
  QCOMPARE(slot->text(), QString("2"));
  auto* strength = Control<QComboBox>(&dialog, NewGameDialog::kStrength);
  QVERIFY(!strength->isEnabled());
  QCOMPARE(strength->currentText(), QString("Normal"));
  Control<QCheckBox>(&dialog, NewGameDialog::kComputer)->setChecked(true);
  QVERIFY(!Control(&dialog, NewGameDialog::kPassword)->isEnabled());
  QVERIFY(strength->isEnabled());
  strength->setCurrentIndex(strength->findText("Hard"));
  Control<QPushButton>(&dialog, NewGameDialog::kAddPlayer)->click();
  QCOMPARE(int(state.players[1].isComputer), 1);
  QCOMPARE(int(state.players[1].strength), int(Strength::Hard));
  // Shown again, Bo's strength is his own.
  QTest::mouseClick(previous, Qt::LeftButton);
  QCOMPARE(strength->currentText(), QString("Hard"));
}

// The stored roster is shown; a player typed but not yet added joins at Start rather than being
// dropped. Network... ends the dialog only when a network game has begun; Exit asks the window
// to end the program.
void NewGameDialogTest::startTakesATypedPlayerNetworkAndExit() {
  Harness h("\n[LJUD]\nSparaSpelare=1\n1=3,,0,Eva\n2=7,,1E,Dator\n");
  bool begun = false;
  QWidget* over = nullptr;
  QString offered;
  NewGameDialog dialog(*h.game, h.picture, nullptr, [&](QWidget* parent, const QString& name) {
    over = parent;
    offered = name;
    return begun;
  });
  QCOMPARE(Control<QLineEdit>(&dialog, NewGameDialog::kName)->text(), QString("Eva"));
  dialog.NextSlot();
  QVERIFY(Control<QCheckBox>(&dialog, NewGameDialog::kComputer)->isChecked());
  QCOMPARE(Control<QComboBox>(&dialog, NewGameDialog::kStrength)->currentText(), QString("Easy"));
  Control<QPushButton>(&dialog, NewGameDialog::kNetwork)->click();
  QCOMPARE(over, &dialog);
  QCOMPARE(offered, QString("Dator"));  // the name of the slot shown
  QVERIFY(dialog.result() != int(QDialog::Accepted) && !dialog.networkStarted());

  dialog.NextSlot();
  QTest::keyClicks(Control<QLineEdit>(&dialog, NewGameDialog::kName), "Pia");
  Control<QPushButton>(&dialog, NewGameDialog::kStart)->click();
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(h.game->state.playerCount, 3);
  QCOMPARE(h.StoredOption("3"), QString("0,,0,Pia"));
  QCOMPARE(h.StoredOption("2"), QString("7,,1E,Dator"));
  QVERIFY(!dialog.exitRequested());
  Control<QPushButton>(&dialog, NewGameDialog::kExit)->click();
  QVERIFY(dialog.exitRequested());

  begun = true;
  NewGameDialog networked(*h.game, h.picture, nullptr,
                          [&](QWidget*, const QString&) { return begun; });
  Control<QPushButton>(&networked, NewGameDialog::kNetwork)->click();
  QCOMPARE(networked.result(), int(QDialog::Accepted));
  QVERIFY(networked.networkStarted());
}

TOMTURA_TEST_SUITE(NewGameDialogTest);
#include "new_game_dialog_test.moc"
