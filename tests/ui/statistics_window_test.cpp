// The statistics window (offscreen): the chart and the table of a played game's history in the
// edition's money, its exports, the note of a history begun at a load, and how the main window
// opens it: menu, key, and the offer at the end of a game.
#include <QLabel>
#include <QLineSeries>
#include <QTableWidget>
#include <QtTest>

#include "headless/headless_front_end.h"
#include "rules/commands.h"
#include "test_suites.h"
#include "ui/statistics_window.h"
#include "window_fixture.h"

using namespace tomtura;

class StatisticsWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void chartAndTableShowTheHistory();
  void mainWindowOpensSavesAndLoadsThem();
};

// The tokens' colours, taken from the board picture for the lines, no two of the ten alike; the
// chart and the table of the history in the edition's money; the exports.
void StatisticsWindowTest::chartAndTableShowTheHistory() {
  Harness h;
  QVERIFY(h.picture.Load(TOMTURA_ASSETS_DIR "/tomtura.bmp"));
  for (int a = 0; a < 10; ++a) {
    for (int b = a + 1; b < 10; ++b)
      QVERIFY(TokenColour(h.picture, a) != TokenColour(h.picture, b));
  }
  // A game of three computer players, played headless for 60 turns on the harness's board.
  HeadlessFrontEnd headless;
  Game played(h.game->texts, headless, 3);
  headless.Attach(played);
  SeatComputerPlayers(played, 3);
  headless.Run(60);
  const GameHistory& history = played.history;
  StatisticsWindow window(played, h.picture, h.ui);

  QCOMPARE(window.series().size(), 3);
  for (int p = 0; p < 3; ++p) {
    const QList<QPointF> points = window.series()[p]->points();
    QCOMPARE(points.size(), qsizetype(history.points().size()));
    QCOMPARE(points.back(),
             QPointF(history.points().back().turn, double(history.points().back().worth[p])));
    QCOMPARE(window.series()[p]->name(), QString("Dator %1").arg(p + 1));
  }
  QVERIFY(!window.note()->isVisibleTo(&window));

  QTableWidget* table = window.table();
  QCOMPARE(table->columnCount(), 3);
  QCOMPARE(table->rowCount(), 16);
  QCOMPARE(table->verticalHeaderItem(2)->text(), QString("Rent paid"));
  QString received = "Rent received";
  for (int p = 0; p < 3; ++p) {
    const std::string rent = h.game->texts.money().Write(history.tallies()[p].rentPaid);
    QCOMPARE(table->item(2, p)->text(), QString::fromStdString(rent));
    QCOMPARE(table->item(13, p)->text(), QString::number(history.tallies()[p].deals));
    received += "," + QString::number(history.tallies()[p].rentReceived);
  }

  const QStringList csv = window.TableCsv().split('\n');
  QCOMPARE(csv[0], QString(",Dator 1,Dator 2,Dator 3"));
  QCOMPARE(csv[4], received);

  const QString point = window.PointText(1);
  QVERIFY2(point.startsWith("Turn 1 (Dator 1)\nDator 1: worth "), qPrintable(point));
  QVERIFY(window.PointText(0).startsWith("Start\n"));

  // The exports: the picture, and the table as shown.
  window.resize(800, 600);
  const QString png = h.dir.filePath("chart.png"), csvFile = h.dir.filePath("table.csv");
  QVERIFY(window.SaveChart(png));
  QVERIFY(window.SaveTable(csvFile));
  QCOMPARE(FileBytes(png).left(8), QByteArray("\x89PNG\r\n\x1a\n"));
  QCOMPARE(QString::fromUtf8(FileBytes(csvFile)), window.TableCsv());
  QVERIFY(!window.SaveTable(h.dir.path()));  // a folder cannot be written over
}

// The main window opens the statistics by menu, key and at the end, and saves and loads them
// with the game.
void StatisticsWindowTest::mainWindowOpensSavesAndLoadsThem() {
  Harness h;
  int opened = 0;
  h.playDialog = [&](QDialog& dialog) {
    opened += qobject_cast<StatisticsWindow*>(&dialog) != nullptr ? 1 : 0;
    return int(QDialog::Rejected);
  };
  const int beeps = h.ui.beepCount();
  h.window->OnCommand(kCmdStatistics);  // no game yet
  QCOMPARE(h.ui.beepCount(), beeps + 1);

  QVERIFY(h.Start({0, 1}, true));
  h.window->OnCommand(kCmdStatistics);
  QCOMPARE(opened, 1);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_T);
  QTRY_COMPARE(opened, 2);

  // Saving writes the statistics beside the game; loading takes them when they are there, and
  // begins them at the load when they are not, which the window then says.
  h.game->state.currentPlayer = 1;
  h.game->PassTurnTo(0);
  h.chosenFile = h.dir.filePath("game.tom");
  h.window->OnCommand(kCmdSaveGame);
  h.window->StartNewGame();
  QCOMPARE(h.game->history.points().size(), std::size_t(1));
  h.window->OnCommand(kCmdLoadGame);
  QCOMPARE(h.game->history.start(), HistoryStart::NewGame);
  QCOMPARE(h.game->history.points().size(), std::size_t(2));
  QVERIFY(QFile::remove(h.dir.filePath("game.tom.stats")));
  h.window->OnCommand(kCmdLoadGame);
  QCOMPARE(h.game->history.start(), HistoryStart::Load);
  QCOMPARE(h.game->history.points().size(), std::size_t(1));
  StatisticsWindow window(*h.game, h.picture, h.ui);
  QVERIFY(window.note()->isVisibleTo(&window));
  QCOMPARE(window.series()[0]->count(), 1);

  // The end: offered, and opened only when the player wants it.
  h.game->state.turnPhase = TurnPhase::GameOver;
  h.answer = QMessageBox::No;
  h.ForgetBoxes();
  h.ui.Changed({Changes::kGameOver});
  QTRY_COMPARE(h.shown.size(), 1);
  QCOMPARE(opened, 2);
  h.answer = QMessageBox::Yes;
  h.ui.Changed({Changes::kGameOver});
  QTRY_COMPARE(opened, 3);
}

TOMTURA_TEST_SUITE(StatisticsWindowTest);
#include "statistics_window_test.moc"
