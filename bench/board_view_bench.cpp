// The cost of the board view's repaints in an offscreen window: a walk step (the rectangle the
// token touched), an ordinary full repaint (one copy and the tokens) and a rebuild of the board
// with every mark. Built only with the front end.
#if __has_include(<QApplication>)

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>
#include <memory>

#include "headless/headless_front_end.h"
#include "rules/game.h"
#include "ui/board_picture.h"
#include "ui/board_view.h"

namespace tomtura {
namespace {

// The benchmarks share the process with others, so the application may exist already.
void EnsureApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "tomtura-bench";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
}

// A sheet with the real board picture when there is one, else plain colours of the same size.
QImage BenchSheet() {
  if (auto file = BoardPicture::LoadBitmapFile(TOMTURA_ASSETS_DIR "/tomtura.bmp")) return *file;
  QImage sheet(kSheetWidth, kSheetHeight, QImage::Format_RGB32);
  sheet.fill(Qt::white);
  QPainter p(&sheet);
  p.fillRect(sheet::kBoard, QColor(0, 150, 0));
  for (int t = 0; t < 10; ++t)
    p.fillRect(sheet::Token(t).adjusted(4, 4, -4, -4), QColor(t * 20, 0, 0));
  return sheet;
}

// Six players round the board; half of the properties owned, some built on or mortgaged.
struct BenchBoard {
  HeadlessFrontEnd ui;
  Game game{TextCatalogue(), ui, 7};
  BoardPicture picture;
  std::unique_ptr<BoardView> view;

  explicit BenchBoard(QSize size, bool stretched) {
    EnsureApplication();
    picture.SetSheet(BenchSheet());
    GameState& state = game.state;
    state.playerCount = kMaxPlayers;
    for (int i = 0; i < kMaxPlayers; ++i) {
      state.players[i].token = std::int16_t(i);
      state.players[i].tokenX = std::int16_t(29 + 57 * (i + 1));
      state.players[i].tokenY = 29;
      state.players[i].position = std::int16_t(i + 1);
    }
    for (int p = 0; p < kBoardPropertyCount; p += 2) {
      state.properties[p].owner = std::int16_t(p % kMaxPlayers);
      state.properties[p].houses = std::int16_t(p < kStreetCount ? p % 6 : 0);
      state.properties[p].mortgaged = p % 5 == 0;
    }
    view = std::make_unique<BoardView>(game, picture);
    view->setFrameShape(QFrame::NoFrame);  // `size` is the client size
    view->resize(size);
    view->SetStretched(stretched);
    view->show();
    QCoreApplication::processEvents();
  }
};

// One step of the current token along the top edge and back, painted as the walk paints it:
// the view follows the token, then the event loop paints what became dirty.
void WalkStep(benchmark::State& run, QSize size, bool stretched) {
  BenchBoard board(size, stretched);
  // From square 5 to 6 and back: far enough along for a scrolled view to follow each step.
  Player& walker = board.game.state.players[0];
  walker.tokenX = 29 + 57 * 5;
  bool forwards = true;
  for (auto _ : run) {
    const int fromX = walker.tokenX;
    walker.tokenX = std::int16_t(walker.tokenX + (forwards ? 57 : -57));
    forwards = !forwards;
    board.view->TokenStepped(fromX, walker.tokenY);
    QCoreApplication::processEvents();  // the scroll, if any, and the step's rectangle
  }
}

void BM_WalkStepRepaint(benchmark::State& run) {
  WalkStep(run, {685, 685}, false);
}
void BM_WalkStepRepaintScrolled(benchmark::State& run) {
  WalkStep(run, {400, 400}, false);
}
void BM_WalkStepRepaintStretched(benchmark::State& run) {
  WalkStep(run, {900, 900}, true);
}

void BM_OrdinaryRepaint(benchmark::State& run) {
  BenchBoard board({685, 685}, false);
  for (auto _ : run) {
    board.view->viewport()->update();
    QCoreApplication::processEvents();
  }
}

void BM_FullRebuild(benchmark::State& run) {
  BenchBoard board({685, 685}, false);
  for (auto _ : run) {
    board.view->MarkDirty();
    QCoreApplication::processEvents();
  }
}

BENCHMARK(BM_WalkStepRepaint);
BENCHMARK(BM_WalkStepRepaintScrolled);
BENCHMARK(BM_WalkStepRepaintStretched);
BENCHMARK(BM_OrdinaryRepaint);
BENCHMARK(BM_FullRebuild);

}  // namespace
}  // namespace tomtura

#endif
