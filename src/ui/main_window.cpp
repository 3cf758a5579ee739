#include "ui/main_window.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>
#include <QTextStream>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

#include "data/text_ids.h"
#include "rules/game.h"
#include "sound/sound.h"
#include "store/history_file.h"
#include "store/roster.h"
#include "store/saved_game.h"
#include "ui/about_dialog.h"
#include "ui/balloon_tips.h"
#include "ui/board_picture.h"
#include "ui/board_view.h"
#include "ui/command_button.h"
#include "ui/fonts.h"
#include "ui/log_pane.h"
#include "ui/network_play.h"
#include "ui/new_game_dialog.h"
#include "ui/player_panel.h"
#include "ui/program_icon.h"
#include "ui/qt_front_end.h"
#include "ui/statistics_window.h"
#include "ui/text_window.h"

namespace tomtura {

// ---- Geometry --------------------------------------------------------------------------------

namespace {

constexpr int kMinClientSize = 40;
constexpr int kStatusHeight = 23;  // the status boxes stand in the bottom 23 pixels
constexpr int kStatusBottomGap = 2;
constexpr int kStatusTextIndent = 2;
constexpr int kButtonRowHeight = 40;
constexpr int kButtonTop = 6;
constexpr int kDieSize = 40;
constexpr QPoint kDie1Place(40, 2);
constexpr QPoint kDie2Place(80, 2);
constexpr int kSeparatorHeight = 2;
constexpr int kDieFaces = 6;
constexpr int kTumblingFrames = 6;
// The board fits beside the panel when the window opens, within most of the screen.
constexpr double kInitialScreenShare = 0.9;
constexpr int kLogPaneWidth = 220;
constexpr int kMinStretchedBoard = 300;

struct ButtonPlace {
  int command;
  int x;
};
// Left to right; the icon of button i is icon i of the sheet.
constexpr std::array<ButtonPlace, 7> kButtons = {{{kCmdRoll, 4},
                                                  {kCmdBuyFrom, 120},
                                                  {kCmdSellTo, 152},
                                                  {kCmdMortgage, 188},
                                                  {kCmdUnmortgage, 220},
                                                  {kCmdBuyHouse, 256},
                                                  {kCmdSellHouse, 288}}};

// Catalogue texts of the main window.

// The menu bar, top to bottom within each popup. An entry names its popup by title; the menu
// bar's popups come in the order of their first entries, a submenu where its entry stands.
constexpr int kMenuSeparator = 0;
constexpr int kMenuSubmenu = -1;  // the entry's text is the submenu's title
struct MenuEntry {
  const char* popup;
  int command;  // a command, kMenuSeparator or kMenuSubmenu
  const char* text = "";
  bool checkable = false;
  // The desktop's usual key, taken by the menu item itself (Ctrl+N and the like).
  const char* shortcut = nullptr;
  // The game's own one-letter key, shown beside the item; the window's key filter takes it.
  const char* letter = nullptr;
};
// The texts are translated where the menus are made, in the main window's context.
constexpr const char* kGameMenu = QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Game");
constexpr const char* kOptionsMenu = QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Options");
constexpr const char* kDisplayMenu = QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Display");
constexpr const char* kPlayMenu = QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Play");
constexpr const char* kHelpMenu = QT_TRANSLATE_NOOP("tomtura::MainWindow", "&?");
constexpr MenuEntry kMenu[] = {
    {kGameMenu, kCmdNewGame, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&New game"), false,
     "Ctrl+N"},
    {kGameMenu, kCmdAddPlayer, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Add player...")},
    {kGameMenu, kMenuSeparator},
    {kGameMenu, kCmdSaveGame, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Save game..."), false,
     "Ctrl+S"},
    {kGameMenu, kCmdLoadGame, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Load game..."), false,
     "Ctrl+O"},
    {kGameMenu, kMenuSeparator},
    {kGameMenu, kCmdStatistics, QT_TRANSLATE_NOOP("tomtura::MainWindow", "S&tatistics..."), false,
     nullptr, "T"},
    {kGameMenu, kMenuSeparator},
    {kGameMenu, kCmdExit, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Exit"), false, "Ctrl+Q"},

    {kOptionsMenu, kCmdSound, QT_TRANSLATE_NOOP("tomtura::MainWindow", "S&ound"), true},
    {kOptionsMenu, kCmdMusic, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Music"), true},
    {kOptionsMenu, kCmdStretch, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Stretch board"), true},
    {kOptionsMenu, kCmdHideCompanies, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Hide companies"),
     true},
    {kOptionsMenu, kCmdFastMoves, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Fast movement"), true},
    {kOptionsMenu, kCmdSavePlayers, QT_TRANSLATE_NOOP("tomtura::MainWindow", "Save &players"),
     true},
    {kOptionsMenu, kMenuSubmenu, kDisplayMenu},
    {kDisplayMenu, kCmdDefaultBackground,
     QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Default background")},
    {kDisplayMenu, kCmdLoadBackground,
     QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Load background...")},
    {kDisplayMenu, kCmdFlatButtons, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Flat buttons"),
     true},
    {kOptionsMenu, kMenuSeparator},
    {kOptionsMenu, kCmdAuction, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Auction"), true},
    {kOptionsMenu, kCmdFirstLap,
     QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Can't buy on first lap"), true},
    {kOptionsMenu, kMenuSeparator},
    {kOptionsMenu, kCmdGameLog, QT_TRANSLATE_NOOP("tomtura::MainWindow", "Game &log"), true},

    {kPlayMenu, kCmdRoll, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Roll"), false, nullptr, "S"},
    {kPlayMenu, kMenuSeparator},
    {kPlayMenu, kCmdBuyFrom, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Buy company from..."),
     false, nullptr, "K"},
    {kPlayMenu, kCmdSellTo, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Sell company to..."), false,
     nullptr, "G"},
    {kPlayMenu, kMenuSeparator},
    {kPlayMenu, kCmdMortgage, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Mortgage company..."),
     false, nullptr, "I"},
    {kPlayMenu, kCmdUnmortgage, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Unmortgage company..."),
     false, nullptr, "U"},
    {kPlayMenu, kMenuSeparator},
    {kPlayMenu, kCmdBuyHouse, QT_TRANSLATE_NOOP("tomtura::MainWindow", "Buy &house..."), false,
     nullptr, "P"},
    {kPlayMenu, kCmdSellHouse, QT_TRANSLATE_NOOP("tomtura::MainWindow", "Sell h&ouse..."), false,
     nullptr, "H"},
    {kPlayMenu, kMenuSeparator},
    {kPlayMenu, kCmdSendMessage, QT_TRANSLATE_NOOP("tomtura::MainWindow", "Se&nd message...")},

    {kHelpMenu, kCmdHelp, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Help...")},
    {kHelpMenu, kCmdRules, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&Rules...")},
    {kHelpMenu, kMenuSeparator},
    {kHelpMenu, kCmdAbout, QT_TRANSLATE_NOOP("tomtura::MainWindow", "&About...")},
};

}  // namespace

// ---- The client area -------------------------------------------------------------------------

// The main window's client area: it paints the background, the dice and the status boxes,
// holds the buttons and both children, and carries the splitter.
class MainClientArea : public QWidget {
 public:
  MainClientArea(MainWindow& window, QWidget* parent) : QWidget(parent), window_(window) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    window_.PaintClient(painter, event->rect());
    if (!painted_) {
      painted_ = true;
      // Start-up measurements end the program at its first frame, without closing windows.
      if (qEnvironmentVariableIsSet("TOMTURA_EXIT_AFTER_FIRST_FRAME")) {
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
      } else {
        QTimer::singleShot(0, this, [this] { window_.AfterFirstFrame(); });
      }
    }
  }
  void resizeEvent(QResizeEvent*) override { window_.ClientResized(size()); }
  void mouseMoveEvent(QMouseEvent* event) override {
    window_.ClientMouseMove(event->position().toPoint());
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) window_.ClientMousePress(event->position().toPoint());
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) window_.ClientMouseRelease();
  }
  void focusOutEvent(QFocusEvent*) override { window_.splitterDrag_ = false; }

 private:
  MainWindow& window_;
  bool painted_ = false;
};

// ---- Main window -----------------------------------------------------------------------------

MainWindow::MainWindow(Game& game, QtFrontEnd& ui, BoardPicture& picture, SoundEffects& sound,
                       QString dataDirectory, QWidget* parent)
    : QMainWindow(parent),
      game_(game),
      ui_(ui),
      picture_(picture),
      sound_(sound),
      dataDirectory_(std::move(dataDirectory)) {
  setWindowTitle(QString::fromStdString(game_.Text(kTextBoxTitle)));
  CreateMenu();
  CreateChildren();
  network_ = std::make_unique<NetworkPlay>(game_, ui_, *this);
  ui_.Attach(game_, *this, &sound_);
  // The sound is set up after the first frame; what the game plays before it waits for that.
  sound_.HoldUntilOpened();
  LoadOptions();
  qApp->installEventFilter(this);
  InstallTooltips(*this, game_);
}

MainWindow::~MainWindow() {
  qApp->removeEventFilter(this);
  network_.reset();
  ui_.Detach();
}

QWidget& MainWindow::clientArea() const {
  return *client_;
}

CommandButton* MainWindow::commandButton(int id) const {
  return buttons_.value(id);
}

ChildLayout MainWindow::childLayout() const {
  return {panel_->geometry(), boardView_->geometry()};
}

QAction* MainWindow::AddItem(QMenu* menu, int id, const char* text, bool checkable) {
  QAction* action = menu->addAction(tr(text));
  action->setData(id);
  action->setCheckable(checkable);
  connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
  actions_.insert(id, action);
  return action;
}

void MainWindow::CreateMenu() {
  // The popups by title: those of the menu bar, made at their first entry, and submenus.
  std::vector<std::pair<std::string_view, QMenu*>> popups;
  auto popup = [&](const char* title) {
    for (const auto& [known, menu] : popups) {
      if (known == title) return menu;
    }
    QMenu* menu = menuBar()->addMenu(tr(title));
    popups.emplace_back(title, menu);
    return menu;
  };
  for (const MenuEntry& entry : kMenu) {
    QMenu* menu = popup(entry.popup);
    if (entry.command == kMenuSeparator) {
      menu->addSeparator();
    } else if (entry.command == kMenuSubmenu) {
      popups.emplace_back(entry.text, menu->addMenu(tr(entry.text)));
    } else {
      if (entry.popup == kOptionsMenu) optionsMenu_ = menu;
      QAction* item = AddItem(menu, entry.command, entry.text, entry.checkable);
      if (entry.shortcut != nullptr) item->setShortcut(QKeySequence(entry.shortcut));
      // Shown only: the letter is taken by the key filter, which knows when it applies.
      if (entry.letter != nullptr) item->setText(item->text() + '\t' + entry.letter);
    }
  }
}

void MainWindow::SetEditions(const std::vector<Edition>& editions, const std::string& current) {
  if (optionsMenu_ == nullptr || editions.size() < 2) return;
  optionsMenu_->addSeparator();
  QMenu* menu = optionsMenu_->addMenu(tr("&Edition"));
  auto* group = new QActionGroup(menu);
  for (const Edition& edition : editions) {
    QAction* item = menu->addAction(QString::fromStdString(edition.name));
    item->setCheckable(true);
    item->setChecked(edition.language == current);
    item->setData(QString::fromStdString(edition.language));
    group->addAction(item);
    connect(item, &QAction::triggered, this, [this, edition, current] {
      if (edition.language != current) ChooseEdition(edition);
    });
  }
}

void MainWindow::ChooseEdition(const Edition& edition) {
  game_.texts.file().Write(kOptionsSection, kKeyEdition, edition.language);
  const QMessageBox::StandardButton answer =
      QMessageBox::question(this, tr("Tomtura"),
                            tr("%1 is played from the next start of Tomtura. Start it again now?")
                                .arg(QString::fromStdString(edition.name)));
  if (answer != QMessageBox::Yes || !close()) return;
  // The window closed, the game with it (asked about first when it had unsaved progress).
  QProcess::startDetached(QCoreApplication::applicationFilePath(), {});
}

void MainWindow::CreateChildren() {
  client_ = new MainClientArea(*this, this);
  setCentralWidget(client_);

  // The first size: the whole board beside a panel of two columns, where four players are seen
  // whole. On a screen too low for the board it is stretched to the height there is.
  constexpr int kFirstPanelWidth = 2 * kPanelColumnWidth;
  constexpr int kChrome = kChildTop + kStatusHeight + 6;
  QSize size(kFirstPanelWidth + 6 + kBoardSize + 4, kBoardSize + kChrome);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QSize available = screen->availableGeometry().size() * kInitialScreenShare -
                            QSize(0, menuBar()->sizeHint().height());
    if (size.height() > available.height()) {
      const int side = std::max(kMinStretchedBoard, available.height() - kChrome);
      size = QSize(kFirstPanelWidth + 6 + side + 4, side + kChrome);
      firstStretch_ = true;
    }
    size = size.boundedTo(available);
  }
  client_->resize(size);
  lastSize_ = size;
  resize(size + QSize(0, menuBar()->sizeHint().height()));

  for (std::size_t i = 0; i < kButtons.size(); ++i) {
    auto* button = new CommandButton(kButtons[i].command, static_cast<int>(i), picture_,
                                     options_.flatButtons, client_);
    button->setGeometry(kButtons[i].x, kButtonTop, CommandButton::kSize, CommandButton::kSize);
    const int id = kButtons[i].command;
    connect(button, &QAbstractButton::clicked, this, [this, id] { OnCommand(id); });
    buttons_.insert(id, button);
  }

  const ChildLayout layout = InitialLayout(size, kFirstPanelWidth - 18);
  panel_ = new PlayerPanel(game_, picture_, client_);
  panel_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  boardView_ = new BoardView(game_, picture_, client_);
  boardView_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  ApplyLayout(layout);

  client_->setFocusProxy(buttons_.value(kCmdRoll));

  logPane_ = new LogPane(game_, tr("Game log"), this);
  addDockWidget(Qt::RightDockWidgetArea, logPane_);
  logPane_->hide();
  connect(logPane_, &QDockWidget::visibilityChanged, this,
          [this](bool) { SetChecked(kCmdGameLog, !logPane_->isHidden()); });
}

void MainWindow::ApplyLayout(const ChildLayout& layout) {
  panel_->setGeometry(layout.panel);
  boardView_->setGeometry(layout.board);
}

// The options as stored; "VisaL" is applied through its own command, which lays the panel
// out and stores nothing.
void MainWindow::LoadOptions() {
  options_ = tomtura::ReadOptions(game_.texts.file());
  game_.state.settings = RuleSettingsOf(options_);
  options_.showCompanies = options_.showCompanies != 0 ? 0 : 1;
  OnCommand(kCmdHideCompanies, true);

  const RuleSettings& rules = game_.state.settings;
  SetChecked(kCmdFirstLap, rules.firstLapRule != 0);
  SetChecked(kCmdSound, rules.soundOn != 0);
  SetChecked(kCmdFlatButtons, options_.flatButtons != 0);
  SetChecked(kCmdMusic, rules.musicOn != 0);
  SetChecked(kCmdFastMoves, rules.fastMoves != 0);
  SetChecked(kCmdSavePlayers, options_.savePlayers != 0);
  SetChecked(kCmdAuction, rules.auctionOn != 0);
  UpdateMenus();
}

// The icon (seven sizes, for the task bar) and the sound (its device, the effects and the
// first piece, on a thread of their own) are not needed for the window's first frame. With
// sound and music off the sound is set up only when one of them is switched on.
void MainWindow::AfterFirstFrame() {
  setWindowIcon(ProgramIcon(dataDirectory_,
                            picture_.isNull() ? QPixmap() : picture_.DieFace(kDieFaces - 1)));
  const RuleSettings& rules = game_.state.settings;
  if (rules.soundOn != 0 || rules.musicOn != 0) {
    sound_.OpenInBackground(rules.musicOn != 0);
  } else {
    sound_.StopHolding();
  }
}

void MainWindow::SetChecked(int id, bool on) {
  if (QAction* item = actions_.value(id)) item->setChecked(on);
}

void MainWindow::ToggleOption(int id, int& option, std::string_view key) {
  option = option != 0 ? 0 : 1;
  SetChecked(id, option != 0);
  tomtura::WriteOption(game_.texts.file(), key, option);
}

// ---- Commands --------------------------------------------------------------------------------

void MainWindow::OnCommand(int id, bool fromProgram) {
  emit CommandReceived(id);
  const CommandCheck check = CheckCommand(game_, id);
  switch (check.verdict) {
    case CommandCheck::Verdict::Refuse:
      // An option refused from the menu keeps its check mark: the item has flipped its own.
      if (auto* item = qobject_cast<QAction*>(sender()); item != nullptr && item->isCheckable()) {
        item->setChecked(!item->isChecked());
      }
      ui_.Beep();
      return;
    case CommandCheck::Verdict::Login:
      if (id == kCmdRoll) {
        game_.Roll();  // the password again, as the Roll command asks it
      } else {
        game_.RetryLogin();
      }
      return;
    case CommandCheck::Verdict::InDebt:
      ui_.ShowMessage(game_.Text(check.text), MessageIcon::Error);
      return;
    case CommandCheck::Verdict::Confirm:
      if (!Confirm(check.text)) return;
      break;
    case CommandCheck::Verdict::Run:
      break;
  }
  GameState& state = game_.state;
  RuleSettings& rules = state.settings;
  if (check.page >= 0) {
    game_.referee.RunPlayWindow(check.page);
    return;
  }
  switch (check.command) {
    case kCmdAbout:
      ShowAbout();
      break;
    case kCmdNewGame:
      NewGameCommand();
      break;
    case kCmdExit:
      QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
      break;
    case kCmdAddPlayer:
      AddPlayerCommand();
      break;
    case kCmdRoll:
      game_.Roll();
      break;
    case kCmdSaveGame:
      SaveGameCommand();
      break;
    case kCmdLoadGame:
      LoadGameCommand();
      break;
    case kCmdSound:
      ToggleOption(id, rules.soundOn, kKeySound);
      break;
    case kCmdMusic:
      ToggleOption(id, rules.musicOn, kKeyMusic);
      if (rules.musicOn != 0) {
        sound_.PlayNextMusic();
      } else {
        sound_.StopMusic();
      }
      break;
    case kCmdStretch:
      SetStretch(!stretchBoard_);
      break;
    case kCmdHelp:
    case kCmdRules:
      ShowTextWindow(id == kCmdRules);
      break;
    case kCmdHideCompanies:
      ToggleShowCompanies(fromProgram);
      break;
    case kCmdDefaultBackground:
    case kCmdLoadBackground:
      LoadGraphics(id == kCmdLoadBackground);
      break;
    case kCmdFastMoves:
      ToggleOption(id, rules.fastMoves, kKeyFastMoves);
      break;
    case kCmdSavePlayers:
      ToggleOption(id, options_.savePlayers, kKeySavePlayers);
      // Switched on, the players of this game are stored at once, by the new-game dialog's
      // Start without its window.
      if (options_.savePlayers != 0) StartNewGameRoster(game_.texts.file(), state);
      break;
    case kCmdFlatButtons:
      ToggleOption(id, options_.flatButtons, kKeyFlatButtons);
      client_->update(0, 0, client_->width(), kButtonRowHeight);
      for (CommandButton* button : std::as_const(buttons_)) button->update();
      break;
    case kCmdSendMessage:
      network_->SendMessage();
      break;
    case kCmdAuction:
      ToggleOption(id, rules.auctionOn, kKeyAuction);
      break;
    case kCmdFirstLap:
      ToggleOption(id, rules.firstLapRule, kKeyFirstLap);
      break;
    case kCmdGameLog:
      ShowGameLog(logPane_->isHidden());
      break;
    case kCmdStatistics:
      ShowStatistics();
      break;
    default:
      break;
  }
}

void MainWindow::SetStretch(bool on) {
  stretchBoard_ = on;
  SetChecked(kCmdStretch, on);
  boardView_->SetStretched(on);
  client_->update();
  QMetaObject::invokeMethod(
      this, [this] { boardView_->CentreOnCurrentPlayer(); }, Qt::QueuedConnection);
}

// How much wider the window can grow on its screen, up to `wanted`.
int MainWindow::RoomToWiden(int wanted) const {
  if (isMaximized() || isFullScreen()) return 0;
  const QScreen* screen = this->screen();
  if (screen == nullptr) return 0;
  const int right = isVisible() ? frameGeometry().right() : geometry().right();
  return std::clamp(screen->availableGeometry().right() - right, 0, wanted);
}

// The game log opens beside the board: the window widens for it where the screen has room, and
// narrows again when the log closes, so that the board keeps its room.
void MainWindow::ShowGameLog(bool shown) {
  if (shown == !logPane_->isHidden()) return;
  if (shown) {
    logWidening_ =
        RoomToWiden(kLogPaneWidth + style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent));
    if (logWidening_ > 0) resize(width() + logWidening_, height());
    logPane_->show();
    resizeDocks({logPane_}, {kLogPaneWidth}, Qt::Horizontal);
  } else {
    logPane_->hide();
    if (logWidening_ > 0) resize(width() - logWidening_, height());
    logWidening_ = 0;
  }
  SetChecked(kCmdGameLog, shown);
}

// The panel's width for every player to be seen whole at the panel's height.
int MainWindow::PanelWidth() const {
  return panel_->ColumnsNeeded(panel_->viewport()->height()) * kPanelColumnWidth;
}

// A game with more players than the panel shows whole widens it: the window grows where the
// screen has room, else the board gives way.
void MainWindow::FitPanelToPlayers() {
  const int missing = PanelWidth() - panel_->width();
  if (missing <= 0) return;
  const int widen = RoomToWiden(missing);
  if (widen > 0) {
    resize(width() + widen, height());
    ClientResized(client_->size());
  }
  const int still = PanelWidth() - panel_->width();
  if (still <= 0) return;
  if (const std::optional<ChildLayout> layout = DragSplitter(childLayout(), still)) {
    ApplyLayout(*layout);
    client_->update();
  }
}

// The window as it stood when the program last ended: place, size, stretched board, game log.
void MainWindow::RestorePlace() {
  const std::optional<WindowPlace> place = ReadWindowPlace(game_.texts.file());
  if (!place) {
    if (firstStretch_) SetStretch(true);
    return;
  }
  QRect rect(place->x, place->y, place->width, place->height);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect available = screen->availableGeometry();
    rect.setSize(rect.size().boundedTo(available.size()));
    // Never off the screen: a window that was on a screen no longer there comes back.
    if (!available.intersects(rect)) rect.moveTopLeft(available.topLeft());
  }
  move(rect.topLeft());
  resize(rect.size());
  if (place->stretched) SetStretch(true);
  if (place->gameLog) ShowGameLog(true);
}

void MainWindow::SavePlace() {
  const QRect frame = normalGeometry().isValid() ? normalGeometry() : geometry();
  // The width without the log's widening: the log widens the window again when it comes back.
  const WindowPlace place{frame.x(),      frame.y(),     frame.width() - logWidening_,
                          frame.height(), stretchBoard_, !logPane_->isHidden()};
  WriteWindowPlace(game_.texts.file(), place);
}

void MainWindow::ToggleShowCompanies(bool fromProgram) {
  options_.showCompanies = options_.showCompanies != 0 ? 0 : 1;
  if (!fromProgram) {
    tomtura::WriteOption(game_.texts.file(), kKeyShowCompanies, options_.showCompanies);
  }
  SetChecked(kCmdHideCompanies, options_.showCompanies == 0);
  panel_->SetShowCompanies(options_.showCompanies != 0);
  boardView_->update();
  QMetaObject::invokeMethod(
      this, [this] { panel_->ScrollToCurrentPlayer(); }, Qt::QueuedConnection);
}

bool MainWindow::Confirm(int textNumber) {
  return ui_.Ask(QString::fromStdString(game_.Text(textNumber)), QMessageBox::Warning,
                 QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

// The game in progress ends: a throw or a walk that is cut short leaves nothing behind.
void MainWindow::StopTimers() {
  game_.StopGame();
  tumblingFrame_ = -1;
}

// Confirmed by OnCommand when a game would be lost.
void MainWindow::NewGameCommand() {
  StopTimers();
  StartNewGame();
}

// The dialog holds the game's timers while it is open, so a dialog closed without a new game
// leaves the game in progress going on as it was. A network game is left first (the player has
// agreed to that); a network game begun from the dialog has begun already.
void MainWindow::AddPlayerCommand() {
  if (network_->active()) network_->Leave();
  if (RunNewGameDialog() != NewGameChoice::Players) return;
  StopTimers();
  StartNewGame();
}

void MainWindow::StartNewGame() {
  game_.NewGame();
  boardView_->ResetScroll();
  RefreshLog();
  FitPanelToPlayers();
}

MainWindow::NewGameChoice MainWindow::RunNewGameDialog() {
  NewGameDialog dialog(
      game_, picture_, isVisible() ? this : nullptr,
      [this](QWidget* over, const QString& name) { return network_->RunSetup(over, name); });
  ui_.RunModal(dialog);
  if (dialog.networkStarted()) {
    boardView_->ResetScroll();
    RefreshLog();
    FitPanelToPlayers();
    return NewGameChoice::NetworkGame;
  }
  if (dialog.exitRequested()) {
    StopTimers();  // the game was given up when the dialog was asked for
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    return NewGameChoice::None;
  }
  // A game needs two players; a dialog closed without them has put the players back as they
  // were, and the game goes on.
  if (dialog.playersRestored()) return NewGameChoice::None;
  return game_.state.playerCount >= 2 ? NewGameChoice::Players : NewGameChoice::None;
}

void MainWindow::SaveGameCommand() {
  const QString filter = QString::fromStdString(game_.Text(kTextSavedGameFilter)) + " (*.tom)";
  const QString path = ChooseFile(true, kTextSaveGameTitle, filter);
  if (path.isEmpty()) return;
  // The chooser asked about the name as typed; the extension added to it may name a saved game
  // that would otherwise be replaced without a word.
  const QString target =
      QFile::decodeName(SavedGamePath(QFile::encodeName(path).toStdString()).c_str());
  if (target != path && QFileInfo::exists(target) &&
      ui_.Ask(
          tr("%1 already exists.\nDo you want to replace it?").arg(QFileInfo(target).fileName()),
          QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
    return;
  }
  std::string error;
  const std::string chosen = QFile::encodeName(path).toStdString();
  if (!SaveGameFile(game_.state, game_.texts, chosen, &error)) {
    ui_.ShowMessage(error, MessageIcon::Error);
    return;
  }
  game_.state.unsavedProgress = false;  // what there was to lose is in the file now
  if (!SaveHistoryFile(game_.history, game_.state, chosen)) {
    const QString stats = QFile::decodeName(HistoryPath(SavedGamePath(chosen)).c_str());
    ui_.Ask(tr("The game is saved, but its statistics cannot be written to %1.")
                .arg(QDir::toNativeSeparators(stats)),
            QMessageBox::Warning, QMessageBox::Ok);
  }
}

void MainWindow::LoadGameCommand() {
  const QString filter = QString::fromStdString(game_.Text(kTextSavedGameFilter)) + " (*.tom)";
  const QString path = ChooseFile(false, kTextOpenGameTitle, filter);
  if (path.isEmpty()) return;
  LoadGameFrom(path);
}

bool MainWindow::LoadGameFrom(const QString& path) {
  std::string error;
  const std::string file = QFile::encodeName(path).toStdString();
  const std::optional<SavedGame> saved = LoadGameFile(file, game_.texts, &error);
  if (!saved) {
    if (!error.empty()) ui_.ShowMessage(error, MessageIcon::Error);
    return false;
  }
  // A throw of the previous game must not go on in the loaded one, nor the network game the
  // player agreed to leave.
  if (network_->active()) network_->Leave();
  StopTimers();
  // Its statistics when they lie beside it and belong to it; else they begin now.
  const std::optional<GameHistory> history = LoadHistoryFile(file, *saved);
  game_.Resume(*saved, history ? &*history : nullptr);
  RedrawDice();
  RefreshLog();
  FitPanelToPlayers();
  return true;
}

// The file dialogs open in the player's documents folder, never in the program's.
QString MainWindow::ChooseFile(bool save, int titleText, const QString& filter) {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!QFileInfo(folder).isDir()) folder = QDir::homePath();
  QFileDialog dialog(isVisible() ? this : nullptr, QString::fromStdString(game_.Text(titleText)),
                     folder, filter);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (ui_.RunModal(dialog) != QDialog::Accepted) return {};
  return dialog.selectedFiles().value(0);
}

// "Load background..." asks for a picture, "Default background" takes the edition's own. A picture
// that cannot be read changes nothing; one of another size is used only when the user says so.
void MainWindow::LoadGraphics(bool ask) {
  QString path;
  if (!ask) {
    path = QDir(dataDirectory_)
               .filePath(QFile::decodeName(
                   QByteArray::fromStdString(EditionPicture(game_.texts.file()))));
  } else {
    const QString filter = QString::fromStdString(game_.Text(kTextPictureFilter)) + " (*.bmp)";
    path = ChooseFile(false, kTextPictureTitle, filter);
    if (path.isEmpty()) return;
  }
  std::optional<QImage> image = BoardPicture::LoadBitmapFile(path);
  if (!image) {
    ui_.Ask(QString::fromStdString(game_.Text(kTextPictureError)), QMessageBox::Critical,
            QMessageBox::Ok);
    return;
  }
  // A picture of another size may still be tried: the question offers Yes and No. An older
  // board file has one text for both cases, written for this question.
  const int question =
      game_.texts.HasText(kTextPictureWrongSize) ? kTextPictureWrongSize : kTextPictureError;
  const bool standard = image->size() == QSize(kSheetWidth, kSheetHeight);
  if (standard || ui_.Ask(QString::fromStdString(game_.Text(question)), QMessageBox::Warning,
                          QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes) {
    picture_.SetSheet(*image);
    // The default is stored as no choice, so that it stays the picture of whichever edition
    // is played.
    WriteBackground(game_.texts.file(), ask ? QFile::encodeName(path).toStdString() : "");
    setWindowIcon(ProgramIcon(dataDirectory_, picture_.DieFace(kDieFaces - 1)));
  }
  boardView_->MarkDirty();
  panel_->Refresh();
  panel_->viewport()->update();
  client_->update();
  for (CommandButton* button : std::as_const(buttons_)) button->update();
}

void MainWindow::ShowStatistics() {
  StatisticsWindow window(game_, picture_, ui_, this);
  ui_.RunModal(window);
}

// At the end of a game, once its turn has run out: the statistics are offered.
void MainWindow::OfferStatistics() {
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (game_.state.turnPhase != TurnPhase::GameOver) return;
        if (ui_.Ask(tr("Do you want to see how the game went?"), QMessageBox::Question,
                    QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes) {
          ShowStatistics();
        }
      },
      Qt::QueuedConnection);
}

void MainWindow::ShowAbout() {
  AboutDialog dialog(dataDirectory_, windowIcon(), this);
  ui_.RunModal(dialog);
}

// The tips or the rules of the board file.
void MainWindow::ShowTextWindow(bool rules) {
  TextWindow window(game_, &picture_, rules ? FreeTextBlock::kRules : FreeTextBlock::kTips, this);
  ui_.RunModal(window);
}

// ---- Redraws ---------------------------------------------------------------------------------

QRect MainWindow::DiceRect() const {
  return {kDie1Place, QSize(2 * kDieSize, kDieSize)};
}

QRect MainWindow::StatusRect() const {
  return {0, client_->height() - kStatusHeight, client_->width(), kStatusHeight};
}

void MainWindow::RedrawDice() {
  const GameState& state = game_.state;
  tumblingFrame_ = state.diceFrame < kTumblingFrames && state.turnPhase == TurnPhase::Rolling
                       ? state.diceFrame
                       : -1;
  client_->update(DiceRect());
}

void MainWindow::RedrawStatusLine() {
  client_->update(StatusRect());
  RefreshLog();
}

void MainWindow::RedrawPanel() {
  panel_->Refresh();
  RefreshLog();
}

void MainWindow::RedrawBoard() {
  boardView_->MarkDirty();
  RefreshLog();
}

void MainWindow::TokenStepped(int fromX, int fromY) {
  boardView_->TokenStepped(fromX, fromY);
}

// The refresh of both children: the panel's lists follow the players in the game.
void MainWindow::CentreOnCurrentPlayer() {
  boardView_->CentreOnCurrentPlayer();
  panel_->Refresh();
  panel_->ScrollToCurrentPlayer();
  client_->update(StatusRect());
  RefreshLog();
}

void MainWindow::FocusRollButton() {
  if (CommandButton* roll = buttons_.value(kCmdRoll)) roll->setFocus();
}

// In a network game the rule settings are the host's, shown but not changed here.
void MainWindow::UpdateMenus() {
  const RuleSettings& rules = game_.state.settings;
  const bool local = game_.state.networkGame == NetRole::None;
  if (QAction* item = actions_.value(kCmdAuction)) item->setEnabled(local);
  if (QAction* item = actions_.value(kCmdFirstLap)) item->setEnabled(local);
  SetChecked(kCmdAuction, rules.auctionOn != 0);
  SetChecked(kCmdFirstLap, rules.firstLapRule != 0);
}

void MainWindow::RefreshLog() {
  if (logPane_ != nullptr) logPane_->Refresh();
}

// ---- Painting and the splitter ---------------------------------------------------------------

void MainWindow::PaintClient(QPainter& painter, const QRect& dirty) {
  const QRect area = client_->rect();
  // The views of the panel and the board paint every pixel of theirs: only what lies around
  // them is filled here.
  QRegion around(dirty);
  for (const QAbstractScrollArea* child :
       {static_cast<QAbstractScrollArea*>(panel_), static_cast<QAbstractScrollArea*>(boardView_)}) {
    const QWidget* view = child->viewport();
    around -= QRect(view->mapTo(client_, QPoint(0, 0)), view->size());
  }
  const QBrush background =
      picture_.isNull() ? client_->palette().window() : picture_.BackgroundBrush();
  for (const QRect& part : around) painter.fillRect(part, background);

  if (!picture_.isNull() && dirty.intersects(DiceRect())) {
    const GameState& state = game_.state;
    if (tumblingFrame_ >= 0 && state.turnPhase == TurnPhase::Rolling) {
      painter.drawPixmap(kDie1Place, picture_.TumblingDie(tumblingFrame_));
      painter.drawPixmap(kDie2Place, picture_.TumblingDie(tumblingFrame_));
    } else {
      painter.drawPixmap(kDie1Place, picture_.DieFace(std::clamp(state.die1, 1, kDieFaces)));
      painter.drawPixmap(kDie2Place, picture_.DieFace(std::clamp(state.die2, 1, kDieFaces)));
    }
  }

  Frame3D(painter, QRect(0, 0, area.width(), kSeparatorHeight), false, false, 0);

  const int top = area.height() - kStatusHeight;
  const int boxHeight = kStatusHeight - kStatusBottomGap;
  const int panelWidth = panel_->width();
  const QRect left(kPanelLeft, top, panelWidth, boxHeight);
  const QRect right(panelWidth + 4, top, boardView_->width(), boxHeight);
  if (!dirty.intersects(left) && !dirty.intersects(right)) return;

  const GameState& state = game_.state;
  const std::string name = state.playerCount > 0 ? game_.PlayerName(state.currentPlayer) : "";
  painter.setFont(BoldFont());
  painter.setPen(Qt::black);
  for (const auto& [box, text] : {std::pair(left, game_.FormatCatalogue(kTextCurrentPlayer, name)),
                                  std::pair(right, state.statusText)}) {
    Frame3D(painter, box, false, false, 0);
    painter.save();
    painter.setClipRect(box);
    // A computer player's summary joins its parts with "&&", written for a drawing that shows
    // an ampersand written twice as one.
    painter.drawText(
        box.adjusted(kStatusTextIndent, 0, 0, 0),
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
        QString::fromStdString(text).replace(QStringLiteral("&&"), QStringLiteral("&")));
    painter.restore();
  }
}

void MainWindow::ClientResized(QSize size) {
  if (size.width() < kMinClientSize || size.height() < kMinClientSize) return;
  const int dy = lastSize_.height() - size.height();
  const ChildLayout layout = ResizeLayout(childLayout(), lastSize_, size, PanelWidth());
  lastSize_ = size;
  ApplyLayout(layout);
  const int stripTop = size.height() - kChildBottomMargin + std::min(dy, 0);
  client_->update(0, stripTop, size.width(), size.height() - stripTop);
  client_->update(StatusRect());
}

bool MainWindow::OnSplitterStrip(const QRect& child, QPoint pos) const {
  const int right = child.left() + child.width();
  return pos.x() >= right && pos.x() < right + kSplitterWidth && pos.y() >= child.top();
}

void MainWindow::ClientMouseMove(QPoint pos) {
  if (!splitterDrag_) {
    if (OnSplitterStrip(panel_->geometry(), pos)) {
      client_->setCursor(Qt::SizeHorCursor);
      overSplitter_ = true;
    } else {
      client_->unsetCursor();
    }
    return;
  }
  const int x = static_cast<std::int16_t>(pos.x());
  if (const auto next = DragSplitter(childLayout(), x - lastMouseX_)) {
    ApplyLayout(*next);
    client_->setCursor(Qt::SizeHorCursor);
    client_->update(StatusRect());
    lastMouseX_ = std::max(x, 0);
  }
}

void MainWindow::ClientMousePress(QPoint pos) {
  lastMouseX_ = pos.x();
  if (OnSplitterStrip(panel_->geometry(), pos) || OnSplitterStrip(boardView_->geometry(), pos)) {
    splitterDrag_ = overSplitter_;
    if (splitterDrag_) client_->setCursor(Qt::SizeHorCursor);
  }
}

void MainWindow::ClientMouseRelease() {
  splitterDrag_ = false;
}

// ---- Keys and closing ------------------------------------------------------------------------

// The key shortcuts work wherever the keyboard focus is in this window, after the key has gone
// to its widget, and never while a dialog or menu of ours has the keyboard.
bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
  if (QApplication::activeModalWidget() != nullptr ||
      QApplication::activePopupWidget() != nullptr) {
    return false;
  }
  auto* widget = static_cast<QWidget*>(watched);
  QWidget* target =
      QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : widget->window();
  if (widget != target) return false;  // the same key on its way up to the parents
  QWidget* owner = widget;
  while (owner != nullptr && owner != this) owner = owner->parentWidget();
  if (owner == nullptr) return false;

  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  if (const int command = ShortcutCommand(key->key())) {
    QMetaObject::invokeMethod(
        this, [this, command] { OnCommand(command); }, Qt::QueuedConnection);
  } else if (key->key() >= Qt::Key_1 && key->key() < Qt::Key_1 + kMaxPlayers) {
    const int player = key->key() - Qt::Key_1;
    QMetaObject::invokeMethod(
        this,
        [this, player] {
          const GameState& state = game_.state;
          if (player < state.playerCount && state.players[player].isBankrupt == 0) {
            panel_->FocusPlayerList(player);
          }
        },
        Qt::QueuedConnection);
  }
  return false;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  const CommandCheck check = CheckClose(game_);
  if (check.verdict == CommandCheck::Verdict::Confirm && !Confirm(check.text)) {
    event->ignore();
    return;
  }
  StopTimers();
  network_->Shutdown();
  sound_.StopMusic();
  SavePlace();
  // A question or an auction beside the window ends with the program, and the turn it belonged
  // to shows nothing more on its way out.
  if (ui_.dialogBesideOpen()) QCoreApplication::exit(0);
  event->accept();
  QMainWindow::closeEvent(event);
}

}  // namespace tomtura
