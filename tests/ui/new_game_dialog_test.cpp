// The new-game dialog driven through its controls and keys (offscreen): what it shows for each
// slot, the piece list, and what Start, Network... and Exit do.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "rules/game.h"
#include "headless/headless_front_end.h"
#include "ui/board_picture.h"
#include "ui/control_ids.h"
#include "ui/new_game_dialog.h"

using namespace tomtura;

namespace {

// A game on a private copy of the default board file, with `ljud` as its options section.
struct Setup {
  QTemporaryDir dir;
  QString boardFile;
  HeadlessFrontEnd ui;
  std::unique_ptr<Game> game;
  BoardPicture picture;

  explicit Setup(const QByteArray& ljud = "[LJUD]\nSparaSpelare=0\n") {
    QFile source(QStringLiteral(TOMTURA_ASSETS_DIR "/tomtura.lst"));
    source.open(QIODevice::ReadOnly);
    boardFile = dir.filePath("tomtura.lst");
    QFile copy(boardFile);
    copy.open(QIODevice::WriteOnly);
    copy.write(source.readAll() + "\n" + ljud);
    copy.close();
    game = std::make_unique<Game>(TextCatalogue::Load(boardFile.toStdString()), ui, 5);
    QImage sheet(kSheetWidth, kSheetHeight, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    picture.SetSheet(sheet);
  }
  QString Stored(const char* key) const {
    return QString::fromStdString(
        IniFile::Load(boardFile.toStdString()).GetString("LJUD", key, "missing"));
  }
};

template <typename T>
T* Control(QWidget& dialog, int id) {
  T* control = FindControl<T>(&dialog, id);
  if (control == nullptr) qFatal("control %d missing", id);
  return control;
}

QList<int> Pieces(NewGameDialog& dialog) {
  auto* list = Control<QComboBox>(dialog, NewGameDialog::kPiece);
  QList<int> tokens;
  for (int i = 0; i < list->count(); ++i) tokens << list->itemData(i).toInt();
  return tokens;
}

// Types a player into the dialog and presses Enter, as a person would.
void Enter(NewGameDialog& dialog, const QString& name, const QString& password = {}) {
  if (!dialog.isVisible()) {
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  }
  auto* nameEdit = Control<QLineEdit>(dialog, NewGameDialog::kName);
  nameEdit->selectAll();
  QTest::keyClicks(nameEdit, name);
  auto* passwordEdit = Control<QLineEdit>(dialog, NewGameDialog::kPassword);
  passwordEdit->clear();
  QTest::keyClicks(passwordEdit, password);
  QTest::keyClick(nameEdit, Qt::Key_Return);
}

}  // namespace

class NewGameDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void enterAddsPlayersUpToSix();
  void storedRosterIsOfferedAndWrittenBack();
  void networkAndExit();
};

void NewGameDialogTest::enterAddsPlayersUpToSix() {
  Setup s;
  NewGameDialog dialog(*s.game, s.picture, nullptr);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  auto* slot = Control<QLabel>(dialog, NewGameDialog::kSlotNumber);
  auto* start = Control<QPushButton>(dialog, NewGameDialog::kStart);
  auto* next = Control<QWidget>(dialog, NewGameDialog::kNextSlot);
  auto* previous = Control<QWidget>(dialog, NewGameDialog::kPreviousSlot);
  QCOMPARE(slot->text(), QString("1"));
  QVERIFY(!start->isEnabled() && !next->isEnabled() && !previous->isEnabled());
  QCOMPARE(Pieces(dialog).size(), 10);

  const QStringList names = {"Anna", "Bo", "Cia", "Dan", "Eva", "Fia"};
  for (int i = 0; i < names.size(); ++i) {
    Enter(dialog, names[i], "pw");
    QCOMPARE(start->isEnabled(), i >= 1);
  }
  const GameState& state = s.game->state;
  QCOMPARE(state.playerCount, 6);
  QCOMPARE(slot->text(), QString("6"));
  QVERIFY(!next->isEnabled());
  QVERIFY(previous->isEnabled());
  QCOMPARE(Pieces(dialog), (QList<int>{5, 6, 7, 8, 9}));
  QCOMPARE(QString::fromStdString(state.players[3].password.utf8()), QString("pw"));
  QCOMPARE(QApplication::focusWidget(), Control<QWidget>(dialog, NewGameDialog::kName));

  // The computer's box disables the password, and no password is stored for it.
  QTest::mouseClick(previous, Qt::LeftButton);
  QCOMPARE(slot->text(), QString("5"));
  auto* computer = Control<QCheckBox>(dialog, NewGameDialog::kComputer);
  computer->setChecked(true);
  QVERIFY(!Control<QLineEdit>(dialog, NewGameDialog::kPassword)->isEnabled());
  Control<QPushButton>(dialog, NewGameDialog::kAddPlayer)->click();
  QCOMPARE(int(state.players[4].isComputer), 1);
  QCOMPARE(s.Stored("1"), QString("missing"));  // saving is off: no roster
}

void NewGameDialogTest::storedRosterIsOfferedAndWrittenBack() {
  Setup s("[LJUD]\nSparaSpelare=1\n1=3,,0,Eva\n2=7,,1,Dator\n3=1,,0,Ola\n");
  NewGameDialog dialog(*s.game, s.picture, nullptr);
  QCOMPARE(Control<QLineEdit>(dialog, NewGameDialog::kName)->text(), QString("Eva"));
  dialog.NextSlot();
  QVERIFY(Control<QCheckBox>(dialog, NewGameDialog::kComputer)->isChecked());
  dialog.NextSlot();
  Enter(dialog, "Olle");
  // A player typed but not yet added joins at Start rather than being dropped.
  QTest::keyClicks(Control<QLineEdit>(dialog, NewGameDialog::kName), "Pia");
  Control<QPushButton>(dialog, NewGameDialog::kStart)->click();
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QVERIFY(!dialog.exitRequested());
  QCOMPARE(s.game->state.playerCount, 4);
  QCOMPARE(s.Stored("3"), QString("1,,0,Olle"));
  QCOMPARE(s.Stored("4"), QString("0,,0,Pia"));
  QCOMPARE(s.Stored("5"), QString());
}

void NewGameDialogTest::networkAndExit() {
  Setup s;
  NewGameDialog dialog(*s.game, s.picture, nullptr);
  Control<QPushButton>(dialog, NewGameDialog::kNetwork)->click();
  QCOMPARE(s.ui.messages, 1);
  QVERIFY(dialog.result() != int(QDialog::Accepted));
  Control<QPushButton>(dialog, NewGameDialog::kExit)->click();
  QVERIFY(dialog.exitRequested());
}

QTEST_MAIN(NewGameDialogTest)
#include "new_game_dialog_test.moc"
