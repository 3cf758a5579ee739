// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFile>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <array>
#include <utility>

#include "data/text_ids.h"
#include "rules/game.h"
#include "sound/sound.h"
#include "store/editions.h"
#include "store/history_file.h"
#include "store/roster.h"
#include "ui/about_dialog.h"
#include "ui/balloon_tips.h"
#include "ui/board_picture.h"
#include "ui/board_view.h"
#include "ui/command_button.h"
#include "ui/edition_menu.h"
#include "ui/game_files.h"
#include "ui/loaded_parts.h"
#include "ui/log_pane.h"
#include "ui/main_client_area.h"
#include "ui/main_menu.h"
#include "ui/network_play.h"
#include "ui/new_game_dialog.h"
#include "ui/player_panel.h"
#include "ui/program_icon.h"
#include "ui/qt_front_end.h"
#include "ui/text_window.h"
#include "ui/window_layout.h"
#include "ui/window_options.h"

namespace tomtura {

namespace {

constexpr int kButtonRowHeight = 40;
constexpr int kButtonTop = 6;

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

}  // namespace

MainWindow::MainWindow(Game& game, QtFrontEnd& ui, BoardPicture& picture, SoundEffects& sound,
                       QString dataDirectory, QWidget* parent)
    : QMainWindow(parent),
      game_(game),
      ui_(ui),
      picture_(picture),
      sound_(sound),
      dataDirectory_(std::move(dataDirectory)) {
  setWindowTitle(QString::fromStdString(game_.Text(kTextBoxTitle)));
  menu_ = std::make_unique<MainMenu>(*menuBar(), *this, [this](int id) { OnCommand(id); });
  options_ = std::make_unique<WindowOptions>(game_, *menu_);
  layout_ = std::make_unique<WindowLayout>(*this, game_, *menu_);
  files_ = new GameFiles(game_, ui_, *this, dataDirectory_);
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

QAction* MainWindow::action(int id) const {
  return menu_->action(id);
}

const Options& MainWindow::options() const {
  return options_->options();
}

bool MainWindow::stretchBoard() const {
  return layout_->stretched();
}

ChildLayout MainWindow::childLayout() const {
  return layout_->children();
}

void MainWindow::SetEditions(const std::vector<Edition>& editions, const std::string& current) {
  if (menu_->optionsMenu() == nullptr) return;
  new EditionMenu(*menu_->optionsMenu(), editions, current, game_.texts.file(), *this);
}

void MainWindow::CreateChildren() {
  client_ = new MainClientArea(game_, picture_, *layout_, this);
  client_->OnFirstFrame([this] { AfterFirstFrame(); });
  setCentralWidget(client_);
  layout_->FirstSize(*client_);

  for (std::size_t i = 0; i < kButtons.size(); ++i) {
    auto* button = new CommandButton(kButtons[i].command, static_cast<int>(i), picture_,
                                     options_->flatButtons(), client_);
    button->setGeometry(kButtons[i].x, kButtonTop, CommandButton::kSize, CommandButton::kSize);
    const int id = kButtons[i].command;
    connect(button, &QAbstractButton::clicked, this, [this, id] { OnCommand(id); });
    buttons_.insert(id, button);
  }

  panel_ = new PlayerPanel(game_, picture_, client_);
  panel_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  boardView_ = new BoardView(game_, picture_, client_);
  boardView_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);

  client_->setFocusProxy(buttons_.value(kCmdRoll));

  logPane_ = new LogPane(game_, tr("Game log"), this);
  addDockWidget(Qt::RightDockWidgetArea, logPane_);
  logPane_->hide();
  connect(logPane_, &QDockWidget::visibilityChanged, this,
          [this](bool) { menu_->SetChecked(kCmdGameLog, !logPane_->isHidden()); });
  layout_->Attach(*client_, *panel_, *boardView_, *logPane_);
}

// The options as stored; "VisaL" is applied through its own command, which lays the panel
// out and stores nothing.
void MainWindow::LoadOptions() {
  options_->Load();
  OnCommand(kCmdHideCompanies, true);
  UpdateMenus();
}

// The icon (seven sizes, for the task bar) and the sound (its device, the effects and the
// first piece, on a thread of their own) are not needed for the window's first frame. With
// sound and music off the sound is set up only when one of them is switched on.
void MainWindow::AfterFirstFrame() {
  setWindowIcon(ProgramIcon(
      dataDirectory_, picture_.isNull() ? QPixmap() : picture_.DieFace(sheet::kDieFaces - 1)));
  const RuleSettings& rules = game_.state.settings;
  if (rules.soundOn != 0 || rules.musicOn != 0) {
    sound_.OpenInBackground(rules.musicOn != 0);
  } else {
    sound_.StopHolding();
  }
}

void MainWindow::ApplyOption(int id) {
  switch (id) {
    case kCmdMusic:
      if (game_.state.settings.musicOn != 0) {
        sound_.PlayNextMusic();
      } else {
        sound_.StopMusic();
      }
      break;
    case kCmdSavePlayers:
      // Switched on, the players of this game are stored at once, by the new-game dialog's
      // Start without its window.
      if (options_->options().savePlayers != 0) StartNewGameRoster(game_.texts.file(), game_.state);
      break;
    case kCmdFlatButtons:
      client_->update(0, 0, client_->width(), kButtonRowHeight);
      for (CommandButton* button : std::as_const(buttons_)) button->update();
      break;
    case kCmdFirstLap:
      // Each game keeps the rule it began with, in its saved file too: a change waits for the
      // next game, and the player is told so.
      if (game_.state.playerCount >= 2 && game_.state.turnPhase != TurnPhase::GameOver) {
        ui_.Ask(tr("The first-lap rule changes from the next game; this game keeps the rule it "
                   "began with."),
                QMessageBox::Information, QMessageBox::Ok);
      }
      break;
    case kCmdHideCompanies:
      panel_->SetShowCompanies(options_->options().showCompanies != 0);
      layout_->Relayout();  // sections of another height need other columns
      boardView_->update();
      QMetaObject::invokeMethod(
          this, [this] { panel_->ScrollToCurrentPlayer(); }, Qt::QueuedConnection);
      break;
    default:
      break;
  }
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
  if (check.page >= 0) {
    game_.referee.RunPlayWindow(check.page);
    return;
  }
  if (options_->Toggle(check.command, !fromProgram)) {
    ApplyOption(check.command);
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
      files_->Save();
      break;
    case kCmdLoadGame:
      LoadGameCommand();
      break;
    case kCmdStretch:
      layout_->SetStretch(!layout_->stretched());
      break;
    case kCmdHelp:
    case kCmdRules:
      ShowTextWindow(id == kCmdRules);
      break;
    case kCmdDefaultBackground:
    case kCmdLoadBackground:
      ChangeBackground(id == kCmdLoadBackground);
      break;
    case kCmdSendMessage:
      network_->SendMessage();
      break;
    case kCmdGameLog:
      layout_->ShowGameLog(logPane_->isHidden());
      break;
    case kCmdStatistics:
      ShowStatistics();
      break;
    default:
      break;
  }
}

bool MainWindow::Confirm(int textNumber) {
  return ui_.Ask(QString::fromStdString(game_.Text(textNumber)), QMessageBox::Warning,
                 QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

// The game in progress ends: a throw or a walk that is cut short leaves nothing behind.
void MainWindow::StopTimers() {
  game_.StopGame();
  client_->StopTumbling();
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
      [this](QWidget* over, const QString& name) { return network_->RunSetup(over, name); },
      [this](QWidget*) {
        const QString path = files_->ChooseSavedGame();
        return !path.isEmpty() && LoadGameFrom(path);
      });
  ui_.RunModal(dialog);
  if (dialog.gameOpened()) return NewGameChoice::Opened;
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

void MainWindow::LoadGameCommand() {
  const QString path = files_->ChooseSavedGame();
  if (path.isEmpty()) return;
  LoadGameFrom(path);
}

bool MainWindow::LoadGameFrom(const QString& path) {
  const std::optional<SavedGame> saved = files_->Read(path);
  if (!saved) return false;
  // A throw of the previous game must not go on in the loaded one, nor the network game the
  // player agreed to leave.
  if (network_->active()) network_->Leave();
  StopTimers();
  // Its statistics when they lie beside it and belong to it; else they begin now.
  const std::optional<GameHistory> history =
      LoadHistoryFile(QFile::encodeName(path).toStdString(), *saved);
  game_.Resume(*saved, history ? &*history : nullptr);
  RedrawDice();
  RefreshLog();
  FitPanelToPlayers();
  return true;
}

void MainWindow::ChangeBackground(bool ask) {
  const GameFiles::Background change = files_->ChangeBackground(ask, picture_);
  if (change == GameFiles::Background::Unchanged) return;
  if (change == GameFiles::Background::Changed) {
    setWindowIcon(ProgramIcon(dataDirectory_, picture_.DieFace(sheet::kDieFaces - 1)));
  }
  boardView_->MarkDirty();
  panel_->Refresh();
  panel_->viewport()->update();
  client_->update();
  for (CommandButton* button : std::as_const(buttons_)) button->update();
}

void MainWindow::ShowStatistics() {
  const StatisticsPart* statistics = Statistics();
  if (statistics == nullptr) {
    ui_.Ask(tr("The statistics window cannot be loaded:\n%1").arg(LoadError()),
            QMessageBox::Critical, QMessageBox::Ok);
    return;
  }
  statistics->show(game_, picture_, ui_, this);
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
  const QString manual = QFile::decodeName(EditionManual(game_.texts.file()).c_str());
  AboutDialog dialog(dataDirectory_, manual, windowIcon(), this);
  ui_.RunModal(dialog);
}

// The tips or the rules of the board file.
void MainWindow::ShowTextWindow(bool rules) {
  TextWindow window(game_, &picture_, rules ? FreeTextBlock::kRules : FreeTextBlock::kTips, this);
  ui_.RunModal(window);
}

void MainWindow::FitPanelToPlayers() {
  layout_->FitPanelToPlayers();
}

void MainWindow::RestorePlace() {
  layout_->RestorePlace();
}

// ---- Redraws ---------------------------------------------------------------------------------

void MainWindow::RedrawDice() {
  client_->RedrawDice();
}

void MainWindow::RedrawStatusLine() {
  client_->RedrawStatusLine();
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
  client_->RedrawStatusLine();
  RefreshLog();
}

void MainWindow::FocusRollButton() {
  if (CommandButton* roll = buttons_.value(kCmdRoll)) roll->setFocus();
}

void MainWindow::UpdateMenus() {
  options_->ShowRuleSettings();
}

void MainWindow::RefreshLog() {
  if (logPane_ != nullptr) logPane_->Refresh();
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

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  layout_->WindowResized();
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
  layout_->SavePlace();
  // A question or an auction beside the window ends with the program, and the turn it belonged
  // to shows nothing more on its way out.
  if (ui_.dialogBesideOpen()) QCoreApplication::exit(0);
  event->accept();
  QMainWindow::closeEvent(event);
}

}  // namespace tomtura
