// SPDX-License-Identifier: GPL-3.0-or-later
// The main window in a real Qt event loop (offscreen): what it does with the core's verdicts on
// commands, keys, confirmations, options in the board file, the layout rules, saving and loading.
#include <QAction>
#include <QListView>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

#include "data/text_ids.h"
#include "store/settings.h"
#include "test_suites.h"
#include "ui/board_view.h"
#include "ui/command_button.h"
#include "ui/log_pane.h"
#include "ui/main_layout.h"
#include "ui/new_game_dialog.h"
#include "ui/play_window.h"
#include "ui/player_panel.h"
#include "ui/question_dialog.h"
#include "window_fixture.h"

using namespace tomtura;

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void onlyProgressThatIsNotSavedIsAskedAbout();
  void aQuestionLeavesTheWindowToBeLookedAt();
  void addPlayerClosedWithTooFewPlayersChangesNothing();
  void anUnusableBackgroundOffersTheButtonsItsTextSpeaksOf();
  void optionsWrittenAtOnceButNotAtStartUp();
  void allowedCommandsRunAndTimersWaitForDialogs();
  void saveAndLoadThroughTheMenu();
  void childrenShareTheRoomBoardFirst();
  void logPaneHiddenByDefaultAndNewestFirst();
  void theWindowMakesRoomAndRemembersItsPlace();
  void soundAndMusicOffSetNothingUpUntilAskedFor();
};

// Exit and New Game ask only while the game has progress that is not in a file: after a save or
// a load nothing is lost, after a deal or a throw it is.
void MainWindowTest::onlyProgressThatIsNotSavedIsAskedAbout() {
  Harness h;
  h.Start({0, 1});
  h.game->state.properties[1].owner = 0;
  h.chosenFile = h.dir.filePath("game.tom");
  h.answer = QMessageBox::Cancel;
  const auto asks = [&](const std::function<void()>& command) {
    h.ForgetBoxes();
    command();
    return h.shown == QStringList{h.Text(kTextDiscardGame)};
  };
  bool closed = false;
  const auto exit = [&] {
    QCloseEvent close;
    QApplication::sendEvent(h.window.get(), &close);
    closed = close.isAccepted();
  };
  const auto newGame = [&] { h.window->OnCommand(kCmdNewGame); };
  h.playDialog = [](QDialog& dialog) {  // a deal: property 1 mortgaged
    if (auto* window = dynamic_cast<PlayWindow*>(&dialog)) window->deals().Mortgage(1);
    return int(PlayWindow::kOk);
  };

  h.window->OnCommand(kCmdSaveGame);
  QVERIFY(!asks(exit));
  QVERIFY(!asks(newGame));
  h.window->OnCommand(kCmdLoadGame);
  h.window->OnCommand(kCmdMortgage);
  QVERIFY(asks(newGame));
  QCOMPARE(h.game->state.properties[1].mortgaged, std::uint16_t{1});  // Cancel kept the game
  h.window->OnCommand(kCmdSaveGame);
  QVERIFY(!asks(exit));
  h.window->OnCommand(kCmdRoll);
  QVERIFY(asks(exit));
  QVERIFY(!closed);  // Cancel keeps the window and the game
  h.playDialog = {};
  h.answer = QMessageBox::Ok;
  newGame();
  QCOMPARE(int(h.game->state.properties[1].owner), int(kNobody));
  QVERIFY(!h.game->state.unsavedProgress);
}

// A question stands beside the window, which can still be looked at: the board scrolls under the
// mouse, while a command given there is refused with a beep (a menu option keeping its mark),
// and a key typed into the question is not taken for the window's shortcut.
void MainWindowTest::aQuestionLeavesTheWindowToBeLookedAt() {
  Harness h;
  QVERIFY(h.Start({0, 1}, true));
  QSignalSpy commands(h.window.get(), &MainWindow::CommandReceived);
  // Under a modal dialog too a key is the dialog's; that a key is posted once is the statistics
  // key's (tests/ui/statistics_window_test.cpp).
  bool dialogShown = false;
  h.ui.SetModalRunner([&](QDialog& dialog) {
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    // The key goes where a person's key would: to the focus inside the dialog.
    dialog.activateWindow();
    dialogShown = QTest::qWaitFor([&] { return dialog.isAncestorOf(qApp->focusWidget()); });
    if (dialogShown) QTest::keyClick(QApplication::focusWidget(), Qt::Key_S);
    QTest::qWait(20);
    dialog.hide();
    return int(QMessageBox::Ok);
  });
  h.window->OnCommand(kCmdAbout);
  QVERIFY(dialogShown);

  if (h.window->stretchBoard()) h.window->OnCommand(kCmdStretch);
  h.window->resize(520, 420);
  BoardView& board = h.window->boardView();
  QTRY_VERIFY(board.maxScroll().width() > 0 && board.maxScroll().height() > 0);
  h.ui.SetModalRunner({});  // the dialogs run as a person sees them
  QAction* sound = h.window->action(kCmdSound);
  const bool soundOn = sound->isChecked();
  const int beeps = h.ui.beepCount();
  const auto openQuestion = [] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* open = qobject_cast<QuestionDialog*>(w); open && open->isVisible()) return open;
    }
    return static_cast<QuestionDialog*>(nullptr);
  };
  QTimer::singleShot(5000, h.window.get(), [&] {  // a failing test still ends
    if (QuestionDialog* question = openQuestion()) question->PressButton2();
  });
  QPoint before, after;
  QTimer::singleShot(0, h.window.get(), [&] {
    QuestionDialog* question = openQuestion();
    if (!QTest::qWaitFor([&] { return question && QApplication::activeWindow() == question; })) {
      return;
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S);
    QTest::qWait(20);  // a shortcut would have been posted
    QTest::mouseClick(h.window->commandButton(kCmdRoll), Qt::LeftButton);
    sound->trigger();
    QWidget* view = board.viewport();
    before = board.scrollOffset();
    const QPoint from = view->rect().center();
    const QPoint to = from + QPoint(before.x() > 0 ? 40 : -40, before.y() > 0 ? 40 : -40);
    QTest::mousePress(view, Qt::LeftButton, {}, from);
    QTest::mouseMove(view, to);
    QTest::mouseRelease(view, Qt::LeftButton, {}, to);
    after = board.scrollOffset();
    question->PressButton1();
  });
  QCOMPARE(h.game->referee.AskQuestion("Vill du köpa?", true), 1);
  QCOMPARE(commands.count(), 3);  // About, Roll and Sound; the keys stayed the dialogs'
  QCOMPARE(h.ui.beepCount() - beeps, 2);
  QCOMPARE(sound->isChecked(), soundOn);
  QVERIFY(after != before);
}

// Add player closed with fewer than two players leaves the game going with its players as
// they were, however the dialog had changed them.
void MainWindowTest::addPlayerClosedWithTooFewPlayersChangesNothing() {
  Harness h;
  h.Start({0, 1, 0});
  GameState& state = h.game->state;
  state.properties[4].owner = 2;
  const PlayerTable players = state.players;
  h.playDialog = [](QDialog& dialog) {
    auto* newGame = dynamic_cast<NewGameDialog*>(&dialog);
    if (newGame == nullptr) return int(QDialog::Rejected);
    newGame->RemovePlayer();
    newGame->RemovePlayer();
    newGame->reject();
    return newGame->result();
  };
  h.window->OnCommand(kCmdAddPlayer);
  QCOMPARE(state.playerCount, 3);
  QVERIFY(state.players == players);
  QCOMPARE(state.properties[4].owner, std::int16_t{2});
}

// A picture that cannot be read is only reported, under OK; one of another size is asked about
// with Yes and No, and No keeps the board as it was.
void MainWindowTest::anUnusableBackgroundOffersTheButtonsItsTextSpeaksOf() {
  Harness h;
  h.Start({0, 1});
  const QString junk = h.dir.filePath("junk.bmp");
  const QString small = h.dir.filePath("small.bmp");
  QVERIFY(WriteFile(junk, "no picture"));
  QVERIFY(QImage(40, 30, QImage::Format_RGB32).save(small, "BMP"));
  h.answer = QMessageBox::No;
  for (const QString& path : {junk, small}) {
    h.chosenFile = path;
    h.window->OnCommand(kCmdLoadBackground);
  }
  QCOMPARE(h.shown, (QStringList{h.Text(kTextPictureError), h.Text(kTextPictureWrongSize)}));
  QCOMPARE(h.buttons, (QList<QMessageBox::StandardButtons>{QMessageBox::Ok,
                                                           QMessageBox::Yes | QMessageBox::No}));
  QVERIFY(!h.shown[0].contains("Ja"));  // an OK alone does not ask for a Yes
  QVERIFY(h.picture.hasStandardSize());
}

// Stored options are shown in the menu at start-up without being written back; a toggle in the
// menu is written at once, the first-lap rule's held until the next game.
void MainWindowTest::optionsWrittenAtOnceButNotAtStartUp() {
  Harness h("\n[LJUD]\nVisaL=00\nLjud=5\n");
  QCOMPARE(h.window->playerPanel().showCompanies(), false);
  QVERIFY(h.window->action(kCmdHideCompanies)->isChecked());
  QCOMPARE(h.StoredOption("VisaL"), QString("00"));
  QVERIFY(h.window->action(kCmdSound)->isChecked());  // 5 counts as on

  h.window->action(kCmdSound)->trigger();
  QCOMPARE(h.StoredOption("Ljud"), QString("0"));
  QCOMPARE(h.game->state.settings.soundOn, 0);
  QVERIFY(!h.window->action(kCmdSound)->isChecked());

  h.window->action(kCmdHideCompanies)->trigger();
  QCOMPARE(h.StoredOption("VisaL"), QString("1"));
  QCOMPARE(h.window->playerPanel().showCompanies(), true);

  // A game keeps the first-lap rule it began with; a change during a game says so, and holds
  // from the next game. Without a game there is nothing to say.
  h.window->OnCommand(kCmdFirstLap);
  QVERIFY(h.shown.isEmpty());
  h.window->OnCommand(kCmdFirstLap);
  h.Start({0, 1});
  GameState& state = h.game->state;
  const auto firstLap = state.firstLap;
  QCOMPARE(firstLap[0], std::uint16_t{257});
  h.window->OnCommand(kCmdFirstLap);
  QCOMPARE(state.settings.firstLapRule, 0);
  QCOMPARE(h.icons, QList<QMessageBox::Icon>({QMessageBox::Information}));
  QVERIFY(h.shown.first().startsWith("The first-lap rule changes from the next game"));
  QVERIFY(state.firstLap == firstLap);
  h.window->StartNewGame();
  QCOMPARE(state.firstLap[0], std::uint16_t{0});

  // Turning "Save players" on stores the roster at once.
  h.window->action(kCmdSavePlayers)->trigger();
  QCOMPARE(h.StoredOption("SparaSpelare"), QString("1"));
  QVERIFY(h.StoredOption("2").endsWith(",1,P2"));
}

// Which command fits is the core's to say (tests/rules/commands_test.cpp); a refused one only
// beeps (aQuestionLeavesTheWindowToBeLookedAt). One allowed to the person on turn opens the play
// window on the command's page, without a beep. The game's timers wait while a dialog is open.
void MainWindowTest::allowedCommandsRunAndTimersWaitForDialogs() {
  Harness h;
  h.Start({0, 1});
  QCOMPARE(h.game->state.turnPhase, TurnPhase::AwaitRoll);
  int page = -1;
  h.playDialog = [&](QDialog& dialog) {
    if (auto* window = dynamic_cast<PlayWindow*>(&dialog)) page = window->currentPage();
    return PlayWindow::kCancel;
  };
  const int before = h.ui.beepCount();
  h.window->OnCommand(kCmdUnmortgage);
  QCOMPARE(page, 3);
  QCOMPARE(h.ui.beepCount(), before);
  QVERIFY(!h.ui.diceTimer().ticking() && !h.ui.walkTimer().ticking());  // waiting for input

  h.window->OnCommand(kCmdRoll);
  QVERIFY(h.ui.diceTimer().ticking());
  bool heldInside = false;
  const int frame = h.game->state.diceFrame;
  h.ui.SetModalRunner([&](QDialog&) {
    QTest::qWait(250);  // longer than two dice ticks
    heldInside = h.ui.modalOpen() && h.ui.diceTimer().running() && !h.ui.diceTimer().ticking();
    return int(QMessageBox::Ok);
  });
  h.window->OnCommand(kCmdAbout);
  QVERIFY(heldInside);
  QCOMPARE(h.game->state.diceFrame, frame);
  QVERIFY(h.ui.diceTimer().ticking());
}

// The file chooser, the questions and the refusal box around saving and loading, and the new-game
// dialog's own loading; the saved game itself is the core's (tests/store/saved_game_test.cpp).
void MainWindowTest::saveAndLoadThroughTheMenu() {
  Harness h;
  h.Start({0, 1});
  GameState& state = h.game->state;
  state.players[1].money = 4321;
  // The desktop's usual keys are the items' own; the file dialogs open in the documents folder.
  QStringList keys;
  for (int command : {kCmdNewGame, kCmdLoadGame, kCmdSaveGame, kCmdExit}) {
    keys << h.window->action(command)->shortcut().toString();
  }
  QCOMPARE(keys, QStringList({"Ctrl+N", "Ctrl+O", "Ctrl+S", "Ctrl+Q"}));
  QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!QFileInfo(documents).isDir()) documents = QDir::homePath();
  h.chosenFile = h.dir.filePath("game");
  h.window->OnCommand(kCmdSaveGame);
  QCOMPARE(h.fileDialogFolder, QDir(documents).absolutePath());
  // Saving under the same bare name again asks before game.tom is replaced.
  state.players[1].money = 1;
  h.answer = QMessageBox::No;
  h.window->OnCommand(kCmdSaveGame);
  QCOMPARE(h.shown.size(), 1);

  h.answer = QMessageBox::Ok;
  h.shown.clear();
  state.unsavedProgress = true;
  h.chosenFile = h.dir.filePath("game.tom");
  h.window->OnCommand(kCmdLoadGame);
  QCOMPARE(h.shown, QStringList({h.Text(kTextDiscardGame)}));
  QCOMPARE(state.players[1].money, 4321);

  // A file that is not a saved game is refused with a message.
  QVERIFY(WriteFile(h.dir.filePath("junk.tom"), QByteArray(100, 'x')));
  h.shown.clear();
  state.unsavedProgress = false;
  h.chosenFile = h.dir.filePath("junk.tom");
  h.window->OnCommand(kCmdLoadGame);
  QCOMPARE(h.shown.size(), 1);

  // At a first start there is no game to load over: the new-game dialog opens a saved game
  // itself. A file not chosen leaves the dialog as it was; one chosen is the game.
  state.players[1].money = 1;
  state.playerCount = 0;
  bool stayedOpen = false;
  h.playDialog = [&](QDialog& dialog) {
    auto* newGame = dynamic_cast<NewGameDialog*>(&dialog);
    if (newGame == nullptr) return int(QDialog::Rejected);
    h.chosenFile.clear();
    newGame->OpenGame();
    stayedOpen = newGame->result() == 0 && !newGame->gameOpened();
    h.chosenFile = h.dir.filePath("game.tom");
    newGame->OpenGame();
    return newGame->result();
  };
  QCOMPARE(h.window->RunNewGameDialog(), MainWindow::NewGameChoice::Opened);
  QVERIFY(stayedOpen);
  QCOMPARE(state.playerCount, 2);
  QCOMPARE(state.players[1].money, 4321);
}

// The board has its room first; the panel has the rest up to what it wants and gives way down to
// one column before the board does; room beyond both goes to the board. The splitter never
// leaves either side below 2 pixels.
void MainWindowTest::childrenShareTheRoomBoardFirst() {
  struct Case {
    QSize client;
    ChildNeeds needs;
    int panel, board;
  };
  const Case cases[] = {
      {{1110, 650}, {583, 534, 178}, 521, 583},   // six players and the log on 1366 x 768
      {{650, 520}, {453, 534, 178}, 191, 453},    // 800 x 560 with the log given way
      {{680, 600}, {689, 178, 178}, 178, 496},    // two players in a narrow window
      {{1000, 600}, {689, 534, 178}, 305, 689},   // the panel gives way first
      {{1200, 600}, {689, 178, 178}, 178, 1016},  // room to spare goes to the board
  };
  for (const Case& c : cases) {
    const ChildLayout got = ArrangeChildren(c.client, c.needs);
    const int height = c.client.height() - 67;
    QCOMPARE(got.panel, QRect(2, 42, c.panel, height));
    QCOMPARE(got.board, QRect(4 + c.panel, 42, c.board, height));
  }
  const ChildLayout start = ArrangeChildren({800, 600}, {689, 178, 178});
  QVERIFY(!DragSplitter(start, start.board.width() - 1));
  QVERIFY(!DragSplitter(start, -start.panel.width() + 1));
  const auto dragged = DragSplitter(start, start.board.width() - 2);
  QVERIFY(dragged);
  QCOMPARE(dragged->board.width(), 2);
  QCOMPARE(dragged->board.left(), dragged->panel.right() + 3);
}

// Hidden until asked for, newest line first; hidden again, the children get their room back.
void MainWindowTest::logPaneHiddenByDefaultAndNewestFirst() {
  Harness h;
  QVERIFY(h.Start({0, 1}, true));
  LogPane& pane = h.window->logPane();
  QVERIFY(pane.isHidden());
  const ChildLayout hidden = h.window->childLayout();

  h.game->Log(1, "P2 köpte Torget");
  h.window->OnCommand(kCmdGameLog);
  QVERIFY(pane.isVisible());
  QAbstractItemModel* model = pane.list().model();
  QCOMPARE(model->rowCount(), 2);  // after the new game's own line
  QCOMPARE(model->index(0, 0).data().toString(), QString("P2 köpte Torget"));

  // A line wider than the pane wraps whole: its last words are written on its last row.
  h.game->Log(1, "P2 köpte Kvarnbacken för 1 100 kr av P1 och byggde tre hus på Kvarnbacken");
  h.window->RefreshLog();
  QListView& list = pane.list();
  QTRY_VERIFY(list.visualRect(model->index(0, 0)).height() > 2 * list.fontMetrics().height());
  const QRect row = list.visualRect(model->index(0, 0));
  const QImage rows = list.viewport()->grab(row).toImage();
  int inkInLastRow = 0;
  for (int y = rows.height() - list.fontMetrics().height(); y < rows.height(); ++y) {
    for (int x = 0; x < rows.width(); ++x) inkInLastRow += qGray(rows.pixel(x, y)) < 80 ? 1 : 0;
  }
  QVERIFY(inkInLastRow > 0);

  h.window->OnCommand(kCmdGameLog);
  QTRY_VERIFY(pane.isHidden());
  QTRY_COMPARE(h.window->childLayout(), hidden);
}

// The game log widens the window instead of squeezing the board; six players widen it as far as
// the screen goes, and the panel gives way to the board beyond; the place, the stretched board
// and the log come back at the next start.
void MainWindowTest::theWindowMakesRoomAndRemembersItsPlace() {
  auto h = std::make_unique<Harness>();
  MainWindow& window = *h->window;
  window.move(0, 0);
  window.resize(500, 450);  // the offscreen screen is 800 x 600
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  const int boardWidth = window.childLayout().board.width();
  const int windowWidth = window.width();
  window.OnCommand(kCmdGameLog);
  QTRY_VERIFY(window.width() > windowWidth);
  QTRY_VERIFY(window.childLayout().board.width() >= boardWidth);

  h->Start({0, 1, 1, 1, 1, 1});
  QTRY_COMPARE(window.frameGeometry().width(), 800);
  QCOMPARE(window.childLayout().panel.width(), kPanelColumnWidth);
  QVERIFY(window.childLayout().board.width() > 400);

  window.OnCommand(kCmdStretch);
  const QSize size = window.size();
  QVERIFY(window.close());
  const std::optional<WindowPlace> stored =
      ReadWindowPlace(IniFile::Load(h->boardFile.toStdString()));
  QVERIFY(stored && stored->stretched && stored->gameLog);

  h->window.reset();
  h->window = std::make_unique<MainWindow>(*h->game, h->ui, h->picture, *h->sound, h->dir.path());
  h->window->RestorePlace();
  QCOMPARE(h->window->size(), size);
  QVERIFY(h->window->stretchBoard());
  QVERIFY(h->window->action(kCmdGameLog)->isChecked());
}

// The first frame sets the sound up only when sound or music is on; otherwise the first effect
// asked for later does it there and then, instead of waiting for a set-up that never comes.
void MainWindowTest::soundAndMusicOffSetNothingUpUntilAskedFor() {
  Harness h("\n[LJUD]\nLjud=0\nMusik=0\n");
  h.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(h.window.get()));
  QTRY_VERIFY(!h.window->windowIcon().isNull());  // the first frame's work is done
  QVERIFY(!h.sound->ready() && !h.sound->settingUp());
  h.sound->PlaySoundEffect(1, true);
  QVERIFY(h.sound->ready());
}

TOMTURA_TEST_SUITE(MainWindowTest);
#include "main_window_test.moc"
